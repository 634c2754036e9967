#include "resources/map_files.h"

#include <algorithm>
#include <cmath>

#include "core/config.h"
#include "core/errors.h"
#include "core/numeric.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/cell_content.h"
#include "resources/progress_bars.h"

namespace tessera {

namespace {

constexpr int32_t HEADER_LINES = 5;
const std::string MAP_EXTENSION = ".ai42";
const std::string ALPHA_EXTENSION = ".red";

void update_visible_window() {
  visible_columns = std::ceil(screen_width / cell_width);
  visible_rows = std::ceil(screen_height / cell_height);
}

// The records run column by column with the file's own height. Rows below the matrix are read
// and dropped so the file stays in step; columns past the matrix are not read at all.
struct CellCursor {
  int32_t height;
  int32_t last_column;
  int32_t x = 0;
  int32_t y = 0;

  CellCursor(int32_t width, int32_t file_height)
      : height(std::max(file_height, 0)), last_column(std::min(std::max(width, 0), world_matrix.columns - 1)) {}
  bool done() const { return x > last_column; }
  void advance() {
    y += 1;
    if (y > height) {
      x += 1;
      y = 0;
    }
  }
};

std::string alpha_file_name(const std::string& map_path) {
  const bool has_extension = map_path.size() >= MAP_EXTENSION.size() &&
                             map_path.compare(map_path.size() - MAP_EXTENSION.size(), MAP_EXTENSION.size(),
                                              MAP_EXTENSION) == 0;
  const std::string base = has_extension ? map_path.substr(0, map_path.size() - MAP_EXTENSION.size()) : map_path;
  return base + ALPHA_EXTENSION;
}

}  // namespace

void load_map(const std::string& path) {
  forget_cell_contents();
  const int32_t file = file_open_read(-1, path);
  if (file == 0) {
    report_error(ERROR_MAP_FILE);
    return;
  }
  file_read_line(file);
  const int32_t width = std::max(parse_leading_int(file_read_line(file)), 0);
  const int32_t height = std::max(parse_leading_int(file_read_line(file)), 0);
  file_read_line(file);
  file_read_line(file);
  level_width = std::min(width, world_matrix.columns - 1);
  level_height = std::min(height, world_matrix.rows - 1);
  read_map_cells(file, width, height);
  file_close(file);

  // Without an alpha file the cells keep the alphas of their content files.
  const int32_t alpha_file = file_open_read(-1, alpha_file_name(path));
  if (alpha_file == 0) return;
  read_map_alpha(alpha_file, width, height);
  file_close(alpha_file);
}

void read_map_cells(int32_t file, int32_t width, int32_t height) {
  CellCursor cursor(width, height);
  while (file_eof(file) == 0 && !cursor.done()) {
    std::string kind = file_read_line(file);
    kind += file_read_line(file);
    kind += file_read_line(file);
    if (cell_inside(cursor.x, cursor.y)) {
      WorldCell& cell = world_cell(cursor.x, cursor.y);
      cell.tile_kind = kind;
      cell.in_level = 1;
      if (USESPRITE3D == 1) retile_cell(cursor.x, cursor.y, kind);
    }
    cursor.advance();
    map_read_progress();
  }
  update_visible_window();
}

void read_map_alpha(int32_t file, int32_t width, int32_t height) {
  for (int32_t i = 0; i < HEADER_LINES; ++i) file_read_line(file);
  CellCursor cursor(width, height);
  while (file_eof(file) == 0 && !cursor.done()) {
    const int32_t alpha = parse_leading_int(file_read_line(file));
    if (cell_inside(cursor.x, cursor.y)) world_cell(cursor.x, cursor.y).alpha = alpha;
    cursor.advance();
  }
  update_visible_window();
}

}  // namespace tessera

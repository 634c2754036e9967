#include "resources/map_files.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "core/config.h"
#include "core/diagnostics.h"
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

namespace {

constexpr int32_t ALPHA_MAX = 255;

// Every line of a text file as the file layer reads it; false when it cannot be opened.
bool read_lines(const std::string& path, std::vector<std::string>& lines) {
  const int32_t file = file_open_read(-1, path);
  if (file == 0) return false;
  while (file_eof(file) == 0) lines.push_back(file_read_line(file));
  file_close(file);
  return true;
}

// Lines 2 and 3 of the header: the highest column and row index. False when unusable.
bool header_extent(const std::string& path, const std::vector<std::string>& lines, int64_t& columns, int64_t& rows) {
  if (lines.size() < static_cast<size_t>(HEADER_LINES)) {
    diagnostic_error(path, static_cast<int32_t>(lines.size()), "the five header lines end early: the map has no cells");
    return false;
  }
  const char* names[] = {"the highest column index", "the highest row index"};
  int64_t extent[2] = {0, 0};
  for (int32_t i = 0; i < 2; ++i) {
    const NumberReading reading = read_leading_int(lines[static_cast<size_t>(i) + 1]);
    if (!reading.has_number || reading.value < 0 || reading.wrapped) {
      diagnostic_error(path, i + 2,
                       quoted(lines[static_cast<size_t>(i) + 1]) + " is not " + names[i] + ": the game reads " +
                           decimal(std::max(reading.value, 0)));
    } else if (reading.value >= START_MATRIX_SIZE) {
      diagnostic_warning(path, i + 2, decimal(reading.value) + " is above " + decimal(START_MATRIX_SIZE - 1) +
                                          ": cells beyond that index are read and dropped");
    }
    extent[i] = static_cast<int64_t>(std::max(reading.value, 0)) + 1;
  }
  columns = extent[0];
  rows = extent[1];
  return true;
}

// Compares the records after the header with the header's count (one record of `per_record` lines a cell).
void check_record_count(const std::string& path, size_t lines, int32_t per_record, int64_t cells) {
  const int64_t body = static_cast<int64_t>(lines) - HEADER_LINES;
  const int64_t records = body / per_record;
  if (records < cells) {
    diagnostic_error(path, static_cast<int32_t>(lines),
                     "ends after " + std::to_string(records) + " of the " + std::to_string(cells) +
                         " cells the header announces: the rest keep what they had");
  } else if (records > cells || body % per_record != 0) {
    diagnostic_warning(path, static_cast<int32_t>(HEADER_LINES + cells * per_record + 1),
                       "the header announces " + std::to_string(cells) + " cells: the lines from here on are ignored");
  }
}

void check_colour_codes(const std::string& path, const std::vector<std::string>& lines, int64_t cells) {
  std::set<std::string> met;
  for (int64_t cell = 0; cell < cells; ++cell) {
    const size_t first = HEADER_LINES + static_cast<size_t>(cell) * 3;
    if (first + 2 >= lines.size()) break;
    const std::string kind = lines[first] + lines[first + 1] + lines[first + 2];
    if (!met.insert(kind).second) continue;
    check_tile_kind(kind, path, static_cast<int32_t>(first) + 1, Severity::error, "such cells keep what they had");
  }
}

void check_alpha_file(const std::string& path, int64_t cells) {
  std::vector<std::string> lines;
  if (!read_lines(path, lines)) return;  // without it the content files' alphas stay
  if (lines.size() < static_cast<size_t>(HEADER_LINES)) {
    diagnostic_error(path, static_cast<int32_t>(lines.size()), "the five header lines end early: no alpha is read");
    return;
  }
  check_record_count(path, lines.size(), 1, cells);
  const size_t end = std::min(lines.size(), static_cast<size_t>(HEADER_LINES + cells));
  int32_t bad = 0;
  size_t first_bad = 0;
  for (size_t i = HEADER_LINES; i < end; ++i) {
    const NumberReading reading = read_leading_int(lines[i]);
    if (reading.has_number && reading.ignored.empty() && reading.value >= 0 && reading.value <= ALPHA_MAX) continue;
    if (bad++ == 0) first_bad = i;
  }
  if (bad == 0) return;
  diagnostic_warning(path, static_cast<int32_t>(first_bad) + 1,
                     quoted(lines[first_bad]) + " is not an alpha from 0 to 255" +
                         (bad > 1 ? " (nor are " + decimal(bad - 1) + " more lines)" : std::string()) +
                         ": the game reads " + decimal(parse_leading_int(lines[first_bad])));
}

}  // namespace

void check_map_files() {
  const std::string path = APPENTRY + APPSTART + MAP_EXTENSION;
  std::string found;
  int32_t type = 0;
  const bool map_mode = USESELFCREATEBASE != 1;
  if (path_examine(path, found, type) == PATH_MISSING && !map_mode) return;
  if (!check_configured_path("APPENTRY", path, ENTRY_FILE, Severity::error,
                             "map mode ends at once (\" Could not open topographic data\")")) {
    return;
  }
  std::vector<std::string> lines;
  read_lines(path, lines);
  int64_t columns = 0;
  int64_t rows = 0;
  if (!header_extent(path, lines, columns, rows)) return;
  const int64_t cells = columns * rows;
  check_record_count(path, lines.size(), 3, cells);
  check_colour_codes(path, lines, cells);
  check_alpha_file(alpha_file_name(path), cells);
}

}  // namespace tessera

// A map file and its alpha file, loaded into the start-up matrix as map mode loads them. The
// fuzzer's bytes up to the first NUL byte are the map (".ai42"); the bytes after it, when there is
// one, are the alpha file (".red"); without a NUL there is no alpha file.
//
// Capped, because every cell the map fills reads its content and makes its sprites (a few
// microseconds each): inputs that would fill more than CELL_CAP cells (those the header announces,
// as far as the records go) are refused. Headers of any size stay in, with few records. The
// bad-data tests load the whole default map.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/numeric.h"
#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/cell_content.h"
#include "resources/map_files.h"

namespace {

constexpr int64_t CELL_CAP = 32;

// Read as the map reader reads it: five header lines, then three lines a cell.
bool within_cap(const std::string& path) {
  using namespace tessera;
  const int32_t file = file_open_read(-1, path);
  file_read_line(file);
  const int64_t width = std::max(parse_leading_int(file_read_line(file)), 0);
  const int64_t height = std::max(parse_leading_int(file_read_line(file)), 0);
  file_read_line(file);
  file_read_line(file);
  const int64_t announced = (width + 1) * (height + 1);
  int64_t lines = 0;
  while (file_eof(file) == 0 && lines <= 3 * CELL_CAP) {
    file_read_line(file);
    ++lines;
  }
  file_close(file);
  return std::min(announced, (lines + 2) / 3) <= CELL_CAP;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  const auto* split = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t map_size = split == nullptr ? size : static_cast<size_t>(split - data);
  const std::string map = fuzzdata::write_data_file("DATA/LEVELS/FUZZ.ai42", data, map_size);
  if (!within_cap(map)) return -1;
  if (split != nullptr) {
    fuzzdata::write_data_file("DATA/LEVELS/FUZZ.red", split + 1, size - map_size - 1);
  } else {
    ::unlink(fuzzdata::data_path("DATA/LEVELS/FUZZ.red").c_str());
  }
  reset_world();
  world_matrix_create(START_MATRIX_SIZE, START_MATRIX_SIZE);
  load_map("DATA\\LEVELS\\FUZZ.ai42");
  return 0;
}

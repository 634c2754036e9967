// A map file and its alpha file, loaded into the start-up matrix as map mode loads them. The
// fuzzer's bytes up to the first NUL byte are the map (".ai42"); the bytes after it, when there is
// one, are the alpha file (".red"); without a NUL there is no alpha file.
#include <unistd.h>

#include <cstring>

#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "resources/cell_content.h"
#include "resources/map_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  const auto* split = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t map_size = split == nullptr ? size : static_cast<size_t>(split - data);
  fuzzdata::write_data_file("DATA/LEVELS/FUZZ.ai42", data, map_size);
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

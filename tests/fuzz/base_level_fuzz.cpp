// The base level file (SELFCREATEBASE): the first level is built from it, then the next level from
// the size it stored, as play goes on.
#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "world/level_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  fuzzdata::write_data_file("DATA/LEVELS/fuzz_base.txt", data, size);
  map_number = 1;
  build_first_level("DATA\\LEVELS\\fuzz_base.txt");
  map_number = 2;
  build_level();
  return 0;
}

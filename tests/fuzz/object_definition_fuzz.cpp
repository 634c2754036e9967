// An object definition file: the fuzzer's bytes are gem.dll beside the default object images.
// The table is loaded as start-up loads it, then a cell names the type and foes are placed, so
// every value the file gave is used the way a level uses it.
#include <string>

#include "core/config.h"
#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  fuzzdata::write_data_file("DATA/GFX/OBJECTS/gem.dll", data, size);
  clear_foes();
  reset_world();
  load_object_types();

  std::string cell = "USEENEMY\r\n1\r\n";
  for (int32_t t = 0; t < object_types.size() && t < CHILD_SLOTS; ++t) {
    cell += "CHILD" + std::to_string(t + 1) + "\r\n" + object_types.at(t).DGFXNAME.str() + "\r\n";
  }
  fuzzdata::write_data_file("DATA/LEVELS/DEFAULT/FUZZ_OBJECTS", cell);
  for (int32_t x = 1; x <= 3; ++x) {
    for (int32_t y = 1; y <= 3; ++y) retile_cell(x, y, "FUZZ_OBJECTS");
  }
  populate_foes(4, 4);
  return 0;
}

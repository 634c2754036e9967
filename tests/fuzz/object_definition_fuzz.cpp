// An object definition file: the fuzzer's bytes are the definition of the gem type of the default
// data set, read into a fresh record as the type table loads it. Then cells name every type and
// foes are placed, so every value the file gave is used the way a level uses it. The table's
// images are loaded once; only the gem's record is read again.
#include <cstdlib>
#include <string>

#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "resources/cell_content.h"
#include "resources/object_types.h"

namespace {

int32_t gem_type() {
  for (int32_t t = 0; t < tessera::object_types.size(); ++t) {
    if (tessera::object_types.at(t).file_name == "gem.png") return t;
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  static const int32_t gem = gem_type();
  ObjectType& type = object_types.at(gem);
  ObjectType fresh;
  fresh.path = type.path;
  fresh.file_name = type.file_name;
  fresh.type_sprite = type.type_sprite;
  type = fresh;
  read_object_definition(gem, fuzzdata::write_data_file("DATA/fuzz_definition", data, size));

  clear_foes();
  reset_world();
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

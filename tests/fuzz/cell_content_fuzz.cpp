// A cell content file: the fuzzer's bytes are the content file of a tile kind of the default data
// set. Cells take the kind fresh, after another kind (child slots it leaves behind), and again
// (the file is read once a level), and foes are placed where it allows them.
#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "resources/catalogs.h"
#include "resources/cell_content.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  fuzzdata::write_data_file("DATA/LEVELS/DEFAULT/FUZZ", data, size);
  clear_foes();
  reset_world();
  retile_cell(1, 1, "FUZZ");
  retile_cell(2, 1, "LAB_FLOOR");
  retile_cell(2, 1, "FUZZ");
  retile_cell(1, 2, "FUZZ");
  retile_cell(1, 1, "LAB_WATER");
  retile_cell(1, 1, "FUZZ");
  load_cell_content(2, 2, cell_content_path("FUZZ"));
  spawn_cell_objects(2, 2);
  populate_foes(3, 3);
  tile_graphic_quad(world_cell(1, 1).tile_graphic);  // as drawing resolves the graphic
  return 0;
}

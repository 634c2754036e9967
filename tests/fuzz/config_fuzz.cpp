// The configuration (DATA\ini.txt), read over the defaults as start-up reads it.
#include "core/config.h"
#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "presentation/font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzdata::InDataSet in_data_set;
  tessera::config_set_defaults();
  tessera::configuration_path = fuzzdata::write_data_file("DATA/ini.txt", data, size);
  tessera::read_configuration();
  tessera::font_zoom_set(tessera::screen_width);
  return 0;
}

// The font's character list (FONTSYSTEM): every byte of its first line loads a glyph image from
// the default font folder. The copy's glyph images are made tiny first: which names exist is what
// the list reader meets, and decoding the full-size glyphs would only slow the fuzzer down.
#include <filesystem>

#include "core/config.h"
#include "fuzz_data_set.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "support/test_files.h"

namespace {

void shrink_glyph_images() {
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(fuzzdata::data_path("DATA/FONT"))) {
    if (entry.path().extension() == ".png") testfiles::write_png(entry.path().string(), 3, 4, tessera::rgb(0, 0, 0));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  static const bool shrunk = (shrink_glyph_images(), true);
  (void)shrunk;
  FONTSYSTEM = fuzzdata::write_data_file("DATA/FONT/fuzz_charset.txt", data, size);
  font_init();
  return 0;
}

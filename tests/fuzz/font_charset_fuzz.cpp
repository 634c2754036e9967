// The font's character list (FONTSYSTEM): every byte of its first line loads a glyph image from
// the default font folder, whose images are made tiny before the game starts (which names exist
// is what the list reader meets; their pixels only cost time).
//
// Capped, because each character listed costs an image load or a search of the font folder:
// inputs whose first line lists more than CHARACTER_CAP different characters are refused. The
// bad-data tests load the default list of every glyph.
#include <array>
#include <string>

#include "core/config.h"
#include "fuzz_data_set.h"
#include "platform/platform.h"
#include "presentation/font.h"

namespace {

constexpr int32_t CHARACTER_CAP = 12;

// The first line as the font reads it.
bool within_cap(const std::string& path) {
  const int32_t file = tessera::file_open_read(-1, path);
  const std::string line = tessera::file_read_line(file);
  tessera::file_close(file);
  std::array<bool, tessera::GLYPH_COUNT> listed{};
  int32_t count = 0;
  for (const char c : line) {
    bool& seen = listed[static_cast<unsigned char>(c)];
    if (!seen) ++count;
    seen = true;
  }
  return count <= CHARACTER_CAP;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzdata::start([](const std::string& start_directory) { fuzzdata::shrink_images(start_directory + "DATA/FONT"); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  FONTSYSTEM = fuzzdata::write_data_file("DATA/fuzz_charset.txt", data, size);
  if (!within_cap(FONTSYSTEM)) return -1;
  font_init();
  return 0;
}

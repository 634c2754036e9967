// The base level file (SELFCREATEBASE): the first level is built from the size it gives, then the
// next level from the size it stored, as play goes on.
//
// Capped, because a build costs every cell of the level (a 255 x 255 one some 40 ms): inputs whose
// base width or height is above SIZE_CAP are refused, and MAPSIZE bounds the next level at
// SIZE_CAP too (a negative base size makes it MAPSIZE wide). The bad-data tests build the large
// and the negative sizes.
//
// Each build also reloads the object types and the player's figure and starts a music track, none
// of which depends on the file: the copy keeps only the gem (a goody, which counts into the
// level's tiles) and the crawler (a foe) among its object types, its images are made tiny, and
// its music folder is emptied.
#include <filesystem>
#include <string>

#include "core/config.h"
#include "core/numeric.h"
#include "fuzz_data_set.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "world/level_builder.h"

namespace {

constexpr int32_t SIZE_CAP = 12;

// The base size as the builder reads it: lines 2 and 3 of the file.
bool within_cap(const std::string& path) {
  using namespace tessera;
  const int32_t file = file_open_read(-1, path);
  file_read_line(file);
  const int32_t width = parse_leading_int(file_read_line(file));
  const int32_t height = parse_leading_int(file_read_line(file));
  file_close(file);
  return width <= SIZE_CAP && height <= SIZE_CAP;
}

void keep_building_essentials(const std::string& start_directory) {
  namespace fs = std::filesystem;
  const std::string objects = start_directory + "DATA/GFX/OBJECTS";
  for (const auto& entry : fs::directory_iterator(objects)) {
    const std::string type = entry.path().stem().string();
    if (type != "gem" && type != "crawler") fs::remove(entry.path());
  }
  fuzzdata::shrink_images(objects);
  fuzzdata::shrink_images(start_directory + "DATA/GFX");
  fs::remove_all(start_directory + "DATA/MUSIC");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzdata::start(keep_building_essentials);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessera;
  fuzzdata::InDataSet in_data_set;
  const std::string path = fuzzdata::write_data_file("DATA/LEVELS/fuzz_base.txt", data, size);
  if (!within_cap(path)) return -1;
  MAPSIZE = SIZE_CAP;
  map_number = 1;
  build_first_level(path);
  map_number = 2;
  build_level();
  return 0;
}

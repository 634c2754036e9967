// Writes the complete default data set under the directory given as the only argument
// (make_assets game), or the desktop icon (make_assets --icon FILE.png).
#include <cstdio>
#include <string>

#include "files.h"
#include "generators.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--icon") {
    assets::write_icon(argv[2]);
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_assets START_DIRECTORY | make_assets --icon FILE.png\n");
    return 2;
  }
  assets::output_root = argv[1];
  if (assets::output_root.back() != '/') assets::output_root += '/';
  const struct {
    const char* what;
    void (*write)();
  } steps[] = {
      {"configuration", assets::write_configuration},
      {"cell contents", assets::write_contents},
      {"object definitions", assets::write_object_definitions},
      {"levels", assets::write_levels},
      {"tiles", assets::write_tiles},
      {"objects", assets::write_objects},
      {"player", assets::write_player},
      {"floaters", assets::write_floaters},
      {"screens", assets::write_screens},
      {"font", assets::write_font},
      {"sounds", assets::write_sounds},
      {"music", assets::write_music},
  };
  for (const auto& step : steps) {
    std::printf("make_assets: %s\n", step.what);
    std::fflush(stdout);
    step.write();
  }
  return 0;
}

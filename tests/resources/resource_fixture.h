// The set-up the resource tests share: a small screen, fresh world state, and every data path of
// the configuration pointed into a temporary directory the test fills itself.
#pragma once

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform_fixture.h"

class ResourceTest : public ::testing::Test {
 protected:
  testfiles::TempDir dir;
  std::string obj;  // object images and definitions

  void SetUp() override {
    ASSERT_NE(testing_open_screen(320, 240), 0);
    world_state_set_defaults();
    declare_world_model();
    obj = WORLDGFX = dir.path + "GFX/OBJ/";
    TOPOGFX = dir.path + "GFX/TOPO/";
    EGFXPATH = dir.path + "GFX/FLOAT/";
    SCREGFXPATH = dir.path + "GFX/TITLE/";
    GFXCODEC = ".png";
    RGBCODEPATH = dir.path + "DATA/RGB/";
    APPSTART = "set";
    SOUNDFXPATH = dir.path + "SFX/";
    INGAMEMUSIC = dir.path + "MUSIC/";
    RESOLUTION = cell_width = cell_height = 30.0f;
  }
  void TearDown() override { testing_reset_platform(); }

  // The content file of a tile kind in the current data set.
  void content(const std::string& kind, const std::vector<std::string>& lines) {
    testfiles::write_lines(RGBCODEPATH + APPSTART + "/" + kind, lines);
  }
  // An object type: its image and its definition.
  void object_type(const std::string& file, int32_t w, int32_t h, const std::vector<std::string>& definition) {
    testfiles::write_png(obj + file + ".png", w, h, rgb(0, 128, 0));
    testfiles::write_lines(obj + file + ".dll", definition);
  }
  // The colour of a Sprite3D's top-left pixel drawn over blue, and the size it is drawn at.
  static int32_t drawn_colour(int32_t s3d) {
    screen_clear(rgb(0, 0, 255));
    sprite3d_draw(s3d, 0, 0, 255);
    return testing_read_pixel(1, 1);
  }
  static std::pair<int32_t, int32_t> drawn_size(int32_t s3d) {
    testing_clear_recorded_draws();
    testing_record_draws(true);
    sprite3d_draw(s3d, 0, 0, 255);
    testing_record_draws(false);
    const auto& draws = testing_recorded_draws();
    return draws.empty() ? std::pair(-1, -1) : std::pair(draws.back().width, draws.back().height);
  }
};

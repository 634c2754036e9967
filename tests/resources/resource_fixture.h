// The set-up the resource tests share: a small screen, fresh world state, and every data path of
// the configuration pointed into a temporary directory the test fills itself.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/config.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/test_files.h"

class ResourceTest : public ::testing::Test {
 protected:
  testfiles::TempDir dir;
  std::string obj;  // object images and definitions

  void SetUp() override {
    using namespace tessera;
    ASSERT_NE(testing_open_screen(320, 240), 0);
    world_state_set_defaults();
    declare_world_model();
    obj = dir.path + "GFX/OBJ/";
    WORLDGFX = obj;
    TOPOGFX = dir.path + "GFX/TOPO/";
    EGFXPATH = dir.path + "GFX/FLOAT/";
    SCREGFXPATH = dir.path + "GFX/TITLE/";
    GFXCODEC = ".png";
    RGBCODEPATH = dir.path + "DATA/RGB/";
    APPSTART = "set";
    SOUNDFXPATH = dir.path + "SFX/";
    INGAMEMUSIC = dir.path + "MUSIC/";
  }
  void TearDown() override { tessera::testing_reset_platform(); }

  // The content file of a tile kind in the "set" data set.
  void content(const std::string& kind, const std::vector<std::string>& lines) {
    testfiles::write_lines(dir.path + "DATA/RGB/set/" + kind, lines);
  }
  // An object type: its image and its definition.
  void object_type(const std::string& file, int32_t w, int32_t h, const std::vector<std::string>& definition) {
    testfiles::write_png(obj + file + ".png", w, h, tessera::rgb(0, 128, 0));
    testfiles::write_lines(obj + file + ".dll", definition);
  }
};

#include "data_set.h"

namespace assets {

const std::vector<TileKind>& tile_kinds() {
  static const std::vector<TileKind> kinds = {
      // Walls let the background glow through a little; they stop bomb rays.
      {"LAB_WALL", "wall.png", 30, 2, 0, 0, {"#", "#", "#"}},
      {"LAB_FLOOR", "floor.png", 0, 0, 1, 0, {"GEM", "BOMB", "CLOCK"}},
      {"LAB_GREEN", "green.png", 0, 0, 0, 0, {"FLOWER", "#", "CLOCK"}},
      // Water blocks the player and foes but bomb rays cross it.
      {"LAB_WATER", "water.png", 0, 1, 0, 0, {"LILY", "#", "#"}},
      {"LAB_BLUE_FLOOR", "blue.png", 0, 0, 0, 0, {"#", "#", "#"}},
      {"LAB_FIXED_FLOOR", "fixed.png", 0, 0, 0, 10, {"#", "#", "#"}},
      {"LAB_PINK_FLOOR", "pink.png", 0, 0, 0, 0, {"#", "#", "#"}},
      {"LAB_FIXED_PINK_FLOOR", "pinkfixed.png", 0, 0, 0, 0, {"#", "#", "#"}},
      // Edge kinds are named after the neighbour on the left (_E) or above (_S): a wall edge is
      // a walkable bank below the wall, a green edge is water under a grassy bank, a water edge
      // is grass with a shore line.
      {"LAB_WALL_E", "wall_e.png", 0, 0, 0, 0, {"#", "#", "#"}},
      {"LAB_WALL_S", "wall_s.png", 0, 0, 0, 0, {"#", "#", "#"}},
      {"LAB_GREEN_E", "green_e.png", 0, 1, 0, 0, {"#", "#", "#"}},
      {"LAB_GREEN_S", "green_s.png", 0, 1, 0, 0, {"#", "#", "#"}},
      {"LAB_WATER_E", "water_e.png", 0, 0, 0, 0, {"FLOWER", "#", "#"}},
      {"LAB_WATER_S", "water_s.png", 0, 0, 0, 0, {"FLOWER", "#", "#"}},
  };
  return kinds;
}

// Kinds of the hand-made map: the three colour lines of a cell joined.
const std::vector<TileKind>& map_kinds() {
  static const std::vector<TileKind> kinds = {
      {"404060", "wall.png", 30, 2, 0, 0, {"#", "#", "#"}},
      {"200190160", "floor.png", 0, 0, 0, 0, {"#", "#", "#"}},
      {"6016060", "green.png", 0, 0, 0, 0, {"FLOWER", "#", "#"}},
      {"4090200", "water.png", 0, 1, 0, 0, {"LILY", "#", "#"}},
      {"2552550", "floor.png", 0, 0, 0, 0, {"STAR", "#", "#"}},
      {"2551280", "floor.png", 0, 0, 0, 0, {"HOURGLASS", "#", "#"}},
      {"0128255", "fixed.png", 0, 0, 0, 0, {"#", "#", "#"}},
  };
  return kinds;
}

const std::vector<ObjectDef>& object_defs() {
  static const std::vector<ObjectDef> defs = [] {
    std::vector<ObjectDef> d;
    ObjectDef bomb;
    bomb.file = "bomb.png";
    bomb.name = "BOMB";  // the child name "BOMB" is what makes a pick-up a bomb
    bomb.density = 80;
    bomb.collision = 1;
    bomb.kill = 1;
    bomb.sound = "bombpickup.ogg";
    d.push_back(bomb);

    ObjectDef clock;
    clock.file = "clock.png";
    clock.name = "CLOCK";
    clock.density = 70;
    clock.collision = 1;
    clock.kill = 1;
    clock.score = 25;
    // Two units (6 s): a welcome detour, but the larger maps, which have more of them, must not
    // end up with more time per tile than the first ones.
    clock.extra_time = 2;
    clock.sound = "timepickup.ogg";
    d.push_back(clock);

    // The first maps' foe, slow and steady: small sub-steps (24 a cell) on about half the
    // frames, a cell and a quarter a second (a sixth of the player's pace) that still looks
    // like a smooth crawl, with runs of about two cells between turns, so its trail is mostly
    // lines that the player can paint over before they close into locked blocks. About one in
    // 180 floor cells brings one.
    ObjectDef crawler;
    crawler.file = "crawler.png";
    crawler.name = "NOPE";
    crawler.fit = 0;
    crawler.density = 180;
    crawler.is_enemy = 1;
    crawler.random_move = 1;
    crawler.velo = 24;
    crawler.ai_level = 1;
    crawler.dmove = 0;
    crawler.change_direction = 90;
    crawler.rotate = 0;
    d.push_back(crawler);

    ObjectDef flower;
    flower.file = "flower.png";
    flower.name = "FLOWER";
    flower.alpha = 235;
    flower.density = 4;
    d.push_back(flower);

    ObjectDef gem;
    gem.file = "gem.png";
    gem.name = "GEM";
    gem.density = 22;
    gem.collision = 1;
    gem.kill = 1;
    gem.score = 100;
    gem.goody = 1;
    gem.sound = "pickup.ogg";
    d.push_back(gem);

    // The hand-made map's own pick-ups: always there (a map has no density to spare), and the
    // hourglasses keep its clock going.
    ObjectDef hourglass;
    hourglass.file = "hourglass.png";
    hourglass.name = "HOURGLASS";
    hourglass.collision = 1;
    hourglass.kill = 1;
    hourglass.extra_time = 10;
    hourglass.sound = "timepickup.ogg";
    d.push_back(hourglass);

    ObjectDef lily;
    lily.file = "lily.png";
    lily.name = "LILY";
    lily.alpha = 230;
    lily.density = 5;
    d.push_back(lily);

    // Quick and erratic, turning as it goes: eight sub-steps a cell on about half the frames
    // (half the player's pace) and a change of mind about every cell, so it scribbles blocks
    // that lock. Rare enough (one in 500 floor cells) to be met mostly on the larger maps.
    ObjectDef spinner;
    spinner.file = "spinner.png";
    spinner.name = "NOPE";
    spinner.fit = 0;
    spinner.density = 500;
    spinner.is_enemy = 1;
    spinner.random_move = 1;
    spinner.velo = 8;
    spinner.ai_level = 1;
    spinner.dmove = 0;
    spinner.change_direction = 12;
    spinner.rotate = 3;
    d.push_back(spinner);

    ObjectDef star;
    star.file = "star.png";
    star.name = "STAR";
    star.collision = 1;
    star.kill = 1;
    star.score = 250;
    star.goody = 1;
    star.sound = "pickup.ogg";
    d.push_back(star);
    return d;
  }();
  return defs;
}

const Balance& balance() {
  static Balance b;  // not const: the balance report tries other seeds
  return b;
}

}  // namespace assets

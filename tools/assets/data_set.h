// The default data set's tables: tile kinds with their content, object types with their
// definitions, and the balance values of the configuration. The generator writes files from
// them and the balance report plays with them, so both always agree.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// Slots every content file names explicitly: a re-tiled cell keeps the child names of slots the
// new file does not mention, so each file lists all of them ("#" = empty).
inline constexpr int kChildSlots = 3;

struct TileKind {
  std::string kind;       // LAB_... or a colour code of the hand-made map
  std::string gfx;        // tile graphic file name
  int32_t transparency;   // 0 = opaque; 255 would hide the cell
  int32_t collision;      // 0 walkable, 1 blocks walking, 2 also stops bomb rays
  int32_t use_enemy;      // 1: foes may start here
  int32_t value1;         // points when the cell becomes fixed floor
  std::array<std::string, kChildSlots> children;
};

struct ObjectDef {
  std::string file;       // image file name in the object directory
  std::string name;       // DGFXNAME ("NOPE" keeps cells from ever spawning it)
  int32_t alpha = 255;
  int32_t density = 0;
  int32_t fit = 1;
  int32_t collision = 0;
  std::string hotspot = "TOPLEFT";
  int32_t show = 1;
  int32_t kill = 0;
  int32_t score = 0;
  int32_t count_to_score = 1;
  std::string sound;
  int32_t is_enemy = 0;
  int32_t random_move = 0;
  int32_t velo = 0;       // DVELOX and DVELOY
  int32_t ai_level = 0;
  int32_t dmove = 0;
  int32_t change_direction = 0;
  int32_t goody = 0;
  int32_t extra_time = 0;
  int32_t rotate = 0;
};

// Values of the configuration that decide how the game plays.
struct Balance {
  int32_t resolution = 48;     // cell size in pixels; divisible by every foe speed divisor
  int32_t cursor_speed = 248;  // one step every 8 frames
  // One clock unit every 180 frames (3 s): the bot of the play test finishes the first maps with
  // about half its clock left, which leaves room for a person who looks before walking.
  int32_t world_refresh = 179;
  int32_t labswitch = 3;
  int32_t extended_topo = 0;  // 1 gives green and water their edge kinds
  int32_t mapsize = 96;
  int32_t maxfoe = 12;  // reached only on large maps (foes come with the floor)
  // A first map that fills a 1920 x 1080 screen with a few slow foes, and maps that grow from
  // there (balance_report with SCAN_SEEDS=1 lists such seeds).
  int32_t world_random = 645;
  int32_t base_width = 60;
  int32_t base_height = 36;
};

const std::vector<TileKind>& tile_kinds();
const std::vector<TileKind>& map_kinds();
const std::vector<ObjectDef>& object_defs();
const Balance& balance();

}  // namespace assets

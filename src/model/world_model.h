// The world model: the cell matrix, every shared record and list, and the game state.
// Records are plain structs; lists are referred to by position. Never keep a pointer or reference
// into a list across an add.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/cell_text.h"
#include "model/vocabulary.h"

namespace tessera {

// A vector with a current element, as the passes of the game walk their lists.
template <typename T>
struct List {
  std::vector<T> items;
  int32_t position = -1;  // -1: before the first element

  int32_t size() const { return static_cast<int32_t>(items.size()); }
  bool empty() const { return items.empty(); }
  // Makes element n current; false (and nothing current) when n is outside the list.
  bool select(int32_t n) {
    if (n < 0 || n >= size()) {
      position = -1;
      return false;
    }
    position = n;
    return true;
  }
  void reset() { position = -1; }
  bool next() {
    if (position + 1 >= size()) return false;
    ++position;
    return true;
  }
  T& add() {
    items.emplace_back();
    position = size() - 1;
    return items.back();
  }
  void clear() {
    items.clear();
    position = -1;
  }
  bool has_current() const { return position >= 0 && position < size(); }
  T& current() { return items.at(static_cast<size_t>(position)); }
  T& at(int32_t n) { return items.at(static_cast<size_t>(n)); }
};

// Actor directions and the player's motion.
constexpr int32_t MOTION_DOWN = 15;
constexpr int32_t MOTION_LEFT = 16;
constexpr int32_t MOTION_RIGHT = 17;
constexpr int32_t MOTION_UP = 18;
constexpr int32_t MOTION_IDLE = 19;

constexpr int32_t GAME_MODE_PLAY = 20;
constexpr int32_t GAME_MODE_GAME_OVER = 22;

constexpr int32_t CHILD_SLOTS = 8;

// A cell of the matrix. All-zero bytes are the empty cell (kind "", alpha 0, no level, slot
// positions 0), so a matrix can be made of fresh zero pages without writing a byte.
// Narrow fields hold every value the game writes: in_level 0..1, last_child_name 0..7 (slot
// indices), blocked -1..1, last_child -1..7; the texts are CellText references.
struct WorldCell {
  std::array<int32_t, CHILD_SLOTS> child_object{};  // instance positions, -1 = empty slot
  ChildNames child_name;
  int32_t tile_graphic = 0;   // position in tile_graphics + 1, 0 = none; drawing resolves it
  int32_t alpha = 0;          // 255 - transparency; <= 0 is neither drawn nor processed
  CellText tile_kind;
  CellText gfx_name;
  int32_t transparency = 0;
  int32_t value1 = 0;
  int8_t use_collision = 0;
  int8_t use_enemy = 0;
  int8_t in_level : 2 = 0;
  int8_t last_child_name : 4 = 0;  // last child slot named by the content file
  int8_t blocked : 2 = 0;
  int32_t last_child : 4 = 0;      // last slot spawned, -1 = none
};
static_assert(sizeof(WorldCell) <= 64, "a cell stays within one cache line");
static_assert(ChildNames::SLOTS == CHILD_SLOTS);

struct ObjectType {
  std::string path;
  std::string file_name;
  int32_t type_sprite = 0;
  int32_t quad = 0;  // Sprite3D drawing the type's objects, made when first drawn
  int32_t quad_width = 0;
  int32_t quad_height = 0;
  CellText DGFXNAME;  // the name cells give their children, so kept like theirs
  int32_t DGFXTRANSPARENCY = 0;
  int32_t DDENSITY = 0;
  int8_t DFITTOMATRIX = 0;
  int8_t DCOLLISION = 0;
  std::string DHOTSPOT;
  int32_t DXMODE1 = 0;
  int32_t DXMODE2 = 0;
  int8_t DGFXSHOW = 0;
  int8_t DCENTERFIELD = 0;
  int8_t DKILLONCOLLISION = 0;
  int32_t DSCORE = 0;
  int8_t DCOUNTTOSCORE = 0;
  std::string DCOUNTSOUND;
  int8_t DUSECOUNTSOUND = 0;
  int8_t DISPLAYER = 0;
  int8_t DISENEMY = 0;
  int32_t DRANDOMMOVE = 0;
  int32_t DMOVEX = 0;
  int32_t DMOVEY = 0;
  int32_t DVELOX = 0;
  int32_t DVELOY = 0;
  int8_t DAILEVEL = 0;
  int32_t DDMOVE = 0;
  int32_t DCHANGEDIRECTION = 0;
  int8_t DISGOODY = 0;
  int32_t DEXTRATIME = 0;
  int32_t DROTATE = 0;
};

struct ObjectInstance {
  int8_t DGFXSHOW = 0;
  int32_t DGFXTRANSPARENCY = 0;
  int32_t type = -1;  // position in object_types; drawing resolves the type's quad
  int8_t DCOLLISION = 0;
  float instance_size_x = 0.0f;
  float instance_size_y = 0.0f;
  float offset_x = 0.0f;
  float offset_y = 0.0f;
  int32_t DXMODE1 = 0;
  int32_t DXMODE2 = 0;
  int8_t DKILLONCOLLISION = 0;
  int32_t DSCORE = 0;
  int8_t DCOUNTTOSCORE = 0;
  std::string DCOUNTSOUND;
  int8_t DUSECOUNTSOUND = 0;
  int8_t DISPLAYER = 0;
  int8_t DISGOODY = 0;
  int32_t DEXTRATIME = 0;
};

struct Foe {
  int32_t x = 0;  // world pixels
  int32_t y = 0;
  float offset_x = 0.0f;
  float offset_y = 0.0f;
  float instance_size_x = 0.0f;
  float instance_size_y = 0.0f;
  int32_t DXMODE1 = 0;
  int32_t DXMODE2 = 0;
  int8_t DGFXSHOW = 0;
  int32_t DGFXTRANSPARENCY = 0;
  int32_t instance_sprite = 0;  // Sprite3D
  int8_t DCOLLISION = 0;
  int32_t DRANDOMMOVE = 0;
  int32_t DMOVEX = 0;
  int32_t DMOVEY = 0;
  int32_t DVELOX = 0;
  int32_t DVELOY = 0;
  int8_t DAILEVEL = 0;
  int32_t DDMOVE = 0;
  int32_t DCHANGEDIRECTION = 0;
  int32_t direction = 0;  // MOTION_* codes; 0 at creation
  int32_t DROTATE = 0;
  int16_t angle = 0;      // turned by DROTATE a frame, wrapping
};

struct Player {
  float x = 0.0f;  // screen pixels
  float y = 0.0f;
  int32_t player_sprite = 0;  // Sprite3D
  int32_t player_image = 0;   // sprite
  int32_t step_timer = 0;
  int32_t motion = MOTION_IDLE;
  int16_t angle = 0;  // the figure turns a degree a frame, wrapping
};

struct Floater {
  float x = 0.0f;
  float y = 0.0f;
  int32_t sprite = 0;  // Sprite3D
  float vx = 0.0f;
  float vy = 0.0f;
};

struct EdgePlacement {
  int32_t x = 0;
  int32_t y = 0;
  std::string kind;
};

struct TileGraphic {
  std::string path;
  int32_t sprite = 0;
  CellText file_name;  // the name cells give as gfx_name, so kept like theirs
  float width = 0.0f;
  float height = 0.0f;
  int32_t quad = 0;  // Sprite3D drawing it at the cell size, made when first drawn
  int32_t quad_width = 0;
  int32_t quad_height = 0;
};

struct SoundEffect {
  std::string path;
  std::string file_name;
  int32_t sound = 0;
  uint8_t loaded = 0;
};

struct MusicTrack {
  std::string path;
  std::string file_name;
  int32_t sound = 0;  // 0 until played
};

// Cells in one block of zero pages: creating a matrix writes nothing, and only the pages a level
// touches take memory. Owns its block; moves, never copies.
class CellBlock {
 public:
  CellBlock() = default;
  explicit CellBlock(size_t count);
  CellBlock(CellBlock&& other) noexcept;
  CellBlock& operator=(CellBlock&& other) noexcept;
  CellBlock(const CellBlock&) = delete;
  CellBlock& operator=(const CellBlock&) = delete;
  ~CellBlock();

  size_t size() const { return count_; }
  WorldCell& operator[](size_t n) { return cells_[n]; }
  const WorldCell& operator[](size_t n) const { return cells_[n]; }
  WorldCell* begin() { return cells_; }
  WorldCell* end() { return cells_ + count_; }

 private:
  WorldCell* cells_ = nullptr;
  size_t count_ = 0;
};

// The cell matrix, stored column by column (cell (x, y) at x * rows + y).
struct WorldMatrix {
  int32_t columns = 0;
  int32_t rows = 0;
  CellBlock cells;
};

constexpr int32_t START_MATRIX_SIZE = 513;  // indices 0..512, declared at start-up
constexpr int32_t LEVEL_MATRIX_SIZE = 257;  // indices 0..256, re-created for every level

// ---- Whole run: catalogs, sizes, devices -------------------------------------------------------
extern List<TileGraphic> tile_graphics;
extern List<SoundEffect> sound_effects;
extern List<MusicTrack> music_tracks;
extern List<Floater> world_floaters;
extern List<Floater> title_floaters;
extern List<ObjectType> object_types;  // reloaded before every level
extern Player player;
extern float screen_width;   // size of display 0 in pixels
extern float screen_height;
extern uint8_t menu_active;   // 1 while the intro and title screens run
extern std::string player_name;

// ---- Per game ----------------------------------------------------------------------------------
extern int32_t map_number;      // 1 on a new game
extern int32_t current_map;     // map last built; -1 forces a rebuild
extern int32_t score;
extern int32_t score_target;
extern int32_t level_start_score;
extern int32_t level_start_target;  // score_target when the map began
extern uint8_t player_trapped;      // 1: a walled-in player ended the game ("HARDCORE")
extern int32_t game_mode;       // GAME_MODE_PLAY or GAME_MODE_GAME_OVER
extern uint8_t quit_requested;
extern uint8_t banner_due;
extern std::string bombs;       // one BOMB_SIGN ("&") per bomb held, at most BOMBS_HELD_MAX

// ---- Per level (reset by reset_world and the level builders) -------------------------------------
extern WorldMatrix world_matrix;
extern List<ObjectInstance> object_instances;
extern List<Foe> foes;
extern List<EdgePlacement> edge_placements;
extern int32_t level_width;   // highest column index
extern int32_t level_height;  // highest row index
extern int32_t tiles_left;
extern int32_t time_left;
extern float scroll_x;        // cell index of the top-left visible cell
extern float scroll_y;
extern float visible_columns;
extern float visible_rows;
extern int32_t scan_x;
extern int32_t scan_y;
extern int32_t base_width;
extern int32_t base_height;

// Sets every global above to its start value (start of the program).
void world_state_set_defaults();
// Declares the world model at start-up, once the window is open: empty lists and a
// START_MATRIX_SIZE square matrix.
void declare_world_model();
// Replaces the matrix with an empty one of the given size (every field zero or empty).
void world_matrix_create(int32_t columns, int32_t rows);

inline bool cell_inside(int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < world_matrix.columns && y < world_matrix.rows;
}

// A fresh scratch cell for an access outside the matrix.
WorldCell& world_cell_outside();

// The one cell accessor. Safe for any (x, y): outside the matrix it returns a scratch cell that
// reads as empty (kind "", alpha 0, in_level 0, use_collision 0) and whose writes are discarded.
inline WorldCell& world_cell(int32_t x, int32_t y) {
  if (!cell_inside(x, y)) return world_cell_outside();
  return world_matrix.cells[static_cast<size_t>(x) * static_cast<size_t>(world_matrix.rows) + static_cast<size_t>(y)];
}

}  // namespace tessera

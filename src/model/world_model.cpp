#include "model/world_model.h"

#include <utility>

#include "platform/platform.h"

namespace tessera {

List<TileGraphic> tile_graphics;
List<SoundEffect> sound_effects;
List<MusicTrack> music_tracks;
List<Floater> world_floaters;
List<Floater> title_floaters;
List<ObjectType> object_types;
Player player;
float screen_width = 1.0f;
float screen_height = 1.0f;
uint8_t menu_active = 1;
std::string player_name;

int32_t map_number = 1;
int32_t current_map = 0;
int32_t score = 0;
int32_t score_target = 0;
int32_t level_start_score = 0;
int32_t level_start_target = 0;
uint8_t player_trapped = 0;
int32_t game_mode = GAME_MODE_PLAY;
uint8_t quit_requested = 0;
uint8_t banner_due = 0;
std::string bombs(1, BOMB_SIGN);

WorldMatrix world_matrix;
List<ObjectInstance> object_instances;
List<Foe> foes;
List<EdgePlacement> edge_placements;
int32_t level_width = 0;
int32_t level_height = 0;
int32_t tiles_left = 0;
int32_t time_left = 0;
float scroll_x = 0.0f;
float scroll_y = 0.0f;
float visible_columns = 0.0f;
float visible_rows = 0.0f;
int32_t scan_x = 0;
int32_t scan_y = 0;
int32_t base_width = 0;
int32_t base_height = 0;

namespace {
WorldCell scratch_cell;
}

void world_state_set_defaults() {
  tile_graphics.clear();
  sound_effects.clear();
  music_tracks.clear();
  world_floaters.clear();
  title_floaters.clear();
  object_types.clear();
  player = Player{};
  screen_width = 1.0f;
  screen_height = 1.0f;
  menu_active = 1;
  player_name.clear();
  map_number = 1;
  current_map = 0;
  score = 0;
  score_target = 0;
  level_start_score = 0;
  level_start_target = 0;
  player_trapped = 0;
  game_mode = GAME_MODE_PLAY;
  quit_requested = 0;
  banner_due = 0;
  // One bomb. Not operator=("&"): GCC 12 warns of an overlapping copy there (-Wrestrict).
  bombs.assign(1, BOMB_SIGN);
  world_matrix = WorldMatrix{};
  object_instances.clear();
  foes.clear();
  edge_placements.clear();
  level_width = 0;
  level_height = 0;
  tiles_left = 0;
  time_left = 0;
  scroll_x = 0.0f;
  scroll_y = 0.0f;
  visible_columns = 0.0f;
  visible_rows = 0.0f;
  scan_x = 0;
  scan_y = 0;
  base_width = 0;
  base_height = 0;
}

void declare_world_model() {
  world_floaters.clear();
  title_floaters.clear();
  world_matrix_create(START_MATRIX_SIZE, START_MATRIX_SIZE);
  edge_placements.clear();
  music_tracks.clear();
  foes.clear();
  sound_effects.clear();
  object_instances.clear();
  object_types.clear();
  tile_graphics.clear();
}

CellBlock::CellBlock(size_t count) {
  if (count == 0 || count > SIZE_MAX / sizeof(WorldCell)) return;
  // Fresh zero bytes are empty cells: nothing to construct.
  cells_ = static_cast<WorldCell*>(zeroed_block_alloc(count * sizeof(WorldCell)));
  if (cells_ != nullptr) count_ = count;
}

CellBlock::CellBlock(CellBlock&& other) noexcept
    : cells_(std::exchange(other.cells_, nullptr)), count_(std::exchange(other.count_, 0)) {}

CellBlock& CellBlock::operator=(CellBlock&& other) noexcept {
  if (this != &other) {
    zeroed_block_free(cells_, count_ * sizeof(WorldCell));
    cells_ = std::exchange(other.cells_, nullptr);
    count_ = std::exchange(other.count_, 0);
  }
  return *this;
}

CellBlock::~CellBlock() { zeroed_block_free(cells_, count_ * sizeof(WorldCell)); }

void world_matrix_create(int32_t columns, int32_t rows) {
  world_matrix.cells = CellBlock();  // the old block goes back before the new one is taken
  const size_t wanted_columns = columns > 0 ? static_cast<size_t>(columns) : 0;
  const size_t wanted_rows = rows > 0 ? static_cast<size_t>(rows) : 0;
  world_matrix.cells = CellBlock(wanted_columns * wanted_rows);
  // Without memory the matrix is empty: every access then reads the scratch cell.
  const bool made = world_matrix.cells.size() == wanted_columns * wanted_rows;
  world_matrix.columns = made ? static_cast<int32_t>(wanted_columns) : 0;
  world_matrix.rows = made ? static_cast<int32_t>(wanted_rows) : 0;
}

WorldCell& world_cell_outside() {
  scratch_cell = WorldCell{};
  return scratch_cell;
}

}  // namespace tessera

#include "actors/enemy_ai.h"

#include <string>

#include "core/config.h"
#include "core/numeric.h"
#include "model/vocabulary.h"
#include "model/world_model.h"
#include "platform/platform.h"
#include "resources/cell_content.h"
#include "resources/sound_control.h"

namespace tessera {

namespace {

bool chance(int32_t n) { return random_int(n) == 0; }

int32_t cell_column(float px) { return round_to_int(px / cell_width); }
int32_t cell_row(float py) { return round_to_int(py / cell_height); }

// Outside the matrix there is nothing to walk on: a foe never leaves it. Wide arguments, so a
// neighbour of a cell at the int32 limit cannot overflow.
bool free_cell(int64_t c, int64_t r) {
  if (c < 0 || r < 0 || c >= world_matrix.columns || r >= world_matrix.rows) return false;
  return world_cell(static_cast<int32_t>(c), static_cast<int32_t>(r)).use_collision == COLLISION_NONE;
}

bool is_pink_like(int32_t c, int32_t r) {
  const CellText& kind = world_cell(c, r).tile_kind;
  return kind == play_kinds().pink_floor || kind == play_kinds().fixed_pink_floor;
}

struct Heading {
  int32_t direction;
  int32_t dc;
  int32_t dr;
};

// The turn tries these in this order.
constexpr Heading HEADINGS[4] = {
    {MOTION_RIGHT, 1, 0},
    {MOTION_LEFT, -1, 0},
    {MOTION_DOWN, 0, 1},
    {MOTION_UP, 0, -1},
};

bool neighbour_free(int32_t c, int32_t r, const Heading& heading) {
  return free_cell(static_cast<int64_t>(c) + heading.dc, static_cast<int64_t>(r) + heading.dr);
}

void substep(const Heading& heading) {
  if (heading.dc != 0) {
    foe_substep_x(heading.dc);
  } else {
    foe_substep_y(heading.dr);
  }
}

// Sub-steps round on their own, so a divisor that does not divide the cell size drifts.
int32_t advanced(int32_t position, int32_t sign, float cell_size, int32_t divisor) {
  return round_to_int(static_cast<float>(position) +
                      static_cast<float>(sign) * cell_size / static_cast<float>(divisor));
}

// The four lock tests, as offsets of m1..m3 from (c, r); m0 is always (c, r) itself.
constexpr int32_t LOCK_TESTS[4][3][2] = {
    {{-1, 0}, {-1, 1}, {0, 1}},
    {{1, 0}, {1, 1}, {0, 1}},
    {{0, -1}, {1, -1}, {-1, -1}},
    {{0, 1}, {1, 1}, {-1, 1}},
};

}  // namespace

void foe_think(int8_t ai_level) {
  if (!foes.has_current()) return;
  const int32_t ddmove = foes.current().DDMOVE;
  if (ddmove <= -1 || !chance(ddmove)) return;
  if (ai_level >= AI_LEVEL_STILL_FIRST && ai_level <= AI_LEVEL_STILL_LAST) return;
  foe_wander();
}

void foe_wander() {
  if (!foes.has_current()) return;
  const Foe& foe = foes.current();
  const int32_t c = cell_column(static_cast<float>(foe.x));
  const int32_t r = cell_row(static_cast<float>(foe.y));
  if (!chance(foe.DCHANGEDIRECTION)) {
    foe_go_on();
    return;
  }
  for (const Heading& heading : HEADINGS) {
    // The chance is drawn for every try, before the neighbour is looked at.
    if (chance(foes.current().DRANDOMMOVE) && neighbour_free(c, r, heading)) {
      substep(heading);
      foes.current().direction = heading.direction;
      return;
    }
  }
}

void foe_go_on() {
  if (!foes.has_current()) return;
  const Foe& foe = foes.current();
  const int32_t c = cell_column(static_cast<float>(foe.x));
  const int32_t r = cell_row(static_cast<float>(foe.y));
  for (const Heading& heading : HEADINGS) {
    if (heading.direction != foe.direction) continue;
    if (chance(foe.DRANDOMMOVE) && neighbour_free(c, r, heading)) substep(heading);
    return;
  }
}

void foe_substep_x(int32_t sign) {
  if (!foes.has_current() || foes.current().DVELOX == 0) return;
  Foe& foe = foes.current();
  foe.x = advanced(foe.x, sign, cell_width, foe.DVELOX);
  const int32_t x = foe.x;
  const int32_t y = foe.y;
  paint_cell(x, y);
  play_sound(DEFTILESOUND, SOUND_ONCE);
}

void foe_substep_y(int32_t sign) {
  if (!foes.has_current() || foes.current().DVELOY == 0) return;
  Foe& foe = foes.current();
  foe.y = advanced(foe.y, sign, cell_height, foe.DVELOY);
  const int32_t x = foe.x;
  const int32_t y = foe.y;
  paint_cell(x, y);
  play_sound(DEFTILESOUND, SOUND_ONCE);
}

void paint_cell(int32_t px, int32_t py) {
  const int32_t c = cell_column(static_cast<float>(px));
  const int32_t r = cell_row(static_cast<float>(py));
  const CellText& kind = world_cell(c, r).tile_kind;
  const PlayKinds& kinds = play_kinds();
  if (kind == kinds.floor || kind == kinds.green || kind == kinds.blue_floor) retile_cell(c, r, KIND_PINK_FLOOR);
}

void lock_pink_cell(int32_t c, int32_t r) {
  if (c == 0) c = 1;
  if (r == 0) r = 1;
  // Only plain pink ever locks; this pass runs on every visible cell each frame.
  if (!(world_cell(c, r).tile_kind == play_kinds().pink_floor)) return;
  bool marks[4] = {false, false, false, false};
  for (const auto& test : LOCK_TESTS) {
    marks[0] = marks[0] || is_pink_like(c, r);
    for (int32_t m = 0; m < 3; ++m) marks[m + 1] = marks[m + 1] || is_pink_like(c + test[m][0], r + test[m][1]);
    if (!(marks[0] && marks[1] && marks[2] && marks[3])) continue;
    if (world_cell(c, r).tile_kind == play_kinds().pink_floor) {
      retile_cell(c, r, KIND_FIXED_PINK_FLOOR);
      play_sound(PINKTILEFIXEDSOUND, SOUND_ONCE);
    }
    return;
  }
}

}  // namespace tessera

// Player control: the device read once a pass into logical controls, paced grid steps with a
// scrolling view, bombs, and the requests that open the pause and quit dialogs.
//
// input_device lives in core/runtime.h, menu_active in world_model.h, move_delay in config.h.
// These globals live for the whole run; nothing is reset between levels.
#pragma once

#include <cstdint>

namespace tessera {

constexpr int8_t DIRECTION_UP = 6;
constexpr int8_t DIRECTION_DOWN = 7;
constexpr int8_t DIRECTION_LEFT = 8;
constexpr int8_t DIRECTION_RIGHT = 9;
constexpr int8_t DIRECTION_NONE = 16;

constexpr int32_t ACTION_FIRE = 0;
constexpr int32_t ACTION_B = 1;
constexpr int32_t ACTION_X = 4;
constexpr int32_t ACTION_Y = 5;
// The pad's shoulder and trigger buttons (5 to 8); no screen gives them a meaning of its own.
constexpr int32_t ACTION_LEFT_TRIGGER = 10;
constexpr int32_t ACTION_RIGHT_TRIGGER = 11;
constexpr int32_t ACTION_LEFT_SHOULDER = 12;
constexpr int32_t ACTION_RIGHT_SHOULDER = 13;
constexpr int32_t ACTION_PAUSE = 14;
constexpr int32_t ACTION_QUIT = 15;
constexpr int32_t ACTION_NONE = 16;

constexpr uint8_t FIRE_READY = 17;  // the fire action was seen absent since the last bomb
constexpr uint8_t FIRE_SPENT = 16;

// The logical controls of one pass, whatever device gave them: every screen reads only these.
// The keys and pad buttons that give each control are the player's bindings (core/player_settings.h).
struct Controls {
  int8_t direction = DIRECTION_NONE;
  int32_t action = ACTION_NONE;
  bool fire_held = false;     // the fire control is down (a pad's fire button, or the fire action)
  bool previous_map = false;  // the map keys, on their release
  bool next_map = false;
  bool away = false;          // the first snapshot after the window lost its focus or was minimised
  bool start = false;         // the title's start control is down
  bool settings = false;      // the title's settings control is down
  int32_t pressed_key = 0;    // the lowest key code that went down since the last snapshot; 0: none
  int32_t pressed_button = 0; // the same for a pad button (1..JOYSTICK_BUTTONS), with a pad selected
};

extern int8_t pressed_direction;  // this frame's direction; 0 at program start
extern int32_t action_code;       // this frame's action; -1 at program start
extern uint8_t fire_latch;        // FIRE_READY or FIRE_SPENT; 1 at program start
extern uint8_t bomb_armed;        // 1: the next fire action detonates a bomb
// The player's step: a unit vector, then pixels. Wide enough for any cell size.
extern int32_t step_dx;
extern int32_t step_dy;

// Sets the globals above to their program-start values.
void player_input_set_defaults();

// Samples the selected device once through the player's bindings: the pass's one keyboard or pad
// snapshot. The keyboard's pressed_key is read with either device. A switch of fullscreen or of
// mute since the last snapshot (F11, Alt+Enter, M: the platform answers those itself) is written
// to the player's settings here; it never shows in the controls.
Controls read_controls();
// Play's input: the map keys, the buttons, and at most one paced step (every move_delay + 1
// frames). A pause or quit action leaves its code in dialog_request for the frame loop.
void read_play_input(const Controls& controls);
// Fills action_code, keeps fire_latch, and dispatches.
void read_buttons(const Controls& controls);
// Arms the bomb when the fire latch is ready; then pause, quit or fire.
void dispatch_action(int32_t action);

// ACTION_PAUSE or ACTION_QUIT when play asked for that dialog this frame, else ACTION_NONE.
extern int32_t dialog_request;
// aim_step, then apply_step unless the step was blocked, then end_step.
void player_step(int32_t direction);
// Unit step for the direction, cancelled when the target cell's use_collision is not 0 (or the
// target lies outside the matrix); sets the motion state.
void aim_step(int32_t direction);
// motion from the step (dy decides last) and the step sound when the player moves.
void set_motion_state(int32_t dx, int32_t dy);
// Moves the figure by one cell, or scrolls the view by one cell when the figure would pass the
// screen centre (and the view can still scroll within the matrix).
void apply_step();
void end_step();
// With a bomb held: the blast, then one "&" fewer.
void use_bomb();
// Four rays from the player's cell (right, left, down, up) unfix fixed floor until a cell with
// use_collision 2 or the level's last column or row (or column and row 0); the up ray sounds.
void detonate_bomb();

}  // namespace tessera

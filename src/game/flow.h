// The game's flow: start-up and the one frame loop that runs every screen.
//
// Each pass of the loop takes window messages once, takes one input snapshot, steps the current
// screen once, draws it once and presents once. A screen changes only when its step completes, so
// a pass abandoned after a processor fault leaves the previous screen whole; a screen that has no
// frame of its own in a pass (loading, a level build that finishes) hands over to the next screen's
// step within the same pass.
#pragma once

#include <cstdint>

#include "actors/player_input.h"
#include "game/replay.h"

namespace tessera {

enum class Screen : uint8_t { loading, intro, title, build, banner, play, pause, quit, game_over, end, settings };

// The screen the next pass steps. Whole run; loading at start.
extern Screen screen;

// What start-up loads after the world model is declared: tile graphics, object types, sounds, music,
// floaters and the font.
void load_resources();
// The screens' own state back to the start of a run (loading; map 1 is the start-up map).
void frame_loop_reset();
// Play from the level that stands, for tests and tools that made it themselves: the screen becomes
// play, and a map that falls due is rebuilt as in any game.
void start_play();
// One pass without its window messages and presenting: steps the current screen with the controls
// and, with draw, draws it. A build runs to its end within the pass unless pacing_builds is on
// (the real loop), when it yields between parts after a frame's worth of time.
void loop_pass(const Controls& controls, bool draw);
// Processes pending window messages with a time-out of MULTITASK milliseconds (0 when negative,
// at most MULTITASK_LIMIT_MS): once a pass on the title, in play and over the sweeps.
void process_window_events();
// The per-frame mouse snapshot of play (its values are not used).
void examine_mouse_step();
// One pass as the program's loop runs it, but for presenting: window messages, one input snapshot,
// the step and the draw.
void run_pass();
// At the recovery point, after a division by zero abandoned a pass: asks whether to go on (No ends
// the program) and has a build that was under way begin again; the screen stays what it was before
// the pass.
void recover_from_fault();
// After the game-over sequence, or a player walled in: the title screen again (a new game starts
// at map 1 with a fresh score), or the end when quit_requested is set.
void after_game_over();
// Start-up, then the frame loop; never returns. A window size of 0 x 0 opens the borderless window
// as large as display 0; any other size opens a normal, movable window of that size, and every
// layout value follows it as it would follow the display.
// The real game records every game and keeps the score table of the data set.
[[noreturn]] void run_game(int32_t window_width = 0, int32_t window_height = 0);
// From now on every game is recorded into directory + "replays/" and entered in the score table
// there; an empty directory keeps nothing (said on stderr).
void keep_games(const std::string& directory);
// The game with a replay's passes for controls, in a window of the recorded layout, until Escape
// (or a take-over, after which the player plays on and the game is recorded).
[[noreturn]] void watch_replay(const Replay& replay, const std::string& file_name);
// Start-up and loading without a window to see, sound or pacing, for checking replays: the layout
// is width x height.
void start_headless(int32_t width, int32_t height);
// One pass of a replayed game; the first is the title's last pass, from the recorded start.
void replay_pass(const ReplayStart& start, const Controls& controls, bool first);
// False when the last pass only went on with a build and was not one of the game's passes.
bool pass_counted();
// From the title's start of a game to its end (game over, quit, a closed window).
bool game_in_progress();

}  // namespace tessera

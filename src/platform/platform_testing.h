// Test-only hooks of the platform: injected input, no pacing or real delays, read-back of the
// back buffer and a record of what was drawn. Game code never includes this header.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tessera {

// Opens a screen of the given size for a test (screen_init, window_open, screen_open_windowed
// under the SDL driver already chosen by the test harness). Returns non-zero on success.
int32_t testing_open_screen(int32_t width, int32_t height);
// Closes every platform resource and forgets injected state, so the next test starts clean.
void testing_reset_platform();

// The name of the renderer the screen draws with ("software", "opengl", ...); empty without one.
std::string testing_renderer_name();
// Every renderer made since the last reset, by name, including any given up for another.
const std::vector<std::string>& testing_renderers_made();
// The directory where the screen looks for graphics devices ("/dev" by default and after a reset).
void testing_set_device_root(const std::string& root);

// The plain way of drawing, which the kept ways must match pixel for pixel: every draw of a tile
// layer at once, every clear at once, and a new texture for every grab.
void testing_force_plain_drawing(bool on);

// Resizes the screen's window, as a window manager would; the event arrives with the next pump.
void testing_resize_window(int32_t width, int32_t height);

// Frame pacing in screen_flip and real waiting in delay_ms (both on by default in the game).
void testing_set_frame_pacing(bool on);
void testing_set_real_delays(bool on);
int64_t testing_flip_count();      // screen_flip and screen_flip_now calls since the last reset
// Makes clock_us return the given time (microseconds) until set back with a negative value.
void testing_set_clock_us(int64_t us);
int64_t testing_delay_total_ms();  // milliseconds asked of delay_ms since the last reset

// Injected key and joystick state; it reaches the game through the next snapshot.
void testing_set_key(int32_t code, bool down);
void testing_release_all_keys();
// Puts a key event (an SDL scancode, with Alt held or not) or the window losing its focus (or being
// minimised) into the event queue, as the window system would; it arrives with the next pump.
void testing_queue_key_event(int32_t sdl_scancode, bool down, bool alt = false);
void testing_queue_window_away(bool minimised);
// The screen's window size, and its back buffer's size.
std::pair<int32_t, int32_t> testing_window_size();
std::pair<int32_t, int32_t> testing_screen_size();
void testing_set_joystick(bool present, int32_t axis_x, int32_t axis_y, uint32_t buttons_mask);

// Back-buffer pixel as packed RGB (red + green * 256 + blue * 65536), and its alpha-less read.
int32_t testing_read_pixel(int32_t x, int32_t y);
// The whole back buffer, row by row, each pixel packed as above; empty without a screen.
std::vector<int32_t> testing_read_screen();
// Called by screen_flip with the frame complete, just before it is presented (nullptr: none).
void testing_set_flip_hook(void (*hook)());
// Called at every event pump (each snapshot and window-event call), before a quit is delivered.
void testing_set_pump_hook(void (*hook)());

// What sprite3d_draw and draw_box were asked to draw while recording is on.
struct DrawRecord {
  int32_t s3d = 0;  // 0 for a box
  int32_t x = 0, y = 0;
  int32_t width = 0, height = 0;  // drawn size (zoom) of the quad, or the box size
  int32_t alpha = 0;
  int32_t blend_source = 0, blend_destination = 0;
  int32_t colour = 0;  // boxes only
  float corners[8] = {};  // quad corners relative to (x, y): TL, TR, BR, BL
};
void testing_record_draws(bool on);
const std::vector<DrawRecord>& testing_recorded_draws();
void testing_clear_recorded_draws();
// The image file a quad's texture was decoded from and its colour key; false for grabs and
// unknown handles.
bool testing_quad_image(int32_t s3d, std::string& path, int32_t& key);

// Sounds: how often a sound was started, and whether it is playing now.
int32_t testing_sound_play_count(int32_t sound);
bool testing_sound_playing(int32_t sound);
// The mixer's music and effects volumes (0..128); -1 each without sound output.
std::pair<int32_t, int32_t> testing_mixer_volumes();
// Messages shown by message_box (title and text), and the answer the next boxes give.
const std::vector<std::string>& testing_message_log();
void testing_set_message_answer(int32_t answer);
// Boxes go to SDL's message box as where a display exists (until the next reset), so that a test
// can see what a box that cannot be shown does.
void testing_assume_display_for_boxes(bool on);

}  // namespace tessera

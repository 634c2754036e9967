// State shared between the platform's implementation files. Only src/platform/ includes this.
#pragma once

#include <SDL.h>

#include <csignal>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessera {

// ---- Handle tables -------------------------------------------------------------------------

// Resources of one kind by handle. Handles start at 1; 0 is never a live handle. A level build
// looks up tens of thousands of live Sprite3Ds, so the table is hashed.
template <typename T>
struct HandleTable {
  std::unordered_map<int32_t, T> items;
  int32_t next = 1;
};

template <typename T>
T* handle_find(HandleTable<T>& table, int32_t handle) {
  auto it = table.items.find(handle);
  return it == table.items.end() ? nullptr : &it->second;
}

// Handles count up to the largest int32 and then start again at 1.
constexpr int32_t handle_after(int32_t handle) {
  return handle <= 0 || handle == std::numeric_limits<int32_t>::max() ? 1 : handle + 1;
}

// The handle a create operation should fill: a fresh one for -1, the given one for a positive
// handle (an old resource there is replaced), 0 for anything else.
template <typename T>
int32_t handle_claim(HandleTable<T>& table, int32_t requested) {
  if (requested > 0) return requested;
  if (requested != -1) return 0;
  // A handle is not given out again before the count wraps, and never while it is alive.
  while (table.next <= 0 || table.items.count(table.next) != 0) table.next = handle_after(table.next);
  const int32_t claimed = table.next;
  table.next = handle_after(claimed);
  return claimed;
}

template <typename T>
void handle_store(HandleTable<T>& table, int32_t handle, T&& item) {
  table.items.erase(handle);
  table.items.emplace(handle, std::move(item));
}

// ---- Start and close (start_and_close.cpp) -------------------------------------------------

extern bool platform_sdl_started;
// Starts SDL's video and events once, with our own signal handling. Returns false on failure.
bool platform_sdl_start();
bool platform_display_exists();

// ---- Window and screen (window_and_screen.cpp) ---------------------------------------------

extern SDL_Window* platform_window;
extern SDL_Renderer* platform_renderer;
// The back buffer: a target texture, or (platform_back_is_window, texture null) the window's own
// surface, which SDL's software renderer keeps from one present to the next.
extern SDL_Texture* platform_back_buffer;
extern bool platform_back_is_window;
extern int32_t platform_back_width;
extern int32_t platform_back_height;
extern uint32_t platform_back_format;  // its pixel format
// Bumped whenever the renderer is destroyed: textures made for an older renderer died with it.
extern uint32_t platform_renderer_generation;

// A screen is open: a renderer with a back buffer.
bool platform_has_back_buffer();
// Makes the back buffer the render target again (after anything that changed it).
void platform_target_back_buffer();
// A window event that may concern the screen (its window resized, its focus lost).
void screen_follow_window(const SDL_Event& event);
// The back buffer, when it is the window's own surface, becomes a texture holding the same frame.
void back_buffer_leave_window();
// The screen, its renderer and every window.
void windows_close_all();

// ---- Renderer choice (renderer_choice.cpp) -------------------------------------------------

// A renderer for the window, or null after a line on standard error.
SDL_Renderer* renderer_choose(SDL_Window* window);
extern std::string graphics_device_root;     // where the system lists its devices
extern std::vector<std::string> renderers_made;  // names, in order, since the last reset

// ---- Presenting (presenting.cpp) -----------------------------------------------------------

extern bool frame_pacing;  // off for tests and the headless tools
extern void (*flip_hook)();  // tests: called by screen_flip before it presents
extern int64_t flip_count;
// The next flip starts pacing afresh.
void frame_pacing_restart();
// Where a back buffer of width x height shows in a window of the given size: as large as fits
// with its own shape, centred, the rest left black (letterboxed).
SDL_Rect letterbox(int32_t width, int32_t height, int32_t window_width, int32_t window_height);

// ---- Event pump and quit requests (event_pump.cpp, quit_requests.cpp) ----------------------

// Drains SDL's event queue into key, joystick and quit state; calls the quit handler if due.
void platform_pump_events();
extern void (*pump_hook)();  // tests: called by every pump before a quit is delivered

// A request to close: from a window event, or the number of a caught signal.
extern bool quit_pending;
extern volatile std::sig_atomic_t quit_signal;
void quit_signals_install();
// Hands a pending request to the quit handler (or, without one, a signal its default action).
void quit_deliver();
// Forgets the deadline that ends a process whose pumps do not answer a signal.
void quit_deadline_cancel();

// ---- Message boxes (message_box.cpp) -------------------------------------------------------

extern std::vector<std::string> message_log;  // title and text of every box shown
extern std::optional<int32_t> message_answer;  // given by every box instead of asking
extern bool message_display_assumed;  // boxes go to SDL even without a display

// ---- Sprites (sprites.cpp) -----------------------------------------------------------------

// A texture shared by a sprite and the Sprite3Ds made from it.
struct SharedTexture {
  SDL_Texture* texture = nullptr;
  // Premultiplied white mask (alpha as grey, alpha kept) for the two-pass additive fallback.
  SDL_Texture* mask = nullptr;
  int32_t key = 0;
  uint32_t generation = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool has_transparent = false;  // any pixel with alpha 0 (colour key or the image's own)
  std::string source;            // the image file it was decoded from; empty for grabs
  uint64_t serial = 0;           // names the pixels: new for every texture and every re-keying
  SharedTexture() = default;
  SharedTexture(const SharedTexture&) = delete;
  SharedTexture& operator=(const SharedTexture&) = delete;
  ~SharedTexture();
};

// One draw of a Sprite3D, taken as sprite3d_draw is called: the texture, the corners, the
// position, and the blend mode and filtering then in force.
struct QuadDraw {
  std::shared_ptr<SharedTexture> texture;
  float corners[8] = {};
  int32_t x = 0;
  int32_t y = 0;
  Uint8 alpha = 255;
  int32_t blend_source = 5;
  int32_t blend_destination = 6;
  bool bilinear = false;
};

// What sprite3d_draw (s3d, x, y, alpha) draws now (noted for tests when they record draws);
// false when it would draw nothing.
bool quad_take(int32_t s3d, int32_t x, int32_t y, int32_t alpha, QuadDraw& draw);
// Draws it onto the current render target.
void quad_render(const QuadDraw& draw);
// The screen rectangle a draw can change (its corners' bounds and a pixel of margin).
SDL_Rect quad_bounds(const QuadDraw& draw);

// The texture a Sprite3D draws; null for a handle that names none.
const SharedTexture* quad_texture(int32_t s3d);

void sprites_close_all();
void sprites_forget_settings();

struct DrawRecord;
// While on, quad_take and draw_box note every draw they are asked for (tests).
extern bool draws_recording;
extern std::vector<DrawRecord> draws_recorded;

// ---- Tile layer (tile_layer.cpp) -------------------------------------------------------------

// Every change to the back buffer passes through these, so the layer knows what lies under it.
// The clear waits until something needs the whole back buffer; each draw clears what lies under
// it first (call back_buffer_touched with its rectangle before drawing).
void back_buffer_clear(int32_t colour);
void back_buffer_touched(const SDL_Rect& area);
// Before reading or presenting the back buffer: the pending clear and an open layer's tiles done.
void back_buffer_settle();
// Draws the tiles of an open layer before anything else changes the back buffer.
void tile_layer_interrupt();
// Drops the layer's textures and what it knows of the back buffer (before either goes).
void tile_layer_close();
// True while tests force every drawing path to its plain form.
extern bool plain_drawing_forced;
// Forgets the cells kept from earlier frames.
void tile_layer_drop_store();

// ---- Input (input.cpp) ---------------------------------------------------------------------

void input_handle_event(const SDL_Event& event);
// A key goes down or up (DirectInput code); a press is latched until a snapshot has seen it.
void input_set_key(int32_t code, bool down);
void input_release_keys();  // every key up, latched presses kept
void input_close_all();
extern int32_t fullscreen_switch_count;
extern int32_t mute_switch_count;

// A pad set by a test: while present, every joystick snapshot reads it instead of a device. Axes
// of -1, 0 and 1 are read as they are, others on the -1000..1000 scale.
struct InjectedJoystick {
  bool present = false;
  int32_t axis_x = 0;
  int32_t axis_y = 0;
  uint32_t buttons = 0;  // bit n: button n + 1
};
extern InjectedJoystick injected_joystick;

// ---- Sound (sound.cpp) ---------------------------------------------------------------------

void sound_close_all();
int32_t sound_play_count(int32_t sound);  // sound_play calls since it was loaded
// The mixer's volumes now (0..128): music, and the first effects channel; -1 without sound output.
int32_t sound_mixer_music_volume();
int32_t sound_mixer_effects_volume();
bool sound_playing(int32_t sound);

// ---- Files (files.cpp) ---------------------------------------------------------------------

// The path with "\" turned into "/"; when it does not exist as written, each component is
// matched without regard to case (components that match nothing are kept as written).
std::string resolve_path(const std::string& path);
void files_close_all();

// ---- Load reports (load_reports.cpp) -------------------------------------------------------

// Images whose header claims more than this in either direction, or more pixels in all, are not
// decoded: they count as images that cannot be loaded.
constexpr int64_t IMAGE_SIDE_LIMIT = 16384;
constexpr int64_t IMAGE_PIXEL_LIMIT = int64_t{1} << 26;
// "no such file" or "a directory, not a file" for a path that cannot be a file to load; "" else.
std::string file_problem(const std::string& path);
// Prints "<path>: <reason>" on standard error, once per file per run.
void report_load_failure(const std::string& path, const std::string& reason);
// The decoded image (any format SDL_image reads, and TGA under any name), or null after one line
// on standard error saying why not: missing, a directory, too large, or what the decoder said.
SDL_Surface* image_decode(const std::string& path);
void load_reports_forget();

// ---- Time (time_random.cpp) ----------------------------------------------------------------

extern bool real_delays;        // off: delay_ms only counts
extern int64_t delay_total_ms;  // milliseconds asked of delay_ms
extern int64_t clock_us_fixed;  // what clock_us returns when not negative

}  // namespace tessera

// The test-only hooks of platform_testing.h, over the state the platform's files share.
#include "platform/platform_testing.h"

#include "platform/platform.h"
#include "platform/platform_internal.h"

namespace tessera {

int32_t testing_open_screen(int32_t width, int32_t height) {
  if (screen_init() == 0) return 0;
  image_decoders_register();
  const int32_t window = window_open(-1, 0, 0, width, height, "test", WINDOW_BORDERLESS);
  if (window == 0) return 0;
  return screen_open_windowed(window, width, height);
}

void testing_reset_platform() {
  platform_close_all();
  injected_joystick = {};
  sprites_forget_settings();
  // The real-delay switch stays as the test set it.
  delay_total_ms = 0;
  clock_us_fixed = -1;
  flip_count = 0;
  message_log.clear();
  renderers_made.clear();
  graphics_device_root = "/dev";
  message_answer.reset();
  message_display_assumed = false;
  quit_pending = false;
  quit_signal = 0;
  pump_hook = nullptr;
  quit_deadline_cancel();
  load_reports_forget();
}

// ---- Screen ------------------------------------------------------------------------------------

std::string testing_renderer_name() {
  SDL_RendererInfo info {};
  if (platform_renderer == nullptr || SDL_GetRendererInfo(platform_renderer, &info) != 0) return "";
  return info.name;
}

const std::vector<std::string>& testing_renderers_made() { return renderers_made; }

void testing_set_device_root(const std::string& root) { graphics_device_root = root; }

void testing_resize_window(int32_t width, int32_t height) {
  if (platform_window != nullptr) SDL_SetWindowSize(platform_window, width, height);
}

void testing_set_frame_pacing(bool on) { frame_pacing = on; }
int64_t testing_flip_count() { return flip_count; }

int32_t testing_read_pixel(int32_t x, int32_t y) {
  if (!platform_has_back_buffer() || x < 0 || y < 0 ||
      x >= platform_back_width || y >= platform_back_height) {
    return 0;
  }
  back_buffer_settle();
  platform_target_back_buffer();
  const SDL_Rect rect {x, y, 1, 1};
  Uint8 rgba[4] = {};
  if (SDL_RenderReadPixels(platform_renderer, &rect, SDL_PIXELFORMAT_RGBA32, rgba, 4) != 0) return 0;
  return rgb(rgba[0], rgba[1], rgba[2]);
}

std::vector<int32_t> testing_read_screen() {
  if (!platform_has_back_buffer()) return {};
  back_buffer_settle();
  platform_target_back_buffer();
  std::vector<Uint8> rgba(static_cast<size_t>(platform_back_width) * platform_back_height * 4);
  const SDL_Rect all {0, 0, platform_back_width, platform_back_height};
  const int pitch = platform_back_width * 4;
  if (SDL_RenderReadPixels(platform_renderer, &all, SDL_PIXELFORMAT_RGBA32, rgba.data(), pitch) != 0) return {};
  std::vector<int32_t> pixels(rgba.size() / 4);
  for (size_t n = 0; n < pixels.size(); ++n) pixels[n] = rgb(rgba[4 * n], rgba[4 * n + 1], rgba[4 * n + 2]);
  return pixels;
}

void testing_set_flip_hook(void (*hook)()) { flip_hook = hook; }
void testing_set_pump_hook(void (*hook)()) { pump_hook = hook; }

// ---- Drawing -----------------------------------------------------------------------------------

void testing_force_plain_drawing(bool on) {
  plain_drawing_forced = on;
  if (on) tile_layer_drop_store();
}

void testing_record_draws(bool on) { draws_recording = on; }
const std::vector<DrawRecord>& testing_recorded_draws() { return draws_recorded; }
void testing_clear_recorded_draws() { draws_recorded.clear(); }

bool testing_quad_image(int32_t s3d, std::string& path, int32_t& key) {
  const SharedTexture* texture = quad_texture(s3d);
  if (texture == nullptr || texture->source.empty()) return false;
  path = texture->source;
  key = texture->key;
  return true;
}

// ---- Time --------------------------------------------------------------------------------------

void testing_set_real_delays(bool on) { real_delays = on; }
int64_t testing_delay_total_ms() { return delay_total_ms; }
void testing_set_clock_us(int64_t us) { clock_us_fixed = us; }

// ---- Input -------------------------------------------------------------------------------------

void testing_set_key(int32_t code, bool down) { input_set_key(code, down); }

void testing_queue_key_event(int32_t sdl_scancode, bool down, bool alt) {
  SDL_Event event {};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(sdl_scancode);
  event.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
  if (platform_window != nullptr) event.key.windowID = SDL_GetWindowID(platform_window);
  SDL_PushEvent(&event);
}

void testing_queue_window_away(bool minimised) {
  SDL_Event event {};
  event.type = SDL_WINDOWEVENT;
  event.window.event = minimised ? SDL_WINDOWEVENT_MINIMIZED : SDL_WINDOWEVENT_FOCUS_LOST;
  if (platform_window != nullptr) event.window.windowID = SDL_GetWindowID(platform_window);
  SDL_PushEvent(&event);
}

std::pair<int32_t, int32_t> testing_window_size() {
  int width = 0;
  int height = 0;
  if (platform_window != nullptr) SDL_GetWindowSize(platform_window, &width, &height);
  return {width, height};
}

std::pair<int32_t, int32_t> testing_screen_size() { return {platform_back_width, platform_back_height}; }
void testing_release_all_keys() { input_release_keys(); }

void testing_set_joystick(bool present, int32_t axis_x, int32_t axis_y, uint32_t buttons_mask) {
  injected_joystick = {present, axis_x, axis_y, buttons_mask};
}

// ---- Sound -------------------------------------------------------------------------------------

int32_t testing_sound_play_count(int32_t sound) { return sound_play_count(sound); }
bool testing_sound_playing(int32_t sound) { return sound_playing(sound); }
std::pair<int32_t, int32_t> testing_mixer_volumes() {
  return {sound_mixer_music_volume(), sound_mixer_effects_volume()};
}

// ---- Message boxes -----------------------------------------------------------------------------

const std::vector<std::string>& testing_message_log() { return message_log; }

void testing_set_message_answer(int32_t answer) { message_answer = answer; }

void testing_assume_display_for_boxes(bool on) { message_display_assumed = on; }

}  // namespace tessera

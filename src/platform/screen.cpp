// Window, renderer, back buffer and presentation; the event pump; message boxes; closing down.
#include "platform/platform.h"

#include "platform/platform_internal.h"
#include "platform/platform_testing.h"

#include <SDL_image.h>

#include <cctype>
#include <chrono>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace tessera {

SDL_Window* platform_window = nullptr;
SDL_Renderer* platform_renderer = nullptr;
SDL_Texture* platform_back_buffer = nullptr;
bool platform_back_is_window = false;
int32_t platform_back_width = 0;
int32_t platform_back_height = 0;
uint32_t platform_back_format = SDL_PIXELFORMAT_ARGB8888;
uint32_t platform_renderer_generation = 1;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto FRAME_PERIOD = std::chrono::nanoseconds(1'000'000'000 / 60);
// A flip this close to its slot is not worth a sleep (and keeps a 60.05 Hz display from drifting).
constexpr auto PACING_SLACK = std::chrono::microseconds(1000);

bool sdl_started = false;
HandleTable<SDL_Window*> windows;
int32_t screen_window = 0;  // handle of the window the renderer belongs to
SDL_Rect present_rect {};
bool present_stretch = true;

bool frame_pacing = true;
void (*flip_hook)() = nullptr;
bool pacing_started = false;
Clock::time_point previous_flip {};
int64_t flip_count = 0;

// Long work takes window messages at least this often (window_events_when_due).
constexpr auto PUMP_INTERVAL = std::chrono::milliseconds(40);
// A request to close that no event pump has answered after this long (the game is inside one
// long call: a message box, a large file) ends the process without the usual clean-up.
constexpr suseconds_t QUIT_GRACE_US = 500'000;

QuitHandler quit_handler = nullptr;
bool quit_pending = false;
volatile std::sig_atomic_t quit_signal = 0;
bool quit_signals_installed = false;
Clock::time_point last_pump {};
void (*pump_hook)() = nullptr;

std::vector<std::string> message_log;
std::string device_root = "/dev";  // where the system lists its devices
std::vector<std::string> renderers_made;  // names, in order, since the last reset
bool message_answer_set = false;
int32_t message_answer = 0;

// What the deadline replaced, given back when the game answers in time.
struct sigaction alarm_before {};
itimerval timer_before {};
volatile std::sig_atomic_t deadline_armed = 0;

// Set while the quit handler runs: the deadline then only cuts a slow clean-up short.
volatile std::sig_atomic_t quit_answered = 0;

void on_quit_deadline(int) {
  if (quit_answered == 0) {
    constexpr char said[] = "quit: no event pump answered within half a second; ending now\n";
    const ssize_t ignored = write(STDERR_FILENO, said, sizeof said - 1);
    (void)ignored;
  }
  _exit(0);
}

// Only async-signal-safe calls: it runs inside the signal.
void arm_quit_deadline() {
  if (deadline_armed != 0) return;
  deadline_armed = 1;
  struct sigaction action {};
  action.sa_handler = on_quit_deadline;
  sigemptyset(&action.sa_mask);
  sigaction(SIGALRM, &action, &alarm_before);
  itimerval deadline {};
  deadline.it_value.tv_usec = QUIT_GRACE_US;
  setitimer(ITIMER_REAL, &deadline, &timer_before);
}

void cancel_quit_deadline() {
  if (deadline_armed == 0) return;
  setitimer(ITIMER_REAL, &timer_before, nullptr);
  sigaction(SIGALRM, &alarm_before, nullptr);
  deadline_armed = 0;
}

void on_quit_signal(int signal) {
  quit_signal = signal;
  arm_quit_deadline();
}

void install_signal_handlers() {
  if (quit_signals_installed) return;
  struct sigaction action {};
  action.sa_handler = on_quit_signal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  quit_signals_installed = true;
}

bool make_back_texture(int32_t width, int32_t height) {
  platform_back_buffer =
      SDL_CreateTexture(platform_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
  if (platform_back_buffer == nullptr) {
    std::fprintf(stderr, "Back buffer: %s\n", SDL_GetError());
    return false;
  }
  SDL_SetTextureBlendMode(platform_back_buffer, SDL_BLENDMODE_NONE);
  platform_back_format = SDL_PIXELFORMAT_ARGB8888;
  return true;
}

// A window that no longer has the back buffer's size gets a surface of the new size: from then on
// the back buffer is a texture again, stretched to the window as ever.
void follow_window_size(const SDL_Event& event) {
  if (!platform_back_is_window || event.type != SDL_WINDOWEVENT ||
      event.window.event != SDL_WINDOWEVENT_SIZE_CHANGED || platform_window == nullptr ||
      event.window.windowID != SDL_GetWindowID(platform_window)) {
    return;
  }
  if (event.window.data1 == platform_back_width && event.window.data2 == platform_back_height) return;
  tile_layer_close();
  platform_back_is_window = false;
  if (make_back_texture(platform_back_width, platform_back_height)) screen_clear(0);
}

void handle_event(const SDL_Event& event) {
  follow_window_size(event);
  if (event.type == SDL_QUIT) quit_pending = true;
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) quit_pending = true;
  input_handle_event(event);
}

void deliver_quit() {
  const int signal = quit_signal;
  if (signal == 0 && !quit_pending) return;
  quit_signal = 0;
  quit_pending = false;
  if (quit_handler != nullptr) {
    quit_answered = 1;
    quit_handler();
    quit_answered = 0;
    // The handler chose to go on: the deadline was only for a request nobody had heard.
    cancel_quit_deadline();
  } else if (signal != 0) {
    // Nobody asked to hear about it: behave as if we had never caught the signal.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
}

void destroy_back_buffer() {
  tile_layer_close();
  if (platform_back_buffer != nullptr) SDL_DestroyTexture(platform_back_buffer);
  platform_back_buffer = nullptr;
  platform_back_is_window = false;
  platform_back_width = 0;
  platform_back_height = 0;
}

void destroy_renderer() {
  sprites_close_all();  // their textures belong to this renderer
  destroy_back_buffer();
  if (platform_renderer != nullptr) {
    SDL_DestroyRenderer(platform_renderer);
    ++platform_renderer_generation;
  }
  platform_renderer = nullptr;
  screen_window = 0;
}

// An OpenGL renderer whose rasteriser runs on the processor (Mesa's llvmpipe, softpipe or swrast,
// Windows' GDI fallback): virtual machines, remote desktops, machines without a working driver.
bool on_software_opengl(SDL_Renderer* renderer) {
  SDL_RendererInfo info {};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0 ||
      SDL_GL_GetCurrentContext() == nullptr) {
    return false;
  }
  using GetString = const unsigned char* (*)(unsigned int);
  const auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned int GL_RENDERER_NAME = 0x1F01;
  const unsigned char* name = get_string != nullptr ? get_string(GL_RENDERER_NAME) : nullptr;
  if (name == nullptr) return false;
  std::string lower(reinterpret_cast<const char*>(name));
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* soft : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "gdi generic"}) {
    if (lower.find(soft) != std::string::npos) return true;
  }
  return false;
}

// Where the system shows no graphics device at all, OpenGL could only be a software rasteriser;
// finding that out by making a context loads Mesa and LLVM, about 60 ms and 60 MB. Elsewhere the
// context is the only way to know. /dev/dxg is the graphics processor of WSL.
bool plainly_no_graphics_device() {
#if defined(__linux__)
  std::error_code error;
  std::filesystem::directory_iterator entry(device_root + "/dri", error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return false;
  }
  for (const char* device : {"nvidiactl", "nvidia0", "dxg"}) {
    if (std::filesystem::exists(device_root + "/" + device, error)) return false;
  }
  return true;
#else
  return false;
#endif
}

// Accelerated with vsync where there is a graphics processor. Where OpenGL is a software
// rasteriser, SDL's own software renderer draws the same frame in less than half the time (the
// frame benchmark shows it on every driver here), so it takes over. A driver named through SDL's
// own SDL_RENDER_DRIVER is used as named.
SDL_Renderer* make_renderer(SDL_Window* window, Uint32 flags) {
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, flags);
  SDL_RendererInfo info {};
  if (renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0) renderers_made.emplace_back(info.name);
  return renderer;
}

bool create_renderer(SDL_Window* window) {
  // Naming a driver switches batching off; the world pass draws thousands of quads a frame.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  // Software pixels go to the window system as they are (MIT-SHM on X11); the default would
  // upload them to OpenGL every frame, which on a software rasteriser costs more than the frame.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  const bool named = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
  if (named || !plainly_no_graphics_device()) {
    platform_renderer =
        make_renderer(window, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
  }
  if (platform_renderer != nullptr && !named && on_software_opengl(platform_renderer)) {
    SDL_DestroyRenderer(platform_renderer);
    platform_renderer = nullptr;
  }
  if (platform_renderer == nullptr) {
    platform_renderer = make_renderer(window, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
  }
  if (platform_renderer == nullptr) {
    std::fprintf(stderr, "Renderer: %s\n", SDL_GetError());
    return false;
  }
  return true;
}

void pace_frame() {
  const Clock::time_point now = Clock::now();
  if (!pacing_started) {
    pacing_started = true;
    previous_flip = now;
    return;
  }
  const Clock::time_point slot = previous_flip + FRAME_PERIOD;
  if (now + PACING_SLACK >= slot) {
    previous_flip = now;
    return;
  }
  // Sleep most of the way, then yield until the slot: sleeping alone overshoots by up to a tick.
  std::this_thread::sleep_until(slot - std::chrono::microseconds(500));
  while (Clock::now() < slot) std::this_thread::yield();
  previous_flip = slot;
}

int32_t answer_box(const std::string& title, const std::string& text, int32_t buttons) {
  const SDL_MessageBoxButtonData ok_button = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"};
  const SDL_MessageBoxButtonData yes_no[2] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ANSWER_YES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ANSWER_NO, "No"},
  };
  const bool question = buttons == MESSAGE_YES_NO;
  SDL_MessageBoxData data {};
  data.flags = SDL_MESSAGEBOX_INFORMATION;
  data.window = platform_window;
  data.title = title.c_str();
  data.message = text.c_str();
  data.numbuttons = question ? 2 : 1;
  data.buttons = question ? yes_no : &ok_button;
  int chosen = 0;
  if (SDL_ShowMessageBox(&data, &chosen) != 0 || chosen <= 0) return question ? ANSWER_YES : 1;
  return chosen;
}

}  // namespace

bool platform_sdl_start() {
  if (sdl_started) return true;
  // SDL's own handlers would turn Ctrl+C into SDL_QUIT only while events are pumped; ours
  // reach the quit handler the same way and leave the default action when nobody listens.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    return false;
  }
  install_signal_handlers();
  sdl_started = true;
  return true;
}

void platform_pump_events() {
  last_pump = Clock::now();
  if (sdl_started) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) handle_event(event);
  }
  if (pump_hook != nullptr) pump_hook();
  deliver_quit();
}

void window_events_when_due() {
  if (quit_signal != 0 || Clock::now() - last_pump >= PUMP_INTERVAL) platform_pump_events();
}

bool platform_has_back_buffer() {
  return platform_renderer != nullptr && (platform_back_buffer != nullptr || platform_back_is_window);
}

void platform_target_back_buffer() {
  if (platform_has_back_buffer()) SDL_SetRenderTarget(platform_renderer, platform_back_buffer);
}

bool platform_display_exists() {
  if (!sdl_started || SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
}

int32_t screen_init() { return platform_sdl_start() ? 1 : 0; }

int32_t desktop_examine() {
  if (!platform_sdl_start()) return 0;
  const int count = SDL_GetNumVideoDisplays();
  return count < 0 ? 0 : count;
}

namespace {
bool display_mode(int32_t display, SDL_DisplayMode& mode) {
  return platform_sdl_start() && SDL_GetDesktopDisplayMode(display, &mode) == 0;
}
}  // namespace

int32_t desktop_width(int32_t display) {
  SDL_DisplayMode mode {};
  return display_mode(display, mode) ? mode.w : 0;
}

int32_t desktop_height(int32_t display) {
  SDL_DisplayMode mode {};
  return display_mode(display, mode) ? mode.h : 0;
}

int32_t desktop_depth(int32_t display) {
  SDL_DisplayMode mode {};
  return display_mode(display, mode) ? static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format)) : 0;
}

int32_t desktop_frequency(int32_t display) {
  SDL_DisplayMode mode {};
  return display_mode(display, mode) ? mode.refresh_rate : 0;
}

int32_t window_open(int32_t handle, int32_t x, int32_t y, int32_t width, int32_t height,
                    const std::string& title, int32_t style) {
  const int32_t id = handle_claim(windows, handle);
  if (id == 0 || width <= 0 || height <= 0 || !platform_sdl_start()) return 0;
  Uint32 flags = SDL_WINDOW_SHOWN;
  if ((style & WINDOW_BORDERLESS) != 0) flags |= SDL_WINDOW_BORDERLESS;
  if ((style & WINDOW_CENTRED) != 0) x = y = static_cast<int32_t>(SDL_WINDOWPOS_CENTERED);
  SDL_Window* window = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
  if (window == nullptr) {
    std::fprintf(stderr, "Window: %s\n", SDL_GetError());
    return 0;
  }
  if (SDL_Window** old = handle_find(windows, id); old != nullptr) {
    if (id == screen_window) destroy_renderer();
    if (*old == platform_window) platform_window = nullptr;
    SDL_DestroyWindow(*old);
  }
  handle_store(windows, id, std::move(window));
  SDL_RaiseWindow(window);
  return id;
}

int32_t screen_open_windowed(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t stretch, int32_t right_offset, int32_t bottom_offset) {
  (void)right_offset;
  (void)bottom_offset;
  SDL_Window** found = handle_find(windows, window);
  if (found == nullptr || width <= 0 || height <= 0) return 0;
  if (screen_window != window) {
    destroy_renderer();
    if (!create_renderer(*found)) return 0;
    screen_window = window;
    platform_window = *found;
  }
  destroy_back_buffer();
  // SDL's software renderer draws into memory that it hands to the window system as it is: where
  // the window has the screen's size, drawing there spares a whole-screen copy every frame.
  SDL_RendererInfo info {};
  int window_width = 0;
  int window_height = 0;
  SDL_GetWindowSize(*found, &window_width, &window_height);
  const bool software =
      SDL_GetRendererInfo(platform_renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  if (software && stretch == 1 && window_width == width && window_height == height) {
    platform_back_is_window = true;
    platform_back_format = SDL_GetWindowPixelFormat(*found);
  } else if (!make_back_texture(width, height)) {
    return 0;
  }
  platform_back_width = width;
  platform_back_height = height;
  present_rect = {x, y, width, height};
  present_stretch = stretch == 1;
  screen_clear(0);
  return 1;
}

namespace {
// Waits in short slices, so that a request to close (a signal, which wakes no SDL wait) is
// answered within a slice however long the wait.
bool wait_event(SDL_Event& event, int32_t timeout_ms) {
  constexpr int32_t SLICE_MS = 20;
  int32_t left = timeout_ms;
  for (;;) {
    const int32_t slice = timeout_ms < 0 ? SLICE_MS : std::min(left, SLICE_MS);
    if (SDL_WaitEventTimeout(&event, slice) != 0) return true;
    if (quit_signal != 0) return false;
    if (timeout_ms >= 0 && (left -= slice) <= 0) return false;
  }
}
}  // namespace

int32_t window_event(int32_t timeout_ms) {
  if (!sdl_started) return 0;
  SDL_Event event;
  int32_t code = 0;
  bool got = false;
  if (timeout_ms == 0) {
    got = SDL_PollEvent(&event) != 0;
  } else {
    got = wait_event(event, timeout_ms);
  }
  if (got) {
    code = static_cast<int32_t>(event.type);
    handle_event(event);
  }
  platform_pump_events();
  return code;
}

void screen_clear(int32_t colour) {
  if (!platform_has_back_buffer()) return;
  back_buffer_clear(colour);
}

void platform_present() {
  back_buffer_settle();
  if (platform_back_is_window) {
    SDL_RenderPresent(platform_renderer);
  } else if (platform_has_back_buffer()) {
    SDL_SetRenderTarget(platform_renderer, nullptr);
    // A stretched copy covers the whole window; only an unstretched one leaves a border to clear.
    if (!present_stretch) {
      SDL_SetRenderDrawColor(platform_renderer, 0, 0, 0, 255);
      SDL_RenderClear(platform_renderer);
    }
    SDL_RenderCopy(platform_renderer, platform_back_buffer, nullptr, present_stretch ? nullptr : &present_rect);
    SDL_RenderPresent(platform_renderer);
    platform_target_back_buffer();
  }
}

void screen_flip() {
  ++flip_count;
  if (flip_hook != nullptr) flip_hook();
  platform_present();
  if (frame_pacing) pace_frame();
  input_frame_presented();
}

void screen_flip_now() {
  // Vsync off for this one present where the renderer can switch it (SDL 2.0.18 and later).
  SDL_RendererInfo info {};
  const bool vsync = platform_renderer != nullptr && SDL_GetRendererInfo(platform_renderer, &info) == 0 &&
                     (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  if (vsync) SDL_RenderSetVSync(platform_renderer, 0);
  const bool paced = frame_pacing;
  frame_pacing = false;
  screen_flip();
  frame_pacing = paced;
  if (vsync) SDL_RenderSetVSync(platform_renderer, 1);
}

int32_t message_box(const std::string& title, const std::string& text, int32_t buttons) {
  message_log.push_back(title + "\n" + text);
  if (!message_answer_set && platform_display_exists()) return answer_box(title, text, buttons);
  std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
  if (message_answer_set) return message_answer;
  return buttons == MESSAGE_YES_NO ? ANSWER_YES : 1;
}

void quit_handler_register(QuitHandler handler) {
  quit_handler = handler;
  // From now on a request to close is heard, also before SDL has started.
  install_signal_handlers();
}

void image_decoders_register() {
  const int wanted = IMG_INIT_PNG | IMG_INIT_JPG | IMG_INIT_TIF;
  if ((IMG_Init(wanted) & wanted) != wanted) std::fprintf(stderr, "Image decoders: %s\n", IMG_GetError());
}

void platform_close_all() {
  sound_close_all();
  destroy_renderer();
  for (auto& [id, window] : windows.items) SDL_DestroyWindow(window);
  windows.items.clear();
  platform_window = nullptr;
  input_close_all();
  files_close_all();
  if (sdl_started) {
    IMG_Quit();
    SDL_Quit();
    sdl_started = false;
  }
  pacing_started = false;
}

void headless_mode() {
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  frame_pacing = false;
}

int32_t screen_save_png(const std::string& path) {
  if (!platform_has_back_buffer()) return 0;
  back_buffer_settle();
  platform_target_back_buffer();
  const int pitch = platform_back_width * 3;
  std::vector<Uint8> pixels(static_cast<size_t>(pitch) * static_cast<size_t>(platform_back_height));
  const SDL_Rect all {0, 0, platform_back_width, platform_back_height};
  if (SDL_RenderReadPixels(platform_renderer, &all, SDL_PIXELFORMAT_RGB24, pixels.data(), pitch) != 0) {
    std::fprintf(stderr, "Reading the back buffer: %s\n", SDL_GetError());
    return 0;
  }
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), platform_back_width, platform_back_height,
                                                            24, pitch, SDL_PIXELFORMAT_RGB24);
  const bool saved = surface != nullptr && IMG_SavePNG(surface, path.c_str()) == 0;
  if (!saved) std::fprintf(stderr, "Writing %s: %s\n", path.c_str(), IMG_GetError());
  SDL_FreeSurface(surface);
  return saved ? 1 : 0;
}

// ---- Test hooks ----------------------------------------------------------------------------

int32_t testing_open_screen(int32_t width, int32_t height) {
  if (screen_init() == 0) return 0;
  image_decoders_register();
  const int32_t window = window_open(-1, 0, 0, width, height, "test", WINDOW_BORDERLESS);
  if (window == 0) return 0;
  return screen_open_windowed(window, 0, 0, width, height, 1, 0, 0);
}

void testing_reset_platform() {
  platform_close_all();
  input_forget_injected();
  sprites_forget_settings();
  time_forget_settings();
  flip_count = 0;
  message_log.clear();
  renderers_made.clear();
  device_root = "/dev";
  message_answer_set = false;
  message_answer = 0;
  quit_pending = false;
  quit_signal = 0;
  pump_hook = nullptr;
  cancel_quit_deadline();
  load_reports_forget();
}

std::string testing_renderer_name() {
  SDL_RendererInfo info {};
  if (platform_renderer == nullptr || SDL_GetRendererInfo(platform_renderer, &info) != 0) return "";
  return info.name;
}

const std::vector<std::string>& testing_renderers_made() { return renderers_made; }

void testing_set_device_root(const std::string& root) { device_root = root; }

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

const std::vector<std::string>& testing_message_log() { return message_log; }

void testing_set_message_answer(int32_t answer) {
  message_answer_set = true;
  message_answer = answer;
}

}  // namespace tessera

// The one header of platform services: everything the game asks of the machine.
//
// Handles: every resource is a 32-bit handle. Pass -1 to ask for a new one; the result is the new
// handle, or 0 on failure. An operation given a handle that names nothing does nothing and returns 0.
// Colours are 24-bit RGB packed as red + green * 256 + blue * 65536.
// Paths may use "\" or "/" as separators; a path that does not exist as written is matched
// component by component without regard to letter case.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The browser build (Emscripten) leaves out what a page cannot do: processor-fault recovery (a
// WebAssembly trap ends the module), signals, sleeping and frame pacing (the browser paces), and
// the modding tools. This is the one switch for it; the game asks PLATFORM_WEB, never the compiler.
#if defined(__EMSCRIPTEN__)
#define TESSERA_WEB 1
#else
#define TESSERA_WEB 0
#endif

namespace tessera {

inline constexpr bool PLATFORM_WEB = TESSERA_WEB != 0;
// The modding tools (--check, --render-level) need a command line and the files of a data set.
inline constexpr bool PLATFORM_HAS_TOOLS = !PLATFORM_WEB;

constexpr int32_t rgb(int32_t r, int32_t g, int32_t b) { return r + g * 256 + b * 65536; }

// ---- Window and screen ---------------------------------------------------------------------

constexpr int32_t WINDOW_BORDERLESS = 1;
// A normal window with a title bar, centred on the display; x and y are then ignored.
constexpr int32_t WINDOW_CENTRED = 2;

int32_t screen_init();
int32_t desktop_width(int32_t display);
int32_t desktop_height(int32_t display);
int32_t desktop_frequency(int32_t display);  // Hz; 0 when unknown
int32_t window_open(int32_t handle, int32_t x, int32_t y, int32_t width, int32_t height,
                    const std::string& title, int32_t style);
// Creates the back buffer (width x height) shown in the window, scaled to the window's size.
int32_t screen_open_windowed(int32_t window, int32_t width, int32_t height);
// Processes pending window messages; waits up to timeout_ms for one (0: never waits, -1: no limit).
// A request to close ends any wait.
int32_t window_event(int32_t timeout_ms);
// For long work (loading, building a level) between its steps: takes pending window messages when
// the last pump is more than a few milliseconds ago, or a request to close has come, so that the
// game ends when asked wherever it is. Costs a clock reading otherwise.
void window_events_when_due();
void screen_clear(int32_t colour);
// Presents the back buffer after the vertical retrace, paced to at most 60 frames per second.
void screen_flip();
// Presents the back buffer at once: no vertical-retrace wait and no frame pacing (progress bars,
// which must not slow down the work they show).
void screen_flip_now();

// The screen's window is fullscreen (borderless and as large as display 0, at its top-left corner)
// or windowed (a normal window that can be resized). Either way the back buffer keeps the size it
// was opened with and is scaled to the window, centred, with black bars where their shapes differ.
// Switching to windowed gives the window the size it had before, or three quarters of the
// display's for a window opened fullscreen.
void window_set_fullscreen(bool on);
bool window_fullscreen();
// F11 and Alt+Enter switch fullscreen and windowed, and M mutes or unmutes every sound, within the
// event pump on every screen; these presses never reach the key snapshot. How many switches have
// happened since the start (a caller notes a change to remember it).
int32_t fullscreen_switches();
int32_t mute_switches();
// 1 once after the screen's window lost the focus or was minimised (since the previous call), else 0.
int32_t window_away();

constexpr int32_t MESSAGE_OK = 0;
constexpr int32_t MESSAGE_YES_NO = 4;
constexpr int32_t ANSWER_OK = 1;
constexpr int32_t ANSWER_YES = 6;
constexpr int32_t ANSWER_NO = 7;
// Modal box. The text also goes to standard error. Without a display, or when the box cannot be
// shown (standard error then says why), the default is answered (OK; Yes for a Yes/No box).
int32_t message_box(const std::string& title, const std::string& text, int32_t buttons);

// A request from the system to close (window close, SIGINT, SIGTERM) calls this procedure from
// the next event pump. It is expected not to return (the game ends the program there). A signal
// that no pump has answered within half a second ends the process with status 0 all the same.
// Registering starts listening for the signals.
using QuitHandler = void (*)();
void quit_handler_register(QuitHandler handler);

// Registers the image decoders (PNG, JPEG, TGA, TIFF) and the sound decoder (OGG Vorbis).
void image_decoders_register();
void sound_decoders_register();

// Closes every service: sounds, sprites, screen, window, input devices, open files and listings.
void platform_close_all();

// For the modding tools, before anything starts SDL: SDL's dummy video and audio drivers (no
// window shows, no sound device opens, no display is needed) and no frame pacing.
void headless_mode();
// Off: images and sounds that cannot be loaded are not named on standard error (for the checker,
// which reports each of them in a line of its own). On by default.
void load_reports_enable(bool on);
// Writes the back buffer to a PNG file (RGB, 8 bits a channel). Non-zero on success.
int32_t screen_save_png(const std::string& path);

// ---- Sprites ---------------------------------------------------------------------------------

// Every sprite can be the texture of a Sprite3D.

// Decodes by content (PNG, JPEG, TGA, TIFF). The sprite takes the current default colour key.
int32_t sprite_load(int32_t handle, const std::string& path);
// A sprite from a rectangle of the current back buffer.
int32_t sprite_grab(int32_t handle, int32_t x, int32_t y, int32_t width, int32_t height);
// sprite -1 sets the default key for sprites loaded or grabbed afterwards.
void sprite_transparent_color(int32_t sprite, int32_t colour);
int32_t sprite_width(int32_t sprite);
int32_t sprite_height(int32_t sprite);
int32_t sprite_exists(int32_t sprite);
void sprite_free(int32_t sprite);

// ---- Sprite3D (textured quads) ----------------------------------------------------------------

// A quad over the sprite's texture; the texture is shared, so freeing the sprite later is safe.
int32_t sprite3d_create(int32_t handle, int32_t sprite);
// Sets the drawn size and resets the corners to the unrotated rectangle.
void sprite3d_zoom(int32_t s3d, int32_t width, int32_t height);
// ROTATE_ABSOLUTE: the angle is used as given and the accumulated angle becomes 0. Any other mode
// (ROTATE_ADDED) adds the angle to a 16-bit accumulated angle and uses the sum. Turns about the
// centre for square quads.
constexpr int32_t ROTATE_ABSOLUTE = 0;
constexpr int32_t ROTATE_ADDED = 1;
void sprite3d_rotate(int32_t s3d, int32_t angle, int32_t mode);
// Corners relative to the draw position: top-left, top-right, bottom-right, bottom-left.
void sprite3d_transform(int32_t s3d, float x1, float y1, float x2, float y2, float x3, float y3,
                        float x4, float y4);
void sprite3d_draw(int32_t s3d, int32_t x, int32_t y, int32_t alpha = 255);
// Blend factors, numbered as Direct3D numbers them (data sets give these numbers).
constexpr int32_t BLEND_ZERO = 1;
constexpr int32_t BLEND_ONE = 2;
constexpr int32_t BLEND_SOURCE_COLOUR = 3;
constexpr int32_t BLEND_INVERSE_SOURCE_COLOUR = 4;
constexpr int32_t BLEND_SOURCE_ALPHA = 5;
constexpr int32_t BLEND_INVERSE_SOURCE_ALPHA = 6;
constexpr int32_t BLEND_DESTINATION_ALPHA = 7;
constexpr int32_t BLEND_INVERSE_DESTINATION_ALPHA = 8;
constexpr int32_t BLEND_DESTINATION_COLOUR = 9;
constexpr int32_t BLEND_INVERSE_DESTINATION_COLOUR = 10;
// Factors for the drawings that follow; (BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA), the
// ordinary blending, at start.
void sprite3d_blend_mode(int32_t source, int32_t destination);
// For textures drawn afterwards; any mode other than QUALITY_NEAREST filters bilinearly.
constexpr int32_t QUALITY_NEAREST = 0;
constexpr int32_t QUALITY_BILINEAR = 1;
void sprite3d_quality(int32_t mode);
int32_t sprite3d_exists(int32_t s3d);
void sprite3d_free(int32_t s3d);

// ---- Tile layer (the tiles of a frame and what stands on them) --------------------------------

// A pass: tile_layer_begin, tile_layer_draw for each draw in order (arguments, blend mode and
// filtering as for sprite3d_draw), tile_layer_end. The pixels are exactly those of sprite3d_draw
// in the same order. Passes whose draws lie on one grid, each inside one cell (tiles, and the
// objects in their cells), are kept from frame to frame: cells whose draws did not change are
// copied, or left as they are, instead of drawn again, where that gives the same pixels.
// (origin_x, origin_y) is the screen position of the layer's own (0, 0): when the view scrolls,
// moving it with the view lets kept cells move along. Anything else drawn, cleared, grabbed or
// flipped while a pass is open finds the pass's draws before it done.
void tile_layer_begin(int32_t origin_x, int32_t origin_y);
void tile_layer_draw(int32_t s3d, int32_t x, int32_t y, int32_t alpha);
void tile_layer_end();

// ---- 2D drawing on the back buffer -------------------------------------------------------------

void draw_box(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);

// ---- Keyboard, mouse, joystick -----------------------------------------------------------------

// DirectInput scan codes of the keys the game uses.
constexpr int32_t KEY_ESCAPE = 0x01;
constexpr int32_t KEY_T = 0x14;
constexpr int32_t KEY_Y = 0x15;
constexpr int32_t KEY_P = 0x19;
constexpr int32_t KEY_ENTER = 0x1C;
constexpr int32_t KEY_A = 0x1E;
constexpr int32_t KEY_S = 0x1F;
constexpr int32_t KEY_D = 0x20;
constexpr int32_t KEY_X = 0x2D;
constexpr int32_t KEY_C = 0x2E;
constexpr int32_t KEY_B = 0x30;
constexpr int32_t KEY_M = 0x32;
constexpr int32_t KEY_LEFT_ALT = 0x38;
constexpr int32_t KEY_SPACE = 0x39;
constexpr int32_t KEY_F11 = 0x57;
constexpr int32_t KEY_RIGHT_ALT = 0xB8;
constexpr int32_t KEY_UP = 0xC8;
constexpr int32_t KEY_PAGE_UP = 0xC9;
constexpr int32_t KEY_LEFT = 0xCB;
constexpr int32_t KEY_RIGHT = 0xCD;
constexpr int32_t KEY_DOWN = 0xD0;
constexpr int32_t KEY_PAGE_DOWN = 0xD1;

// Snapshot of the 256 key states as the last event pump (window_event) left them. A key pressed
// and released since the previous snapshot reads as held in this one.
int32_t keyboard_examine();
int32_t key_pushed(int32_t code);  // -1: any key
// 1 when the key was down at this key's previous query and is up now; each call updates the state.
int32_t key_released(int32_t code);

int32_t mouse_init();
// The snapshots below read what the last event pump (window_event) left, like keyboard_examine.
int32_t mouse_examine();
void mouse_locate(int32_t x, int32_t y);

int32_t joystick_init();  // 1 when a pad was found and opened
int32_t joystick_examine();
int32_t joystick_axis_x();  // -1, 0 or 1
int32_t joystick_axis_y();
// The pad's buttons, counted from 1 to JOYSTICK_BUTTONS.
constexpr int32_t JOYSTICK_BUTTONS = 10;
int32_t joystick_button(int32_t n);

// ---- Sound -------------------------------------------------------------------------------------

// Flags of sound_play, combined with |. A sound already playing restarts unless SOUND_COPY.
constexpr int32_t SOUND_ONCE = 0;
constexpr int32_t SOUND_LOOP = 1;
constexpr int32_t SOUND_COPY = 2;  // plays an additional copy

int32_t sound_init();
int32_t sound_load(int32_t handle, const std::string& path);
// A sound decoded from its file while it plays (music), so loading it costs next to nothing. Only
// one streamed sound sounds at a time: playing one stops the one before. A file that does not
// decode gives 0. Used like any other sound.
int32_t sound_load_streamed(int32_t handle, const std::string& path);
void sound_play(int32_t sound, int32_t flags);
void sound_stop(int32_t sound);  // -1: all sounds
int32_t sound_exists(int32_t sound);
void sound_free(int32_t sound);
// Volumes in percent (0..100) of streamed sounds (music) and of all other sounds; 100 is each
// sound as its file holds it. Muted, every sound is silent and the volumes are kept.
void sound_set_volumes(int32_t music, int32_t effects);
void sound_set_muted(bool muted);
bool sound_muted();

// ---- Files and directories ---------------------------------------------------------------------

int32_t file_open_read(int32_t handle, const std::string& path);
// Read and write, created when missing; the position starts at the beginning.
int32_t file_open(int32_t handle, const std::string& path);
// Writing only, always at the end of the file (created when missing); nothing is read first.
int32_t file_open_append(int32_t handle, const std::string& path);
// Bytes up to the next CR, LF or CR LF (not returned); empty at the end of the file. A UTF-8
// byte-order mark at the start of a file opened with file_open_read is skipped.
std::string file_read_line(int32_t file);
void file_write_line(int32_t file, const std::string& text);  // text + CR LF
int32_t file_eof(int32_t file);
void file_close(int32_t file);

constexpr int32_t ENTRY_FILE = 1;
constexpr int32_t ENTRY_DIRECTORY = 2;

// Entries matching the wildcard pattern (without regard to case), sorted by name.
int32_t dir_examine(int32_t handle, const std::string& directory, const std::string& pattern);
int32_t dir_next_entry(int32_t dir);
std::string dir_entry_name(int32_t dir);
int32_t dir_entry_type(int32_t dir);
void dir_finish(int32_t dir);

// Where the file layer finds a path, as file_open_read and dir_examine look for it: as written,
// or only as a spelling that differs in letter case (found then holds that spelling, with "/" as
// separator). type is ENTRY_FILE or ENTRY_DIRECTORY when found. An empty path is ".".
constexpr int32_t PATH_MISSING = 0;
constexpr int32_t PATH_AS_WRITTEN = 1;
constexpr int32_t PATH_WITHOUT_CASE = 2;
int32_t path_examine(const std::string& path, std::string& found, int32_t& type);

// Both end with the native separator.
std::string current_directory();
std::string home_directory();

// ---- The player's own files ----------------------------------------------------------------

// Where replays and score tables live ($XDG_DATA_HOME/zorvane/ on Linux) and where the settings
// live ($XDG_CONFIG_HOME/zorvane/, else ~/.config/zorvane/). Created when missing; each ends with
// "/", and is empty when it cannot be made.
std::string player_data_directory();
std::string player_config_directory();
// Writes bytes to a new file beside path and renames it into place, so path always holds either
// the old or the whole new content. Empty on success, else a message naming the file and cause.
std::string write_file_replacing(const std::string& path, const std::string& bytes);
// Called after the player's files changed, for platforms that must copy them to lasting storage.
void player_files_written();
// Has what was written to the open file descriptor reach the disk without the caller waiting: a
// thread of its own waits. False when an earlier request for the same descriptor failed.
bool file_sync_later(int fd);
// Waits for a request for fd still under way and forgets fd; before closing it. False when the
// last request failed.
bool file_sync_finish(int fd);

// ---- Time --------------------------------------------------------------------------------------

void delay_ms(int32_t ms);
int64_t clock_us();  // a steady clock in microseconds (the origin means nothing)
int64_t date_now();  // seconds
// Tokens %dd, %mm, %yyyy; other characters are copied.
std::string format_date(const std::string& mask, int64_t date);
// The local time of date as strftime writes it; fallback when the date has no local time.
std::string format_local_time(const char* strftime_format, int64_t date, const std::string& fallback);

// ---- The frame loop's host -----------------------------------------------------------------

// Runs pass once a frame until the program ends; never returns. On the desktop the loop is here,
// with the fault recovery point: after a recoverable fault, recovered runs before the next pass.
// In a browser the page owns the loop and calls pass once a frame; there is no recovery (a trap
// ends the module and the page says so).
using FramePass = void (*)();
[[noreturn]] void frames_run(FramePass pass, FramePass recovered);
// Ends the program with this status once its services are closed: the process on the desktop;
// in a browser the frames stop and the page shows that the game has ended.
[[noreturn]] void process_exit(int32_t status);

// ---- Run-time error support --------------------------------------------------------------------

// Fault codes, as the error log names them.
constexpr uint32_t FAULT_NONE = 0;
constexpr uint32_t FAULT_INT_DIVIDE_BY_ZERO = 0xC0000094;
constexpr uint32_t FAULT_ACCESS_VIOLATION = 0xC0000005;
constexpr uint32_t FAULT_PRIVILEGED_INSTRUCTION = 0xC0000096;
constexpr uint32_t FAULT_ILLEGAL_INSTRUCTION = 0xC000001D;
constexpr uint32_t FAULT_STACK_OVERFLOW = 0xC00000FD;
constexpr uint32_t FAULT_FLOAT_DIVIDE_BY_ZERO = 0xC000008E;
constexpr uint32_t FAULT_FLOAT_INVALID = 0xC0000090;
constexpr uint32_t FAULT_BREAKPOINT = 0x80000003;

// The handler runs on the game's thread when a processor fault happens. When it returns after an
// integer division by zero, the faulting frame is abandoned and the game resumes at the frame
// loop's recovery point; after any other fault the program ends with a non-zero status.
using ErrorHandler = void (*)();
void error_handler_register(ErrorHandler handler);
std::string error_message();  // text of the current fault code ("No Error" for none)
std::string error_file();     // module of the faulting code
int32_t error_line();         // its line, 0 when unknown
std::string error_message_for(uint32_t code);

// Records where the game is, so that the log can name a module and line.
void error_position(const char* file, int32_t line);
#define TESSERA_HERE() ::tessera::error_position(__FILE__, __LINE__)

// The frame loop's recovery point. Use as: `if (FAULT_RECOVERY_POINT() != 0) { ... }` at the top
// of each frame; it returns non-zero when a recoverable fault jumped back to it.
sigjmp_buf* fault_recovery_buffer();
void fault_recovery_arm(bool armed);
#define FAULT_RECOVERY_POINT() sigsetjmp(*::tessera::fault_recovery_buffer(), 1)

// ---- Memory ------------------------------------------------------------------------------------

// A block of size bytes that reads as zero. Where the system allows it the block is made of zero
// pages, so creating it costs no time and its untouched pages no memory. nullptr on failure.
void* zeroed_block_alloc(size_t size);
// Returns a block of zeroed_block_alloc with the size it was asked for; nullptr is ignored.
void zeroed_block_free(void* block, size_t size);

// ---- Random numbers ----------------------------------------------------------------------------

// Seeds the generator and returns its last raw word.
int32_t random_seed(int32_t seed);
// Uniform in 0..max; -2147483648 for a negative max. Seeds from the tick count when never seeded.
int32_t random_int(int32_t max);
// The generator's whole state, so that a sequence can go on elsewhere; restoring refuses (false,
// nothing changed) a list that no state gives.
std::vector<uint32_t> random_state();
bool random_state_restore(const std::vector<uint32_t>& state);

}  // namespace tessera

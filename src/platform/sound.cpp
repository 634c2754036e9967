// Sound effects and music through SDL2_mixer: effects decoded whole, several at once, each
// restarting on its own channel; streamed sounds (music) through the mixer's one music stream.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>

namespace tessera {

namespace {

constexpr int FIRST_CHANNELS = 32;
constexpr int MOST_CHANNELS = 512;

struct Sound {
  Mix_Chunk* chunk = nullptr;
  Mix_Music* music = nullptr;  // streamed sounds: decoded while they play
  int channel = -1;  // where it last started; reused when it plays again
  int32_t play_count = 0;
};

HandleTable<Sound> sounds;
enum class Audio { untried, open, failed };
Audio audio = Audio::untried;
int channels = 0;

int32_t music_percent = 100;
int32_t effects_percent = 100;
bool muted = false;

int mixer_volume(int32_t percent) { return muted ? 0 : percent * MIX_MAX_VOLUME / 100; }

// Every channel, new ones too (the mixer starts them at full volume), and the music stream.
void apply_volumes() {
  if (audio != Audio::open) return;
  Mix_Volume(-1, mixer_volume(effects_percent));
  Mix_VolumeMusic(mixer_volume(music_percent));
}

int allocate_channels(int count) {
  const int made = Mix_AllocateChannels(count);
  apply_volumes();
  return made;
}

bool plays_chunk(int channel, const Mix_Chunk* chunk) {
  return channel >= 0 && channel < channels && Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == chunk;
}

void halt_chunk(const Mix_Chunk* chunk) {
  for (int channel = 0; channel < channels; ++channel) {
    if (plays_chunk(channel, chunk)) Mix_HaltChannel(channel);
  }
}

int start_on_free_channel(Mix_Chunk* chunk, int loops) {
  int channel = Mix_PlayChannel(-1, chunk, loops);
  while (channel < 0 && channels < MOST_CHANNELS) {
    channels = allocate_channels(channels * 2);
    channel = Mix_PlayChannel(-1, chunk, loops);
  }
  return channel;
}

// The streamed sound that holds the mixer's music stream, or nullptr.
Mix_Music* music_started = nullptr;

bool music_playing(const Mix_Music* music) {
  return music != nullptr && music == music_started && Mix_PlayingMusic() != 0;
}

void halt_sound(const Sound& sound) {
  if (sound.chunk != nullptr) halt_chunk(sound.chunk);
  if (music_playing(sound.music)) Mix_HaltMusic();
}

}  // namespace

int32_t sound_init() {
  if (audio == Audio::open) return 1;
  if (audio == Audio::failed) return 0;
  // No sound card is no reason to stop the game: sounds then simply do not load.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
      Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    std::fprintf(stderr, "Sound output unavailable: %s\n", Mix_GetError());
    audio = Audio::failed;
    return 0;
  }
  audio = Audio::open;
  channels = allocate_channels(FIRST_CHANNELS);
  return 1;
}

void sound_decoders_register() {
  if ((Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) == 0) std::fprintf(stderr, "OGG decoder: %s\n", Mix_GetError());
}

int32_t sound_load(int32_t handle, const std::string& path) {
  const int32_t id = handle_claim(sounds, handle);
  if (id == 0 || sound_init() == 0) return 0;
  const std::string resolved = resolve_path(path);
  if (const std::string problem = file_problem(resolved); !problem.empty()) {
    report_load_failure(resolved, problem);
    return 0;
  }
  SDL_RWops* source = SDL_RWFromFile(resolved.c_str(), "rb");
  if (source == nullptr) {
    report_load_failure(resolved, SDL_GetError());
    return 0;
  }
  // We close the file ourselves: handed over, it is never closed when its format is unknown.
  Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 0);
  SDL_RWclose(source);
  if (chunk == nullptr) {
    report_load_failure(resolved, Mix_GetError());
    return 0;
  }
  sound_free(id);
  handle_store(sounds, id, Sound{chunk, nullptr, -1, 0});
  return id;
}

int32_t sound_load_streamed(int32_t handle, const std::string& path) {
  const int32_t id = handle_claim(sounds, handle);
  if (id == 0 || sound_init() == 0) return 0;
  // Reads the header only: a file that does not decode fails here.
  const std::string resolved = resolve_path(path);
  if (const std::string problem = file_problem(resolved); !problem.empty()) {
    report_load_failure(resolved, problem);
    return 0;
  }
  Mix_Music* music = Mix_LoadMUS(resolved.c_str());
  if (music == nullptr) {
    report_load_failure(resolved, Mix_GetError());
    return 0;
  }
  sound_free(id);
  handle_store(sounds, id, Sound{nullptr, music, -1, 0});
  return id;
}

void sound_play(int32_t sound, int32_t flags) {
  Sound* found = handle_find(sounds, sound);
  if (found == nullptr) return;
  ++found->play_count;
  const int loops = (flags & SOUND_LOOP) != 0 ? -1 : 0;
  if (found->music != nullptr) {
    // One stream: starting it (again) replaces whatever it played.
    music_started = Mix_PlayMusic(found->music, loops) == 0 ? found->music : nullptr;
    return;
  }
  if ((flags & SOUND_COPY) != 0) {
    start_on_free_channel(found->chunk, loops);
    return;
  }
  halt_chunk(found->chunk);
  const int own = found->channel;
  if (own >= 0 && own < channels && Mix_Playing(own) == 0 && Mix_PlayChannel(own, found->chunk, loops) >= 0) return;
  found->channel = start_on_free_channel(found->chunk, loops);
}

void sound_stop(int32_t sound) {
  if (audio != Audio::open) return;
  if (sound == -1) {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    return;
  }
  if (const Sound* found = handle_find(sounds, sound); found != nullptr) halt_sound(*found);
}

int32_t sound_exists(int32_t sound) { return handle_find(sounds, sound) != nullptr ? 1 : 0; }

void sound_free(int32_t sound) {
  Sound* found = handle_find(sounds, sound);
  if (found == nullptr) return;
  halt_sound(*found);
  if (found->chunk != nullptr) Mix_FreeChunk(found->chunk);
  if (found->music != nullptr) Mix_FreeMusic(found->music);  // halts it when it still plays
  if (found->music == music_started) music_started = nullptr;
  sounds.items.erase(sound);
}

void sound_close_all() {
  if (audio == Audio::open) {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
  }
  for (auto& [id, sound] : sounds.items) {
    if (sound.chunk != nullptr) Mix_FreeChunk(sound.chunk);
    if (sound.music != nullptr) Mix_FreeMusic(sound.music);
  }
  sounds.items.clear();
  music_started = nullptr;
  if (audio == Audio::open) {
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  audio = Audio::untried;
  channels = 0;
  music_percent = effects_percent = 100;
  muted = false;
}

void sound_set_volumes(int32_t music, int32_t effects) {
  music_percent = std::clamp(music, 0, 100);
  effects_percent = std::clamp(effects, 0, 100);
  apply_volumes();
}

void sound_set_muted(bool on) {
  muted = on;
  apply_volumes();
}

bool sound_muted() { return muted; }

int32_t sound_mixer_music_volume() { return audio == Audio::open ? Mix_VolumeMusic(-1) : -1; }
int32_t sound_mixer_effects_volume() { return audio == Audio::open ? Mix_Volume(0, -1) : -1; }

int32_t sound_play_count(int32_t sound) {
  const Sound* found = handle_find(sounds, sound);
  return found == nullptr ? 0 : found->play_count;
}

bool sound_playing(int32_t sound) {
  const Sound* found = handle_find(sounds, sound);
  if (found == nullptr || audio != Audio::open) return false;
  if (found->music != nullptr) return music_playing(found->music);
  for (int channel = 0; channel < channels; ++channel) {
    if (plays_chunk(channel, found->chunk)) return true;
  }
  return false;
}

}  // namespace tessera

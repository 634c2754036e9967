// Where everything lies in the data set, in the "\" notation of the configuration file.
// Paths are relative to the start directory, which is where the game runs.
#pragma once

namespace assets::layout {

inline constexpr const char* kTiles = "DATA\\GFX\\TILES\\";
inline constexpr const char* kObjects = "DATA\\GFX\\OBJECTS\\";
inline constexpr const char* kWorldFloaters = "DATA\\GFX\\FLOATERS\\";
inline constexpr const char* kTitleFloaters = "DATA\\GFX\\TITLEFLOATERS\\";
inline constexpr const char* kScreens = "DATA\\GFX\\SCREENS\\";
inline constexpr const char* kPlayer = "DATA\\GFX\\player.png";
inline constexpr const char* kFont = "DATA\\FONT";  // glyphs are kFont + "\" + name + ".png"
inline constexpr const char* kFontDefinition = "DATA\\FONT\\charset.txt";
inline constexpr const char* kSounds = "DATA\\SFX\\";
inline constexpr const char* kMusic = "DATA\\MUSIC\\";
inline constexpr const char* kLevels = "DATA\\LEVELS\\";
inline constexpr const char* kMapSet = "DEFAULT";  // content files in kLevels + kMapSet + "\"
inline constexpr const char* kBaseLevel = "DATA\\LEVELS\\base.txt";

// Sound file names the configuration and the object types refer to.
inline constexpr const char* kStepSound = "step.ogg";
inline constexpr const char* kFixedSound = "fixed.ogg";
inline constexpr const char* kPinkFixedSound = "pinkfixed.ogg";
inline constexpr const char* kExplosionSound = "explosion.ogg";
inline constexpr const char* kTimerSound = "timer.ogg";
inline constexpr const char* kVoice1Sound = "voice1.ogg";
inline constexpr const char* kVoice2Sound = "voice2.ogg";

}  // namespace assets::layout

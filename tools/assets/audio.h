// Sound synthesis for the data set: mono float buffers at one sample rate, encoded to OGG Vorbis.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

inline constexpr int kRate = 22050;

using Buffer = std::vector<float>;

enum class Wave { Sine, Square, Triangle, Saw, Noise };

// Deterministic white noise source shared by the instruments.
float noise_sample(uint32_t& state);

// Adds a tone into buf starting at sample `start` (wrapping around the end when wrap is true,
// so loops stay seamless): frequency glides from f0 to f1, amplitude follows an attack/decay
// envelope, and a one-pole low-pass softens harsh waves.
struct Tone {
  Wave wave = Wave::Sine;
  double f0 = 440, f1 = 440;
  double length = 0.2;      // seconds
  double attack = 0.005;    // seconds
  double release = 0.1;     // seconds of fade at the end
  double decay = 0.0;       // exponential decay rate per second (0 = hold)
  double amp = 0.5;
  double lowpass = 1.0;     // 0..1 smoothing factor, 1 = none
  double vibrato = 0.0;     // depth in semitones
};
void add_tone(Buffer& buf, double start_seconds, const Tone& t, bool wrap = false);

// Scales the buffer so its loudest sample has this magnitude.
void normalise(Buffer& buf, float peak);
// Encodes at the given Vorbis quality (-0.1 .. 1.0) to output_root + relative.
void write_ogg(const std::string& relative, const Buffer& buf, float quality);

double note_hz(int midi);

}  // namespace assets

// Looping music: a small sequencer renders bass, arpeggio, lead and drums into a buffer of
// exactly the loop's length; notes that ring past the end wrap to the start, so the loop seam
// is silent.
#include <string>
#include <vector>

#include "audio.h"
#include "canvas.h"
#include "generators.h"
#include "layout.h"

namespace assets {

namespace {

struct Song {
  const char* file;
  double bpm;
  int root;                     // midi note of the key's tonic, octave 3
  std::vector<int> progression; // chord roots in semitones above the tonic, one a bar
  bool minor;
  bool drums;
  uint64_t seed;
};

std::vector<int> chord_tones(int root, bool minor) {
  return {root, root + (minor ? 3 : 4), root + 7};
}

Buffer render(const Song& s) {
  const double beat = 60.0 / s.bpm, bar = 4 * beat;
  const int bars = int(s.progression.size());
  Buffer b(size_t(bars * bar * kRate), 0.0f);
  Noise rng(s.seed);
  const int scale_major[] = {0, 2, 4, 5, 7, 9, 11}, scale_minor[] = {0, 2, 3, 5, 7, 8, 10};
  const int* scale = s.minor ? scale_minor : scale_major;
  int lead_step = 0;  // position in the scale, two octaves up
  for (int i = 0; i < bars; ++i) {
    const int step_in_key = s.progression[size_t(i)];
    const int chord_root = s.root + step_in_key;
    // A chord is minor when its third from the key's scale is a minor third.
    bool chord_minor = s.minor;
    for (int k = 0; k < 7; ++k)
      if (scale[k] == ((step_in_key % 12) + 12) % 12)
        chord_minor = (scale[(k + 2) % 7] - scale[k] + 12) % 12 == 3;
    const auto tones = chord_tones(chord_root, chord_minor);
    const double t0 = i * bar;
    // Pad: the chord held through the bar.
    for (int n : tones)
      add_tone(b, t0, {Wave::Triangle, note_hz(n + 12), note_hz(n + 12), bar * 1.05, 0.15, 0.3, 0.2,
                       0.09, 0.2, 0.05}, true);
    // Bass on the eighths, root and fifth.
    for (int e = 0; e < 8; ++e) {
      const int n = (e % 4 == 2 ? tones[2] : tones[0]) - 12;
      add_tone(b, t0 + e * beat / 2, {Wave::Triangle, note_hz(n), note_hz(n), beat * 0.45, 0.004,
                                      0.05, 3, s.drums ? 0.38 : 0.25, 0.5, 0}, true);
    }
    // Arpeggio on the sixteenths.
    for (int q = 0; q < 16; ++q) {
      const int n = tones[size_t(q % 3)] + 24 + (q % 6 >= 3 ? 12 : 0);
      add_tone(b, t0 + q * beat / 4, {Wave::Square, note_hz(n), note_hz(n), beat * 0.22, 0.003, 0.04,
                                      12, 0.07, 0.25, 0}, true);
    }
    // Lead: a wandering line that lands on chord tones at the start of each half bar.
    for (int e = 0; e < 8; ++e) {
      if (rng.unit() < (e % 4 == 0 ? 0.05 : 0.35)) continue;
      int move = int(rng.range(-2.0, 2.99));
      lead_step = std::max(0, std::min(13, lead_step + move));
      int n = s.root + 24 + scale[lead_step % 7] + 12 * (lead_step / 7);
      if (e % 4 == 0) {
        n = tones[size_t(rng.next() % 3)] + 24;
        lead_step = 4;  // back to the middle of the range after each landing
      }
      const double len = beat * (e % 4 == 0 ? 0.9 : 0.45);
      add_tone(b, t0 + e * beat / 2, {Wave::Saw, note_hz(n), note_hz(n), len, 0.01, 0.08, 1.5,
                                      0.12, 0.18, 0.12}, true);
    }
    if (!s.drums) continue;
    for (int q = 0; q < 4; ++q) {
      const double t = t0 + q * beat;
      add_tone(b, t, {Wave::Sine, 130, 45, 0.18, 0.002, 0.05, 14, 0.55, 1, 0}, true);
      if (q % 2 == 1)
        add_tone(b, t, {Wave::Noise, 1, 1, 0.14, 0.001, 0.06, 22, 0.28, 0.45, 0}, true);
      add_tone(b, t + beat / 2, {Wave::Noise, 1, 1, 0.035, 0.001, 0.02, 60, 0.09, 0.9, 0}, true);
    }
  }
  normalise(b, 0.7f);
  return b;
}

}  // namespace

void write_music() {
  const Song songs[] = {
      // The title's calm theme; it also takes its turn among the level tracks.
      {"menu.ogg", 84, 57, {0, 0, 5, 5, 3, 3, 7, 7, 0, 0, 8, 8, 5, 5, 7, 7}, true, false, 11},
      {"labyrinth.ogg", 128, 50, {0, 5, 7, 0, 0, 5, 9, 7, 5, 7, 0, 9, 5, 7, 0, 0}, false, true, 21},
      {"undertow.ogg", 112, 52, {0, 8, 3, 10, 0, 8, 5, 7, 0, 8, 3, 10, 5, 3, 7, 7}, true, true, 31},
  };
  for (const auto& s : songs) write_ogg(std::string(layout::kMusic) + s.file, render(s), 0.0f);
}

}  // namespace assets

// Sound effects and the two intro jingles. The step sound plays on every player step and every
// foe sub-step, so it is a very short, soft tick.
#include <string>

#include "audio.h"
#include "generators.h"
#include "layout.h"

namespace assets {

namespace {

void save(const char* name, Buffer buf, float peak) {
  normalise(buf, peak);
  write_ogg(std::string(layout::kSounds) + name, buf, 0.3f);
}

Buffer step() {
  Buffer b;
  add_tone(b, 0, {Wave::Sine, 900, 600, 0.045, 0.002, 0.02, 40, 0.6, 1.0, 0});
  add_tone(b, 0, {Wave::Noise, 1, 1, 0.02, 0.001, 0.015, 120, 0.15, 0.25, 0});
  return b;
}

Buffer fixed() {
  Buffer b;
  add_tone(b, 0, {Wave::Sine, note_hz(84), note_hz(84), 0.35, 0.003, 0.1, 9, 0.5, 1, 0});
  add_tone(b, 0.05, {Wave::Sine, note_hz(91), note_hz(91), 0.3, 0.003, 0.1, 10, 0.35, 1, 0});
  add_tone(b, 0, {Wave::Triangle, note_hz(72), note_hz(72), 0.2, 0.003, 0.1, 14, 0.2, 1, 0});
  return b;
}

Buffer pink_fixed() {
  Buffer b;
  add_tone(b, 0, {Wave::Square, note_hz(55), note_hz(52), 0.3, 0.004, 0.12, 8, 0.4, 0.2, 0});
  add_tone(b, 0, {Wave::Square, note_hz(56), note_hz(53), 0.3, 0.004, 0.12, 8, 0.3, 0.2, 0});
  return b;
}

Buffer explosion() {
  Buffer b;
  add_tone(b, 0, {Wave::Noise, 1, 1, 0.9, 0.004, 0.4, 4.5, 0.9, 0.12, 0});
  add_tone(b, 0, {Wave::Sine, 110, 35, 0.5, 0.004, 0.2, 6, 0.8, 1, 0});
  add_tone(b, 0, {Wave::Noise, 1, 1, 0.12, 0.001, 0.05, 20, 0.5, 0.6, 0});
  return b;
}

Buffer timer() {
  Buffer b;
  add_tone(b, 0, {Wave::Square, 1046, 1046, 0.09, 0.002, 0.03, 20, 0.4, 0.35, 0});
  add_tone(b, 0, {Wave::Sine, 2093, 2093, 0.06, 0.002, 0.03, 30, 0.2, 1, 0});
  return b;
}

Buffer arpeggio(const int* notes, int count, double gap, Wave wave, double decay) {
  Buffer b;
  for (int i = 0; i < count; ++i)
    add_tone(b, i * gap, {wave, note_hz(notes[i]), note_hz(notes[i]), 0.25, 0.003, 0.1, decay, 0.5, 0.5, 0});
  return b;
}

Buffer pickup() {
  const int notes[] = {76, 79, 84, 88};
  return arpeggio(notes, 4, 0.045, Wave::Square, 10);
}

Buffer bomb_pickup() {
  Buffer b;
  add_tone(b, 0, {Wave::Noise, 1, 1, 0.05, 0.001, 0.03, 40, 0.4, 0.7, 0});
  add_tone(b, 0, {Wave::Triangle, note_hz(57), note_hz(45), 0.22, 0.003, 0.1, 8, 0.7, 1, 0});
  add_tone(b, 0.02, {Wave::Sine, note_hz(81), note_hz(81), 0.15, 0.002, 0.08, 18, 0.25, 1, 0});
  return b;
}

Buffer time_pickup() {
  Buffer b;
  for (int i = 0; i < 2; ++i)
    add_tone(b, i * 0.12, {Wave::Sine, note_hz(88), note_hz(88), 0.4, 0.002, 0.2, 7, 0.5, 1, 0});
  add_tone(b, 0, {Wave::Sine, note_hz(100), note_hz(100), 0.3, 0.002, 0.2, 12, 0.15, 1, 0});
  return b;
}

// First jingle: a swelling brass-like chord that resolves upwards.
Buffer voice1() {
  Buffer b;
  const int chord1[] = {55, 62, 67, 71}, chord2[] = {57, 64, 69, 73};
  for (int n : chord1)
    add_tone(b, 0, {Wave::Saw, note_hz(n), note_hz(n), 0.9, 0.25, 0.3, 0.5, 0.25, 0.08, 0.08});
  for (int n : chord2)
    add_tone(b, 0.8, {Wave::Saw, note_hz(n), note_hz(n), 1.5, 0.05, 0.9, 0.8, 0.28, 0.08, 0.1});
  add_tone(b, 0.8, {Wave::Sine, note_hz(45), note_hz(45), 1.4, 0.02, 0.8, 1.0, 0.5, 1, 0});
  return b;
}

// Second jingle: a sparkling run over a low bell.
Buffer voice2() {
  Buffer b;
  const int run[] = {69, 73, 76, 81, 85, 88, 93};
  for (int i = 0; i < 7; ++i)
    add_tone(b, i * 0.07, {Wave::Triangle, note_hz(run[i]), note_hz(run[i]), 0.6, 0.003, 0.3, 5, 0.35, 0.6, 0});
  add_tone(b, 0, {Wave::Sine, note_hz(57), note_hz(57), 1.6, 0.005, 0.8, 2.2, 0.6, 1, 0});
  add_tone(b, 0, {Wave::Sine, note_hz(64) * 2.01, note_hz(64) * 2.01, 1.2, 0.005, 0.6, 3, 0.2, 1, 0});
  return b;
}

}  // namespace

void write_sounds() {
  save(layout::kStepSound, step(), 0.22f);
  save(layout::kFixedSound, fixed(), 0.55f);
  save(layout::kPinkFixedSound, pink_fixed(), 0.45f);
  save(layout::kExplosionSound, explosion(), 0.9f);
  save(layout::kTimerSound, timer(), 0.5f);
  save("pickup.ogg", pickup(), 0.55f);
  save("bombpickup.ogg", bomb_pickup(), 0.6f);
  save("timepickup.ogg", time_pickup(), 0.55f);
  save(layout::kVoice1Sound, voice1(), 0.8f);
  save(layout::kVoice2Sound, voice2(), 0.8f);
}

}  // namespace assets

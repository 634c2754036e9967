// Delays, dates and the seeded random generator.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <chrono>
#include <ctime>
#include <thread>
#include <algorithm>
#include <iterator>

namespace tessera {

bool real_delays = true;
int64_t delay_total_ms = 0;
int64_t clock_us_fixed = -1;

namespace {

// The generator: 17 pairs of words and two pair indices walking down the table together.
constexpr int PAIRS = 17;
uint32_t words[PAIRS * 2] = {};
int pair_p = 0;
int pair_q = 10;
bool seeded = false;

uint32_t rotate_left(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

struct Step {
  uint32_t low;
  uint32_t high;
};

Step random_step() {
  const uint32_t a = words[2 * pair_p];
  const uint32_t b = words[2 * pair_p + 1];
  const uint32_t low = rotate_left(b, 27) + words[2 * pair_q + 1];
  const uint32_t high = rotate_left(a, 19) + words[2 * pair_q];
  words[2 * pair_p] = low;
  words[2 * pair_p + 1] = high;
  pair_p = pair_p == 0 ? PAIRS - 1 : pair_p - 1;
  pair_q = pair_q == 0 ? PAIRS - 1 : pair_q - 1;
  return {low, high};
}

std::string two_digits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10 % 10)) + static_cast<char>('0' + value % 10);
}

}  // namespace

void delay_ms(int32_t ms) {
  if (ms <= 0) return;
  delay_total_ms += ms;
  // A page that sleeps freezes the browser's tab; the browser paces the game there.
  if (real_delays && !PLATFORM_WEB) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t clock_us() {
  if (clock_us_fixed >= 0) return clock_us_fixed;
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
}

int64_t date_now() { return static_cast<int64_t>(std::time(nullptr)); }

std::string format_date(const std::string& mask, int64_t date) {
  const std::time_t when = static_cast<std::time_t>(date);
  std::tm local {};
  if (localtime_r(&when, &local) == nullptr) return mask;
  std::string out;
  for (size_t i = 0; i < mask.size();) {
    if (mask.compare(i, 5, "%yyyy") == 0) {
      const int year = local.tm_year + 1900;
      out += two_digits(year / 100) + two_digits(year % 100);
      i += 5;
    } else if (mask.compare(i, 3, "%mm") == 0) {
      out += two_digits(local.tm_mon + 1);
      i += 3;
    } else if (mask.compare(i, 3, "%dd") == 0) {
      out += two_digits(local.tm_mday);
      i += 3;
    } else {
      out += mask[i++];
    }
  }
  return out;
}

std::string format_local_time(const char* strftime_format, int64_t date, const std::string& fallback) {
  const std::time_t when = static_cast<std::time_t>(date);
  std::tm local {};
  char text[64];
  if (localtime_r(&when, &local) == nullptr || std::strftime(text, sizeof text, strftime_format, &local) == 0) {
    return fallback;
  }
  return text;
}

int32_t random_seed(int32_t seed) {
  seeded = true;
  uint32_t x = static_cast<uint32_t>(seed);
  for (uint32_t& word : words) {
    x = x * 0xAC564B05u + 1u;
    word = x;
  }
  pair_p = 0;
  pair_q = 10;
  Step last {};
  for (int i = 0; i < 31; ++i) last = random_step();
  return static_cast<int32_t>(last.low);
}

int32_t random_int(int32_t max) {
  if (!seeded) random_seed(static_cast<int32_t>(SDL_GetTicks()));
  const Step step = random_step();
  if (max < 0) return INT32_MIN;
  const uint64_t range = static_cast<uint64_t>(max) + 1;
  const uint64_t partial = static_cast<uint64_t>(step.high) * range + ((static_cast<uint64_t>(step.low) * range) >> 32);
  return static_cast<int32_t>(partial >> 32);
}

std::vector<uint32_t> random_state() {
  std::vector<uint32_t> state(std::begin(words), std::end(words));
  state.push_back(static_cast<uint32_t>(pair_p));
  state.push_back(static_cast<uint32_t>(pair_q));
  state.push_back(seeded ? 1u : 0u);
  return state;
}

bool random_state_restore(const std::vector<uint32_t>& state) {
  constexpr size_t size = PAIRS * 2 + 3;
  if (state.size() != size || state[PAIRS * 2] >= PAIRS || state[PAIRS * 2 + 1] >= PAIRS || state[size - 1] > 1) {
    return false;
  }
  std::copy(state.begin(), state.begin() + PAIRS * 2, std::begin(words));
  pair_p = static_cast<int>(state[PAIRS * 2]);
  pair_q = static_cast<int>(state[PAIRS * 2 + 1]);
  seeded = state[size - 1] == 1;
  return true;
}

}  // namespace tessera

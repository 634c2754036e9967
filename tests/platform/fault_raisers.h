// Real processor faults for tests that run them in child processes. The sanitizer's own checks
// would report them first, so they are built without them.
#pragma once

#include <cstdio>

namespace faultraisers {

inline volatile int zero = 0;
inline volatile int numerator = 100;
inline int* volatile null_pointer = nullptr;

__attribute__((no_sanitize("undefined"))) inline void divide_by_zero() { std::fprintf(stderr, "%d", numerator / zero); }
__attribute__((no_sanitize("undefined"))) inline void write_through_null() { *null_pointer = 1; }

}  // namespace faultraisers

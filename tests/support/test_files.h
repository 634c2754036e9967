// Small real data files written by tests: a temporary start directory, text files, PNG images
// and OGG Vorbis sounds, so every test shows its own inputs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testfiles {

// A fresh empty directory under the system's temporary directory, ending in "/".
// Removed with everything in it when the object goes out of scope.
struct TempDir {
  std::string path;
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // path + relative (relative uses "/"); parent directories are created.
  std::string file(const std::string& relative) const;
};

void make_dirs(const std::string& path);
// Writes the bytes exactly as given (use "\r\n" etc. yourself).
void write_text(const std::string& path, const std::string& bytes);
// Joins lines with "\r\n" (and ends with one).
void write_lines(const std::string& path, const std::vector<std::string>& lines);
std::string read_all(const std::string& path);

// A width x height PNG filled with one RGBA colour (colour packed as r + g*256 + b*65536).
void write_png(const std::string& path, int32_t width, int32_t height, int32_t colour, uint8_t alpha = 255);
// A PNG from RGBA bytes (row-major, 4 bytes a pixel).
void write_png_pixels(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& rgba);
// A PNG whose pixel (x, y) is pixel(x, y).
using Rgba = std::array<uint8_t, 4>;
void write_png_drawn(const std::string& path, int32_t width, int32_t height,
                     const std::function<Rgba(int32_t x, int32_t y)>& pixel);
// A mono OGG Vorbis sine tone of the given length.
void write_ogg(const std::string& path, double seconds = 0.2, double frequency = 440.0);

}  // namespace testfiles

#include "support/test_files.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "audio.h"

namespace testfiles {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "zorvane-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path, ec);
}

std::string TempDir::file(const std::string& relative) const {
  const std::string full = path + relative;
  make_dirs(fs::path(full).parent_path().string());
  return full;
}

void make_dirs(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
}

void write_text(const std::string& path, const std::string& bytes) {
  make_dirs(fs::path(path).parent_path().string());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

void write_lines(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  write_text(path, bytes);
}

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_png_pixels(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& rgba) {
  make_dirs(fs::path(path).parent_path().string());
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) throw std::runtime_error(SDL_GetError());
  for (int32_t y = 0; y < height; ++y) {
    auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
    for (int32_t i = 0; i < width * 4; ++i) row[i] = rgba[static_cast<size_t>(y * width * 4 + i)];
  }
  const int result = IMG_SavePNG(surface, path.c_str());
  SDL_FreeSurface(surface);
  if (result != 0) throw std::runtime_error(IMG_GetError());
}

void write_png_drawn(const std::string& path, int32_t width, int32_t height,
                     const std::function<Rgba(int32_t x, int32_t y)>& pixel) {
  std::vector<uint8_t> rgba;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const Rgba p = pixel(x, y);
      rgba.insert(rgba.end(), p.begin(), p.end());
    }
  }
  write_png_pixels(path, width, height, rgba);
}

void write_png(const std::string& path, int32_t width, int32_t height, int32_t colour, uint8_t alpha) {
  std::vector<uint8_t> rgba(static_cast<size_t>(width * height * 4));
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = static_cast<uint8_t>(colour & 0xFF);
    rgba[i + 1] = static_cast<uint8_t>((colour >> 8) & 0xFF);
    rgba[i + 2] = static_cast<uint8_t>((colour >> 16) & 0xFF);
    rgba[i + 3] = alpha;
  }
  write_png_pixels(path, width, height, rgba);
}

void write_ogg(const std::string& path, double seconds, double frequency) {
  // The data set's generator encodes its sounds the same way.
  assets::Buffer buffer;
  assets::Tone tone;
  tone.f0 = tone.f1 = frequency;
  tone.length = seconds;
  assets::add_tone(buffer, 0.0, tone);
  assets::write_ogg(path, buffer, 0.1f);
}

}  // namespace testfiles

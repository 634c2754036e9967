// Decoding images with a size check first, and the one line on standard error that names a file
// the game could not load.
#include <SDL_image.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/platform_internal.h"

namespace tessera {

namespace {

std::set<std::string> reported;  // files (and decoder lines about loaded files) named this run
bool reports_on = true;

// The line, when nothing was said under key this run.
void print_once(const std::string& key, const std::string& line) {
  if (!reports_on || !reported.insert(key).second) return;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

uint32_t big16(const uint8_t* b) { return static_cast<uint32_t>(b[0] << 8 | b[1]); }
uint32_t little16(const uint8_t* b) { return static_cast<uint32_t>(b[1] << 8 | b[0]); }
uint32_t big32(const uint8_t* b) { return big16(b) << 16 | big16(b + 2); }
uint32_t little32(const uint8_t* b) { return little16(b + 2) << 16 | little16(b); }

struct Size {
  int64_t width = 0;
  int64_t height = 0;
};

// JPEG: the first start-of-frame marker holds the size; other segments are skipped by length.
bool jpeg_size(std::ifstream& in, Size& size) {
  in.seekg(2);
  std::array<uint8_t, 9> b {};
  for (int32_t segments = 0; segments < 1000; ++segments) {
    if (!in.read(reinterpret_cast<char*>(b.data()), 4) || b[0] != 0xFF) return false;
    const uint8_t marker = b[1];
    const uint32_t length = big16(&b[2]);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (!in.read(reinterpret_cast<char*>(b.data()), 5)) return false;
      size = {big16(&b[3]), big16(&b[1])};
      return true;
    }
    if (length < 2) return false;
    in.seekg(length - 2, std::ios::cur);
  }
  return false;
}

// TIFF: the first directory's ImageWidth (256) and ImageLength (257) entries.
bool tiff_size(std::ifstream& in, const uint8_t* head, Size& size) {
  const bool little = head[0] == 'I';
  auto u16 = [little](const uint8_t* b) { return little ? little16(b) : big16(b); };
  auto u32 = [little](const uint8_t* b) { return little ? little32(b) : big32(b); };
  in.seekg(u32(head + 4));
  std::array<uint8_t, 12> b {};
  if (!in.read(reinterpret_cast<char*>(b.data()), 2)) return false;
  const uint32_t entries = u16(b.data());
  for (uint32_t n = 0; n < entries && n < 1000; ++n) {
    if (!in.read(reinterpret_cast<char*>(b.data()), 12)) return false;
    const uint32_t tag = u16(b.data());
    const uint32_t value = u16(&b[2]) == 3 ? u16(&b[8]) : u32(&b[8]);  // SHORT or LONG
    if (tag == 256) size.width = value;
    if (tag == 257) size.height = value;
  }
  return size.width > 0 || size.height > 0;
}

// The size an image file's header claims, without decoding it: PNG, JPEG, BMP, GIF, TIFF, and
// TGA for files with none of their signatures. False when the header gives no size.
bool header_size(const std::string& path, Size& size) {
  std::ifstream in(path, std::ios::binary);
  std::array<uint8_t, 26> h {};
  if (!in.read(reinterpret_cast<char*>(h.data()), h.size())) return false;
  if (h[0] == 0x89 && h[1] == 'P' && h[2] == 'N' && h[3] == 'G') {
    size = {big32(&h[16]), big32(&h[20])};
    return true;
  }
  if (h[0] == 0xFF && h[1] == 0xD8) return jpeg_size(in, size);
  if (h[0] == 'B' && h[1] == 'M') {
    if (little32(&h[14]) == 12) {
      size = {little16(&h[18]), little16(&h[20])};
    } else {
      const auto height = static_cast<int32_t>(little32(&h[22]));
      size = {static_cast<int32_t>(little32(&h[18])), height < 0 ? -static_cast<int64_t>(height) : height};
    }
    return true;
  }
  if (h[0] == 'G' && h[1] == 'I' && h[2] == 'F') {
    size = {little16(&h[6]), little16(&h[8])};
    return true;
  }
  if ((h[0] == 'I' && h[1] == 'I' && h[2] == 42) || (h[0] == 'M' && h[1] == 'M' && h[3] == 42)) {
    return tiff_size(in, h.data(), size);
  }
  // TGA has no signature: only a header that a TGA reader would take gives a size.
  const bool tga_type = h[2] == 1 || h[2] == 2 || h[2] == 3 || h[2] == 9 || h[2] == 10 || h[2] == 11;
  const bool tga_depth = h[16] == 8 || h[16] == 15 || h[16] == 16 || h[16] == 24 || h[16] == 32;
  if (h[1] > 1 || !tga_type || !tga_depth) return false;
  size = {little16(&h[12]), little16(&h[14])};
  return true;
}

// Standard error is taken into a file while a decoder runs, so that what libpng or libtiff print
// can be given with the file's name instead of on a bare line. One file serves every decode.
struct DecoderMessages {
  int saved = -1;
  static std::FILE* sink() {
    static std::FILE* file = std::tmpfile();
    return file;
  }
  DecoderMessages() {
#if defined(__unix__) || defined(__APPLE__)
    if (sink() == nullptr) return;
    std::fflush(stderr);
    if (ftruncate(fileno(sink()), 0) != 0) return;
    std::rewind(sink());
    saved = dup(STDERR_FILENO);
    if (saved >= 0 && dup2(fileno(sink()), STDERR_FILENO) < 0) restore();
#endif
  }
  ~DecoderMessages() { restore(); }
  DecoderMessages(const DecoderMessages&) = delete;
  DecoderMessages& operator=(const DecoderMessages&) = delete;
  void restore() {
#if defined(__unix__) || defined(__APPLE__)
    if (saved >= 0) {
      std::fflush(stderr);
      dup2(saved, STDERR_FILENO);
      close(saved);
      saved = -1;
    }
#endif
  }
  // Every line the decoders printed.
  std::vector<std::string> lines() {
    const bool captured = saved >= 0;
    restore();
    std::vector<std::string> found;
    if (!captured) return found;
    std::rewind(sink());
    std::array<char, 512> buffer {};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), sink()) != nullptr) {
      std::string line = buffer.data();
      while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
      if (!line.empty()) found.push_back(line);
    }
    return found;
  }
};

}  // namespace

std::string file_problem(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return "no such file";
  if (status.type() == std::filesystem::file_type::directory) return "a directory, not a file";
  return "";
}

void report_load_failure(const std::string& path, const std::string& reason) { print_once(path, path + ": " + reason); }

SDL_Surface* image_decode(const std::string& path) {
  if (const std::string problem = file_problem(path); !problem.empty()) {
    report_load_failure(path, problem);
    return nullptr;
  }
  Size size;
  if (header_size(path, size) &&
      (size.width > IMAGE_SIDE_LIMIT || size.height > IMAGE_SIDE_LIMIT || size.width * size.height > IMAGE_PIXEL_LIMIT)) {
    report_load_failure(path, "image too large (" + std::to_string(size.width) + " x " +
                                  std::to_string(size.height) + "), not loaded");
    return nullptr;
  }
  DecoderMessages messages;
  SDL_Surface* decoded = IMG_Load(path.c_str());
  std::string reason = decoded == nullptr ? IMG_GetError() : "";
  if (decoded == nullptr) {
    // TGA has no signature, so IMG_Load only tries it for a ".tga" name.
    if (SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb"); file != nullptr) {
      decoded = IMG_LoadTGA_RW(file);
      SDL_RWclose(file);
    }
  }
  const std::vector<std::string> printed = messages.lines();
  if (decoded != nullptr) {
    for (const std::string& line : printed) print_once(path + "\n" + line, path + ": " + line);
    return decoded;
  }
  // The decoder's own words say more than SDL_image's summary of them.
  if (!printed.empty()) reason = printed.back();
  report_load_failure(path, reason.empty() ? "not an image this game can read" : reason);
  return nullptr;
}

void load_reports_forget() { reported.clear(); }

void load_reports_enable(bool on) { reports_on = on; }

}  // namespace tessera

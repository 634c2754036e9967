#include "support/test_files.h"

#include <SDL.h>
#include <SDL_image.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

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
  make_dirs(fs::path(path).parent_path().string());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) throw std::runtime_error("cannot write " + path);
  const long rate = 22050;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 1, rate, 0.1f) != 0) throw std::runtime_error("vorbis init");
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1);
  ogg_packet header, header_comm, header_code;
  vorbis_analysis_headerout(&vd, &vc, &header, &header_comm, &header_code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &header_comm);
  ogg_stream_packetin(&os, &header_code);
  ogg_page og;
  while (ogg_stream_flush(&os, &og) != 0) {
    std::fwrite(og.header, 1, static_cast<size_t>(og.header_len), out);
    std::fwrite(og.body, 1, static_cast<size_t>(og.body_len), out);
  }
  const long total = static_cast<long>(seconds * rate);
  long done = 0;
  bool eos = false;
  while (!eos) {
    const long chunk = std::min<long>(1024, total - done);
    if (chunk > 0) {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
      for (long i = 0; i < chunk; ++i)
        buffer[0][i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * frequency * static_cast<double>(done + i) / rate));
      vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
      done += chunk;
    } else {
      vorbis_analysis_wrote(&vd, 0);
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op) != 0) {
        ogg_stream_packetin(&os, &op);
        while (!eos && ogg_stream_pageout(&os, &og) != 0) {
          std::fwrite(og.header, 1, static_cast<size_t>(og.header_len), out);
          std::fwrite(og.body, 1, static_cast<size_t>(og.body_len), out);
          if (ogg_page_eos(&og) != 0) eos = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  std::fclose(out);
}

}  // namespace testfiles

#include "audio.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files.h"

namespace assets {

float noise_sample(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return float(int32_t(state >> 8) - (1 << 23)) / float(1 << 23);
}

double note_hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void add_tone(Buffer& buf, double start_seconds, const Tone& t, bool wrap) {
  const size_t n = size_t(t.length * kRate);
  const long start = long(std::lround(start_seconds * kRate));
  uint32_t noise_state = uint32_t(t.f0 * 1000 + t.length * 77);
  double phase = 0, smooth = 0;
  for (size_t i = 0; i < n; ++i) {
    const double time = double(i) / kRate, k = double(i) / double(n);
    double f = t.f0 * std::pow(t.f1 / t.f0, k);
    if (t.vibrato > 0) f *= std::pow(2.0, t.vibrato / 12.0 * std::sin(2 * M_PI * 5.5 * time));
    phase += f / kRate;
    phase -= std::floor(phase);
    double v = 0;
    switch (t.wave) {
      case Wave::Sine: v = std::sin(2 * M_PI * phase); break;
      case Wave::Square: v = phase < 0.5 ? 0.7 : -0.7; break;
      case Wave::Triangle: v = 4 * std::fabs(phase - 0.5) - 1; break;
      case Wave::Saw: v = 2 * phase - 1; break;
      case Wave::Noise: v = noise_sample(noise_state); break;
    }
    smooth += (v - smooth) * t.lowpass;
    double env = t.amp;
    if (time < t.attack) env *= time / t.attack;
    if (t.decay > 0) env *= std::exp(-t.decay * time);
    const double left = t.length - time;
    if (left < t.release) env *= std::max(0.0, left / t.release);
    long at = start + long(i);
    if (wrap) at %= long(buf.size());
    else if (at >= long(buf.size())) buf.resize(size_t(at) + 1, 0.0f);
    buf[size_t(at)] += float(smooth * env);
  }
}

void normalise(Buffer& buf, float peak) {
  float loudest = 0;
  for (float s : buf) loudest = std::max(loudest, std::fabs(s));
  if (loudest <= 0) return;
  for (float& s : buf) s *= peak / loudest;
}

void write_ogg(const std::string& relative, const Buffer& buf, float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, kRate, quality) != 0) fail("vorbis encoder refused " + relative);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", relative.c_str());
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x5A4F5256);  // a fixed serial keeps the files identical run to run

  std::string bytes;
  ogg_page page;
  auto take_page = [&bytes, &page] {
    bytes.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    bytes.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
  };
  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  while (ogg_stream_flush(&stream, &page) != 0) take_page();

  size_t fed = 0;
  bool done = false;
  while (!done) {
    const size_t chunk = std::min<size_t>(4096, buf.size() - fed);
    if (chunk == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** in = vorbis_analysis_buffer(&dsp, int(chunk));
      for (size_t i = 0; i < chunk; ++i) in[0][i] = std::clamp(buf[fed + i], -1.0f, 1.0f);
      vorbis_analysis_wrote(&dsp, int(chunk));
      fed += chunk;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          take_page();
          if (ogg_page_eos(&page)) done = true;
        }
      }
    }
    if (chunk == 0) done = true;
  }
  while (ogg_stream_flush(&stream, &page) != 0) take_page();
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  write_bytes(relative, bytes);
}

}  // namespace assets

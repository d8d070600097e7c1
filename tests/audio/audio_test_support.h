#pragma once

// Test signals for the audio tests: PCM made up in place, encoded to Ogg Vorbis with
// libvorbisenc or wrapped in WAVE bytes, and decoded back for comparison.

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "audio/vorbis_io.h"
#include "platform/audio.h"
#include "res/resource_stream.h"

// A gliding tone under a slow swell, so no stretch of it repeats within the track and a
// shifted or repeated piece shows in a comparison.
inline std::vector<int16_t> glide(uint32_t frames, int channels, uint32_t rate) {
  std::vector<int16_t> pcm(static_cast<size_t>(frames) * channels);
  double phase = 0.0;
  for (uint32_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / frames;
    phase += 2.0 * M_PI * (220.0 + 440.0 * t) / rate;
    double amplitude = 6000.0 + 14000.0 * t;
    for (int c = 0; c < channels; ++c) {
      pcm[static_cast<size_t>(i) * channels + c] =
          static_cast<int16_t>(amplitude * std::sin(phase + c * 0.7));
    }
  }
  return pcm;
}

inline void appendPage(std::string& out, const ogg_page& page) {
  out.append(reinterpret_cast<const char*>(page.header), page.header_len);
  out.append(reinterpret_cast<const char*>(page.body), page.body_len);
}

// Ogg Vorbis bytes of interleaved 16-bit PCM; the same input always gives the same bytes.
inline std::string encodeOgg(const std::vector<int16_t>& pcm, int channels, uint32_t rate) {
  vorbis_info info;
  vorbis_info_init(&info);
  std::string out;
  if (vorbis_encode_init_vbr(&info, channels, static_cast<long>(rate), 0.4f) != 0) return out;
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1234);
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);
  size_t frames = pcm.size() / channels;
  for (size_t done = 0; done <= frames;) {
    size_t n = std::min<size_t>(1024, frames - done);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) buffer[c][i] = pcm[(done + i) * channels + c] / 32768.0f;
      }
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));
    done += n == 0 ? 1 : n;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) appendPage(out, page);
      }
    }
  }
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

// The whole track as the game's decoder delivers it: 16-bit little-endian signed bytes.
inline std::vector<uint8_t> decodeOggBytes(std::istream& in) {
  ResourceStream stream;
  stream.attach(in);
  OggVorbis_File decoder;
  std::vector<uint8_t> out;
  if (ov_open_callbacks(&stream, &decoder, nullptr, 0, resourceStreamCallbacks()) != 0) return out;
  char chunk[4096];
  int section = 0;
  while (long r = ov_read(&decoder, chunk, sizeof chunk, 0, 2, 1, &section)) {
    if (r < 0) break;
    out.insert(out.end(), chunk, chunk + r);
  }
  ov_clear(&decoder);
  return out;
}

inline std::string le16(uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

inline std::string le32(uint32_t v) {
  return le16(static_cast<uint16_t>(v)) + le16(static_cast<uint16_t>(v >> 16));
}

inline std::string chunk(const std::string& tag, const std::string& body) {
  return tag + le32(static_cast<uint32_t>(body.size())) + body;
}

inline std::string formatChunkBody(const platform::PcmFormat& f) {
  return le16(f.formatTag) + le16(f.channels) + le32(f.samplesPerSec) + le32(f.avgBytesPerSec) +
         le16(f.blockAlign) + le16(f.bitsPerSample);
}

inline platform::PcmFormat pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  platform::PcmFormat f;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

// A RIFF WAVE file; `between` goes between the "fmt " and "data" chunks, and `declared`
// (when not zero) replaces the data length, for files cut short.
inline std::string waveBytes(const platform::PcmFormat& format, const std::string& data,
                             const std::string& between = "", uint32_t declared = 0) {
  std::string body = "WAVE" + chunk("fmt ", formatChunkBody(format)) + between + "data" +
                     le32(declared != 0 ? declared : static_cast<uint32_t>(data.size())) + data;
  return "RIFF" + le32(static_cast<uint32_t>(body.size())) + body;
}

inline std::string pcmBytes(const std::vector<int16_t>& samples) {
  std::string out;
  for (int16_t s : samples) out += le16(static_cast<uint16_t>(s));
  return out;
}

inline std::vector<int16_t> samplesOf(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> out(bytes.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return out;
}

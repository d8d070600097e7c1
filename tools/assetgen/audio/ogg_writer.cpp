#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace soundgen {

namespace {

constexpr size_t kChunkFrames = 1024;

float to16Bit(float v) {
  float r = std::nearbyint(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
  return r / 32768.0f;
}

void appendPage(std::vector<uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

// All libvorbis and libogg state of one encoding, released in reverse order of creation.
class Encoder {
 public:
  Encoder(int channels, float quality) {
    vorbis_info_init(&info_);
    if (vorbis_encode_init_vbr(&info_, channels, kRate, quality) != 0) {
      vorbis_info_clear(&info_);
      throw std::runtime_error("vorbis encoder refused the format");
    }
    vorbis_comment_init(&comment_);
    vorbis_analysis_init(&dsp_, &info_);
    vorbis_block_init(&dsp_, &block_);
    ogg_stream_init(&stream_, kOggSerial);
  }
  ~Encoder() {
    ogg_stream_clear(&stream_);
    vorbis_block_clear(&block_);
    vorbis_dsp_clear(&dsp_);
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&info_);
  }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  // The three header packets go on pages of their own, as decoders expect.
  void writeHeaders(std::vector<uint8_t>& out) {
    ogg_packet id, comments, codebooks;
    vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
    ogg_stream_packetin(&stream_, &id);
    ogg_stream_packetin(&stream_, &comments);
    ogg_stream_packetin(&stream_, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) appendPage(out, page);
  }

  void feed(const Audio& audio, size_t from, size_t count) {
    float** buffer = vorbis_analysis_buffer(&dsp_, static_cast<int>(count));
    for (size_t c = 0; c < audio.channels.size(); ++c) {
      for (size_t i = 0; i < count; ++i) buffer[c][i] = to16Bit(audio.channels[c][from + i]);
    }
    vorbis_analysis_wrote(&dsp_, static_cast<int>(count));
  }

  void finish() { vorbis_analysis_wrote(&dsp_, 0); }

  // Moves finished packets onto pages; `last` also writes out the final partial page.
  void drain(std::vector<uint8_t>& out, bool last) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
      vorbis_analysis(&block_, nullptr);
      vorbis_bitrate_addblock(&block_);
      while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
        ogg_stream_packetin(&stream_, &packet);
        while (ogg_stream_pageout(&stream_, &page) != 0) appendPage(out, page);
      }
    }
    while (last && ogg_stream_flush(&stream_, &page) != 0) appendPage(out, page);
  }

 private:
  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  ogg_stream_state stream_;
};

}  // namespace

std::vector<uint8_t> encodeOgg(const Audio& audio, float quality) {
  std::vector<uint8_t> out;
  Encoder enc(static_cast<int>(audio.channels.size()), quality);
  enc.writeHeaders(out);
  for (size_t from = 0; from < audio.frames(); from += kChunkFrames) {
    enc.feed(audio, from, std::min(kChunkFrames, audio.frames() - from));
    enc.drain(out, false);
  }
  enc.finish();
  enc.drain(out, true);
  return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace soundgen

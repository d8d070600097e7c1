// The audio callback's work (mixing every effect at once, some resampled) and the streaming
// thread's (decoding half a ring of music), measured against the time that audio lasts.
#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

#include "audio/audio_test_support.h"
#include "audio/vorbis_io.h"
#include "platform/audio_mixer.h"
#include "res/resource_stream.h"

namespace {

using platform::PcmFormat;

// Eleven effects playing together, as many as the game has, four of them at other rates.
void BM_MixElevenEffects(benchmark::State& state) {
  platform::SoftwareMixer mixer(PcmFormat::pcm16(2, 22050));
  std::vector<std::unique_ptr<platform::AudioBuffer>> buffers;
  for (int i = 0; i < 11; ++i) {
    PcmFormat format = i < 4 ? PcmFormat::pcm16(1, 44100) : PcmFormat::pcm16(2, 22050);
    auto buffer = mixer.createBuffer(format, format.avgBytesPerSec, false);
    platform::LockedRegion region;
    buffer->lock(0, buffer->size(), false, region);
    for (uint32_t b = 0; b < region.firstBytes; ++b)
      region.first[b] = static_cast<uint8_t>(b * 7 + i);
    buffer->unlock(region);
    buffer->setVolume(-600);
    buffer->play(true);
    buffers.push_back(std::move(buffer));
  }
  std::vector<int16_t> out(512 * 2);
  for (auto _ : state) {
    mixer.mix(out.data(), 512);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * 512);  // output frames; 22050 make a second
}
BENCHMARK(BM_MixElevenEffects);

// One refill's decode: half of a four-second 22050 Hz stereo ring, two seconds of music.
void BM_DecodeHalfRing(benchmark::State& state) {
  std::istringstream in(encodeOgg(glide(22050 * 5, 2, 22050), 2, 22050));
  ResourceStream stream;
  stream.attach(in);
  OggVorbis_File decoder;
  if (ov_open_callbacks(&stream, &decoder, nullptr, 0, resourceStreamCallbacks()) != 0) {
    state.SkipWithError("encoding failed");
    return;
  }
  std::vector<uint8_t> half(176400);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        decodeLooping(decoder, half.data(), static_cast<uint32_t>(half.size())));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(half.size()));
  ov_clear(&decoder);
}
BENCHMARK(BM_DecodeHalfRing);

}  // namespace

#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <new>

namespace platform {

namespace {
// About 23 ms at 22050 Hz: short enough that an effect starts with its click.
constexpr uint16_t kCallbackFrames = 512;
}  // namespace

std::unique_ptr<SdlAudioDevice> SdlAudioDevice::open(const PcmFormat& output) {
  if (!isPlayable(output) || output.bitsPerSample != 16) return nullptr;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  std::unique_ptr<SdlAudioDevice> device(new (std::nothrow) SdlAudioDevice(output));
  if (!device) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(output.samplesPerSec);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = static_cast<Uint8>(output.channels);
  wanted.samples = kCallbackFrames;
  wanted.callback = callback;
  wanted.userdata = device.get();
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts from exactly this format to the hardware's.
  device->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device->device_ == 0) return nullptr;  // the destructor quits the subsystem
  SDL_PauseAudioDevice(device->device_, 0);
  return device;
}

SdlAudioDevice::~SdlAudioDevice() {
  // Closing waits for a running callback, so the mixer is idle before it is destroyed.
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioDevice::callback(void* self, uint8_t* stream, int length) {
  auto* device = static_cast<SdlAudioDevice*>(self);
  uint32_t frameBytes = device->outputFormat().blockAlign;
  // SDL runs the callback holding the device's own lock, which it lets the same thread take
  // again, so pausing from here cannot miss a resume: soundStarted waits for that lock, after
  // the sound it reports was already counted by mix.
  if (!device->mix(reinterpret_cast<int16_t*>(stream),
                   static_cast<uint32_t>(length) / frameBytes)) {
    SDL_PauseAudioDevice(device->device_, 1);
  }
}

void SdlAudioDevice::soundStarted() {
  if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

}  // namespace platform

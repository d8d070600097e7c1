#include "platform/headless/headless_audio.h"

#include "platform/headless/headless_backend.h"

namespace platform {

HeadlessAudioDevice::HeadlessAudioDevice(HeadlessBackend& backend, const PcmFormat& output,
                                         bool notifies)
    : SoftwareMixer(output, notifies), backend_(backend) {
  backend_.audio = this;
}

HeadlessAudioDevice::~HeadlessAudioDevice() {
  if (backend_.audio == this) backend_.audio = nullptr;
}

std::vector<int16_t> HeadlessAudioDevice::advance(uint32_t frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * outputFormat().channels);
  mix(out.data(), frames);
  return out;
}

uint64_t HeadlessAudioDevice::regionsWritten() {
  std::lock_guard guard(writtenMutex_);
  return written_;
}

bool HeadlessAudioDevice::waitForRegions(uint64_t count, std::chrono::milliseconds timeout) {
  std::unique_lock guard(writtenMutex_);
  return writtenChanged_.wait_for(guard, timeout, [&] { return written_ >= count; });
}

void HeadlessAudioDevice::regionWritten() {
  {
    std::lock_guard guard(writtenMutex_);
    ++written_;
  }
  writtenChanged_.notify_all();
}

}  // namespace platform

#include "platform/headless/headless_backend.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform {

void HeadlessBackend::waitMessage(uint32_t timeoutMs) {
  waits.push_back(timeoutMs);
  if (onWait) {
    onWait(timeoutMs);
  } else if (timeoutMs != kWaitForever) {
    now += timeoutMs;
  }
}

void HeadlessBackend::present(WindowId window, const uint8_t* pixels, int pitch, int width,
                              int height) {
  presentChanged(window, pixels, pitch, width, height, PixelArea{0, 0, width, height});
}

// Like a window's texture, the last frame takes the changed area alone; the whole picture
// when it is new, or of another size, or from another window.
void HeadlessBackend::presentChanged(WindowId window, const uint8_t* pixels, int pitch, int width,
                                     int height, const PixelArea& changed) {
  if (!isWindow(window) || pixels == nullptr || width <= 0 || height <= 0) return;
  ++presentCount;
  lastChanged = changed;
  PixelArea area{std::clamp(changed.x, 0, width), std::clamp(changed.y, 0, height), 0, 0};
  area.width = std::clamp(changed.x + changed.width, area.x, width) - area.x;
  area.height = std::clamp(changed.y + changed.height, area.y, height) - area.y;
  if (window != lastFrameWindow_ || width != lastFrameWidth || height != lastFrameHeight) {
    lastFrameWindow_ = window;
    lastFrameWidth = width;
    lastFrameHeight = height;
    lastFrame.assign(static_cast<size_t>(width) * height * 3, 0);
    area = PixelArea{0, 0, width, height};
  }
  const size_t rowBytes = static_cast<size_t>(area.width) * 3;
  for (int y = area.y; y < area.y + area.height; ++y) {
    std::memcpy(&lastFrame[(static_cast<size_t>(y) * width + area.x) * 3],
                pixels + static_cast<size_t>(y) * pitch + area.x * 3, rowBytes);
  }
}

std::unique_ptr<AudioDevice> HeadlessBackend::openAudio(const PcmFormat& primary) {
  ++audioOpens;
  audioFormat = primary;
  PcmFormat output = PcmFormat::pcm16(primary.channels, primary.samplesPerSec);
  if (!audioAvailable || !SoftwareMixer::isPlayable(output)) return nullptr;
  return std::make_unique<HeadlessAudioDevice>(*this, output, audioNotifies);
}

FullScreenResult HeadlessBackend::enterFullScreen(WindowId window) {
  ++fullScreenRequests;
  if (!isWindow(window)) return FullScreenResult::Unavailable;
  fullScreen = fullScreenAnswer == FullScreenResult::Entered;
  return fullScreenAnswer;
}

void HeadlessBackend::send(MessageKind kind, uint32_t param, WindowId window) {
  Message message;
  message.window = window != 0 ? window : firstWindow();
  message.kind = kind;
  message.param = param;
  postMessage(message);
}

void HeadlessBackend::sendMouse(MessageKind kind, int32_t x, int32_t y, WindowId window,
                                uint32_t flags) {
  Message message;
  message.window = window != 0 ? window : firstWindow();
  message.kind = kind;
  message.param = flags;
  message.position = packPosition(x, y);
  postMessage(message);
}

void HeadlessBackend::sendKey(uint32_t key, uint32_t modifiers, WindowId window) {
  Message message;
  message.window = window != 0 ? window : firstWindow();
  message.kind = MessageKind::KeyDown;
  message.param = key;
  message.modifiers = modifiers;
  postMessage(message);
}

WindowId HeadlessBackend::firstWindow() const {
  return windows().empty() ? 0 : windows().begin()->first;
}

const std::string& HeadlessBackend::caption(WindowId window) const {
  static const std::string none;
  const Window* found = findWindow(window);
  return found != nullptr ? found->caption : none;
}

bool HeadlessBackend::openWindow(Window&) {
  ++windowsOpened;
  return true;
}

bool HeadlessBackend::writeLastFrame(const std::string& path) const {
  if (lastFrame.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, lastFrameWidth, lastFrameHeight, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < lastFrameHeight; ++y) {
      png_write_row(png, &lastFrame[static_cast<size_t>(y) * lastFrameWidth * 3]);
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  std::fclose(file);
  return ok;
}

}  // namespace platform

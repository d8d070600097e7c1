#pragma once

// The in-memory backend for tests: the test fills the message queue, sets the clock, reads back
// the presented pictures and the message boxes, and decides what waiting for a message means.
// Its audio device mixes only when the test advances it.

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_audio.h"
#include "platform/headless/memory_store.h"
#include "platform/platform.h"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  struct Box {
    std::string text;
    std::string caption;
  };

  uint32_t ticks() override { return now; }
  uint32_t startSeed() override { return seed; }
  void waitMessage(uint32_t timeoutMs) override;
  void present(WindowId window, const uint8_t* pixels, int pitch, int width, int height) override;
  // Keeps the whole picture, as present does, and records the part said to have changed.
  void presentChanged(WindowId window, const uint8_t* pixels, int pitch, int width, int height,
                      const PixelArea& changed) override;
  FullScreenResult enterFullScreen(WindowId window) override;
  void leaveFullScreen(WindowId) override { fullScreen = false; }
  void setCapture(WindowId window) override { captured = window; }
  void releaseCapture() override { captured = 0; }
  std::optional<std::string> clipboardText() override { return clipboard; }
  // Records the address; the answer is openUrlAnswer.
  bool openUrl(const std::string& url) override {
    openedUrls.push_back(url);
    return openUrlAnswer;
  }
  // A HeadlessAudioDevice, or null when the test says there is no device.
  std::unique_ptr<AudioDevice> openAudio(const PcmFormat& primary) override;
  Store& store() override { return *settingsStore; }

  // Queues a message for the first open window (or for `window`).
  void send(MessageKind kind, uint32_t param = 0, WindowId window = 0);
  // `flags`: the modifiers held at a button message (kMouseShift).
  void sendMouse(MessageKind kind, int32_t x, int32_t y, WindowId window = 0, uint32_t flags = 0);
  // Queues a key-down, as a keyboard gives it (keys that type come again as characters only
  // when the test sends those too).
  void sendKey(uint32_t key, uint32_t modifiers = 0, WindowId window = 0);
  WindowId firstWindow() const;
  const std::string& caption(WindowId window) const;

  // Writes the last presented picture as a 24-bit PNG; false when nothing was presented.
  bool writeLastFrame(const std::string& path) const;

  uint32_t now = 0;
  uint32_t seed = 0;  // what startSeed gives
  WindowId captured = 0;
  bool fullScreen = false;
  FullScreenResult fullScreenAnswer = FullScreenResult::Entered;  // what entering gives
  int fullScreenRequests = 0;
  int windowsOpened = 0;
  int presentCount = 0;
  int lastFrameWidth = 0;
  int lastFrameHeight = 0;
  std::vector<uint8_t> lastFrame;  // tightly packed blue-green-red rows
  // The part the last present said had changed; the whole picture for a plain present.
  PixelArea lastChanged;
  std::vector<Box> boxes;
  std::optional<std::string> clipboard;  // what clipboardText gives; nothing: no text there
  std::vector<std::string> openedUrls;   // every address the game asked to open
  bool openUrlAnswer = true;
  std::vector<uint32_t> waits;  // every timeout the run loop waited with
  bool audioAvailable = true;   // false: openAudio finds no device
  bool audioNotifies = true;    // false: buffers can only be polled
  int audioOpens = 0;
  PcmFormat audioFormat;                 // the format last asked for
  HeadlessAudioDevice* audio = nullptr;  // the open device, owned by whoever opened it
  // Called when the game waits for a message; by default the clock moves on by the timeout
  // (and stands still for a wait with none).
  std::function<void(uint32_t timeoutMs)> onWait;
  // The settings store: in memory, unless a test puts a FileStore on a temporary folder here.
  std::unique_ptr<Store> settingsStore = std::make_unique<MemoryStore>();

 protected:
  bool openWindow(Window& window) override;
  void closeWindow(Window&) override {}
  void pumpEvents() override {}
  void showMessageBox(const std::string& text, const std::string& caption) override {
    boxes.push_back({text, caption});
  }

 private:
  WindowId lastFrameWindow_ = 0;  // whose picture the last frame holds
};

}  // namespace platform

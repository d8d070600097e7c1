#pragma once

// The real backend: one SDL window showing the picture through a streaming texture, scaled
// to the window with the aspect ratio kept; SDL's events become the game's messages.

#include <map>

#include "platform/platform.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;
struct SDL_KeyboardEvent;

namespace platform {

class SdlBackend : public Backend {
 public:
  SdlBackend();
  ~SdlBackend() override;

  uint32_t ticks() override;
  void waitMessage(uint32_t timeoutMs) override;
  void present(WindowId window, const uint8_t* pixels, int pitch, int width, int height) override;
  // Uploads only the changed part to the window's texture, which keeps the rest.
  void presentChanged(WindowId window, const uint8_t* pixels, int pitch, int width, int height,
                      const PixelArea& changed) override;
  FullScreenResult enterFullScreen(WindowId window) override;
  void leaveFullScreen(WindowId window) override;
  void setCapture(WindowId window) override;
  void releaseCapture() override;
  uint32_t frameIntervalMs() override;
  std::unique_ptr<AudioDevice> openAudio(const PcmFormat& primary) override;
  std::optional<std::string> clipboardText() override;
  bool openUrl(const std::string& url) override;

 protected:
  bool openWindow(Window& window) override;
  void closeWindow(Window& window) override;
  void pumpEvents() override;
  void showMessageBox(const std::string& text, const std::string& caption) override;

 private:
  struct Native {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    bool fullScreen = false;
    int windowedX = 0;  // where the window was before it took the whole screen
    int windowedY = 0;
    int windowedWidth = 0;
    int windowedHeight = 0;
  };

  bool initVideo();
  // The window's texture at the picture's size; made (and then wholly stale) when missing.
  SDL_Texture* textureFor(Native& native, int width, int height, bool& fresh);
  void show(Native& native);
  // Back to the bordered window at its former place and size.
  void restoreWindow(Native& native);
  void translate(const SDL_Event& event);
  // Every window is asked to close, as by a polite end request from outside.
  void closeAll();
  void postTo(uint32_t sdlWindowId, MessageKind kind, uint32_t param = 0, uint32_t position = 0);
  WindowId idFor(uint32_t sdlWindowId) const;
  // A key-down message, ahead of the character the key may also type.
  void postKey(const SDL_KeyboardEvent& event);

  bool videoReady_ = false;
  std::map<WindowId, Native> natives_;
};

}  // namespace platform

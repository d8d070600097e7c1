#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_audio.h"

namespace platform {

namespace {

// Decodes UTF-8 text input into code points; malformed bytes are skipped.
template <typename Emit>
void forEachCodePoint(const char* text, Emit emit) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != 0) {
    uint32_t code = *p;
    int extra = code < 0x80         ? 0
                : (code >> 5) == 6  ? 1
                : (code >> 4) == 14 ? 2
                : (code >> 3) == 30 ? 3
                                    : -1;
    ++p;
    if (extra < 0) continue;
    code &= extra == 0 ? 0x7Fu : (0x3Fu >> extra);
    bool valid = true;
    for (int i = 0; i < extra; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (*p & 0x3Fu);
    }
    if (valid) emit(code);
  }
}

// The keys that type a control character rather than text.
uint32_t controlCharacter(const SDL_Keysym& key) {
  switch (key.sym) {
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return 13;
    case SDLK_ESCAPE:
      return 27;
    case SDLK_v:
      return (key.mod & KMOD_CTRL) != 0 ? 22 : 0;
    default:
      return 0;
  }
}

// The game's name for a key (platform/keys.h), or 0 for a key the game never hears.
uint32_t keyCode(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_KP_ENTER:
      return key::kReturn;
    case SDLK_LEFT:
      return key::kLeft;
    case SDLK_RIGHT:
      return key::kRight;
    case SDLK_UP:
      return key::kUp;
    case SDLK_DOWN:
      return key::kDown;
    default:
      break;
  }
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return key::kF1 + static_cast<uint32_t>(sym - SDLK_F1);
  // SDL names the keys that type by the character they type without Shift.
  return sym >= SDLK_BACKSPACE && sym < SDLK_DELETE ? static_cast<uint32_t>(sym) : 0;
}

uint32_t keyModifiers(const SDL_KeyboardEvent& event) {
  const uint16_t mod = event.keysym.mod;
  return ((mod & KMOD_SHIFT) != 0 ? key::kShift : 0) | ((mod & KMOD_CTRL) != 0 ? key::kCtrl : 0) |
         ((mod & KMOD_ALT) != 0 ? key::kAlt : 0) | (event.repeat != 0 ? key::kRepeat : 0);
}

// A hang-up (the terminal or the session that started the game going away) is a polite end
// request like SIGTERM, which SDL itself turns into SDL_QUIT; the handler can only set a flag,
// which the next pump reads.
volatile std::sig_atomic_t hangUpPending = 0;

void onHangUp(int) { hangUpPending = 1; }

void catchHangUp() {
  struct sigaction now {};
  // A hang-up the program was started to ignore (nohup) stays ignored.
  if (sigaction(SIGHUP, nullptr, &now) != 0 || now.sa_handler != SIG_DFL) return;
  struct sigaction action {};
  action.sa_handler = onHangUp;
  sigemptyset(&action.sa_mask);
  sigaction(SIGHUP, &action, nullptr);
}

// Xlib calls this when the connection to the X server is gone (the session has ended) and ends
// the program if it returns; nothing more can reach the screen, so the game is given its last
// words, and the program ends without the destructors that would talk to the lost display.
int onDisplayGone(Display*) {
  backend().displayLost();
  std::_Exit(0);
}

void watchDisplay(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
    XSetIOErrorHandler(onDisplayGone);
  }
}

// The largest whole multiple of the picture that leaves room around it on the desktop.
int windowScale(int width, int height) {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || width <= 0 || height <= 0) return 1;
  int scale = std::min(usable.w * 9 / 10 / width, usable.h * 9 / 10 / height);
  return std::clamp(scale, 1, 8);
}

bool noDisplay() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  return driver != nullptr &&
         (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

}  // namespace

SdlBackend::SdlBackend() {
  // Closing the window is the game's decision (it saves first); a polite end request from
  // outside (SIGTERM, SIGINT) still arrives as SDL_QUIT and becomes a close request.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  catchHangUp();
}

SdlBackend::~SdlBackend() {
  for (auto& [id, native] : natives_) {
    if (native.texture != nullptr) SDL_DestroyTexture(native.texture);
    if (native.renderer != nullptr) SDL_DestroyRenderer(native.renderer);
    if (native.window != nullptr) SDL_DestroyWindow(native.window);
  }
  natives_.clear();
  SDL_Quit();
}

uint32_t SdlBackend::ticks() { return SDL_GetTicks(); }

bool SdlBackend::initVideo() {
  if (!videoReady_) videoReady_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  return videoReady_;
}

bool SdlBackend::openWindow(Window& window) {
  if (!initVideo()) {
    SDL_Log("Can't open the video system: %s", SDL_GetError());
    return false;
  }
  int scale = windowScale(window.width, window.height);
  Native native;
  native.window =
      SDL_CreateWindow(window.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       window.width * scale, window.height * scale, SDL_WINDOW_SHOWN);
  if (native.window == nullptr) return false;
  native.renderer = SDL_CreateRenderer(native.window, -1, SDL_RENDERER_ACCELERATED);
  if (native.renderer == nullptr) {
    native.renderer = SDL_CreateRenderer(native.window, -1, SDL_RENDERER_SOFTWARE);
  }
  if (native.renderer == nullptr) {
    SDL_DestroyWindow(native.window);
    return false;
  }
  // The picture keeps its proportions in any window size; mouse positions come back in
  // picture coordinates.
  SDL_RenderSetLogicalSize(native.renderer, window.width, window.height);
  const Icon& icon = window.windowClass->icon;
  if (icon.bgra != nullptr && icon.width > 0 && icon.height > 0) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(icon.bgra), icon.width, icon.height,
                                           32, icon.width * 4, SDL_PIXELFORMAT_BGRA32);
    if (surface != nullptr) {
      SDL_SetWindowIcon(native.window, surface);
      SDL_FreeSurface(surface);
    }
  }
  SDL_StartTextInput();
  watchDisplay(native.window);
  natives_[window.id] = native;
  return true;
}

void SdlBackend::closeWindow(Window& window) {
  auto found = natives_.find(window.id);
  if (found == natives_.end()) return;
  Native& native = found->second;
  if (native.texture != nullptr) SDL_DestroyTexture(native.texture);
  SDL_DestroyRenderer(native.renderer);
  SDL_DestroyWindow(native.window);
  natives_.erase(found);
}

SDL_Texture* SdlBackend::textureFor(Native& native, int width, int height, bool& fresh) {
  fresh = false;
  if (native.texture == nullptr || native.textureWidth != width || native.textureHeight != height) {
    if (native.texture != nullptr) SDL_DestroyTexture(native.texture);
    native.texture = SDL_CreateTexture(native.renderer, SDL_PIXELFORMAT_BGR24,
                                       SDL_TEXTUREACCESS_STREAMING, width, height);
    native.textureWidth = width;
    native.textureHeight = height;
    fresh = true;
  }
  return native.texture;
}

void SdlBackend::show(Native& native) {
  SDL_SetRenderDrawColor(native.renderer, 0, 0, 0, 255);
  SDL_RenderClear(native.renderer);
  SDL_RenderCopy(native.renderer, native.texture, nullptr, nullptr);
  SDL_RenderPresent(native.renderer);
}

void SdlBackend::present(WindowId window, const uint8_t* pixels, int pitch, int width, int height) {
  presentChanged(window, pixels, pitch, width, height, PixelArea{0, 0, width, height});
}

void SdlBackend::presentChanged(WindowId window, const uint8_t* pixels, int pitch, int width,
                                int height, const PixelArea& changed) {
  auto found = natives_.find(window);
  if (found == natives_.end() || pixels == nullptr) return;
  Native& native = found->second;
  bool fresh = false;
  if (textureFor(native, width, height, fresh) == nullptr) return;
  SDL_Rect area{std::clamp(changed.x, 0, width), std::clamp(changed.y, 0, height), 0, 0};
  area.w = std::clamp(changed.x + changed.width, area.x, width) - area.x;
  area.h = std::clamp(changed.y + changed.height, area.y, height) - area.y;
  if (fresh) area = SDL_Rect{0, 0, width, height};  // a new texture holds nothing yet
  if (area.w > 0 && area.h > 0) {
    const uint8_t* first = pixels + static_cast<ptrdiff_t>(area.y) * pitch + area.x * 3;
    SDL_UpdateTexture(native.texture, &area, first, pitch);
  }
  // The window itself is drawn whole: what it showed before may be gone (a resize, an
  // exposure, the renderer's own back buffers).
  show(native);
}

FullScreenResult SdlBackend::enterFullScreen(WindowId window) {
  auto found = natives_.find(window);
  if (found == natives_.end()) return FullScreenResult::Unavailable;
  Native& native = found->second;
  if (native.fullScreen) return FullScreenResult::Entered;
  SDL_Rect screen;
  const int display = SDL_GetWindowDisplayIndex(native.window);
  if (display < 0 || SDL_GetDisplayBounds(display, &screen) != 0) {
    return FullScreenResult::Refused;
  }
  SDL_GetWindowPosition(native.window, &native.windowedX, &native.windowedY);
  SDL_GetWindowSize(native.window, &native.windowedWidth, &native.windowedHeight);
  // The window itself is made to cover the screen first: the full-screen request alone is a
  // message to the window manager, and without one (or with one that ignores it) the window
  // would keep its size while the picture is scaled for the whole screen.
  SDL_SetWindowBordered(native.window, SDL_FALSE);
  SDL_SetWindowPosition(native.window, screen.x, screen.y);
  SDL_SetWindowSize(native.window, screen.w, screen.h);
  if (SDL_SetWindowFullscreen(native.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    restoreWindow(native);
    return FullScreenResult::Refused;
  }
  SDL_RaiseWindow(native.window);
  native.fullScreen = true;
  return FullScreenResult::Entered;
}

void SdlBackend::leaveFullScreen(WindowId window) {
  auto found = natives_.find(window);
  if (found == natives_.end() || !found->second.fullScreen) return;
  Native& native = found->second;
  SDL_SetWindowFullscreen(native.window, 0);
  restoreWindow(native);
  native.fullScreen = false;
}

void SdlBackend::restoreWindow(Native& native) {
  SDL_SetWindowBordered(native.window, SDL_TRUE);
  SDL_SetWindowSize(native.window, native.windowedWidth, native.windowedHeight);
  SDL_SetWindowPosition(native.window, native.windowedX, native.windowedY);
}

bool SdlBackend::openUrl(const std::string& url) { return SDL_OpenURL(url.c_str()) == 0; }

std::unique_ptr<AudioDevice> SdlBackend::openAudio(const PcmFormat& primary) {
  return SdlAudioDevice::open(PcmFormat::pcm16(primary.channels, primary.samplesPerSec));
}

void SdlBackend::setCapture(WindowId) { SDL_CaptureMouse(SDL_TRUE); }

void SdlBackend::releaseCapture() { SDL_CaptureMouse(SDL_FALSE); }

uint32_t SdlBackend::frameIntervalMs() {
  SDL_DisplayMode mode;
  if (!natives_.empty()) {
    int display = SDL_GetWindowDisplayIndex(natives_.begin()->second.window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
      return static_cast<uint32_t>(std::max(1, 1000 / mode.refresh_rate));
    }
  }
  return 16;
}

void SdlBackend::waitMessage(uint32_t timeoutMs) {
  // Waits are cut to a second at most: a hang-up arrives only as the flag its handler sets,
  // which no event announces, so even a wait for a message alone looks at it once a second.
  const auto slice = static_cast<int>(std::min<uint32_t>(timeoutMs, 1000));
  if (!videoReady_) {
    SDL_Delay(static_cast<uint32_t>(slice));
    return;
  }
  // Blocks in the window system's own wait: no spinning while nothing happens.
  while (SDL_WaitEventTimeout(nullptr, slice) == 0 && timeoutMs == kWaitForever &&
         hangUpPending == 0) {
  }
}

void SdlBackend::pumpEvents() {
  if (!videoReady_) return;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) translate(event);
  if (hangUpPending != 0) {
    hangUpPending = 0;
    closeAll();
  }
}

void SdlBackend::closeAll() {
  for (const auto& [id, native] : natives_)
    postTo(SDL_GetWindowID(native.window), MessageKind::Close);
}

WindowId SdlBackend::idFor(uint32_t sdlWindowId) const {
  for (const auto& [id, native] : natives_) {
    if (SDL_GetWindowID(native.window) == sdlWindowId) return id;
  }
  return natives_.empty() ? 0 : natives_.begin()->first;
}

void SdlBackend::postTo(uint32_t sdlWindowId, MessageKind kind, uint32_t param, uint32_t position) {
  Message message;
  message.window = idFor(sdlWindowId);
  message.kind = kind;
  message.param = param;
  message.position = position;
  if (message.window != 0) postMessage(message);
}

void SdlBackend::translate(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      closeAll();
      break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          postTo(event.window.windowID, MessageKind::Close);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          postTo(event.window.windowID, MessageKind::ActivateApp, 1);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          postTo(event.window.windowID, MessageKind::ActivateApp, 0);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          invalidateWindow(idFor(event.window.windowID));
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      bool down = event.type == SDL_MOUSEBUTTONDOWN;
      MessageKind kind;
      if (event.button.button == SDL_BUTTON_LEFT) {
        kind = down ? MessageKind::LeftDown : MessageKind::LeftUp;
      } else if (event.button.button == SDL_BUTTON_RIGHT) {
        kind = down ? MessageKind::RightDown : MessageKind::RightUp;
      } else if (event.button.button == SDL_BUTTON_MIDDLE) {
        kind = down ? MessageKind::MiddleDown : MessageKind::MiddleUp;
      } else {
        break;
      }
      const uint32_t flags = (SDL_GetModState() & KMOD_SHIFT) != 0 ? kMouseShift : 0;
      postTo(event.button.windowID, kind, flags, packPosition(event.button.x, event.button.y));
      break;
    }
    case SDL_MOUSEMOTION:
      postTo(event.motion.windowID, MessageKind::MouseMove, 0,
             packPosition(event.motion.x, event.motion.y));
      break;
    case SDL_TEXTINPUT:
      forEachCodePoint(event.text.text, [&](uint32_t code) {
        postTo(event.text.windowID, MessageKind::Char, code);
      });
      break;
    case SDL_KEYDOWN:
      postKey(event.key);
      if (uint32_t code = controlCharacter(event.key.keysym); code != 0) {
        postTo(event.key.windowID, MessageKind::Char, code);
      }
      break;
    default:
      break;
  }
}

void SdlBackend::postKey(const SDL_KeyboardEvent& event) {
  Message message;
  message.window = idFor(event.windowID);
  message.kind = MessageKind::KeyDown;
  message.param = keyCode(event.keysym.sym);
  message.modifiers = keyModifiers(event);
  if (message.window != 0 && message.param != 0) postMessage(message);
}

std::optional<std::string> SdlBackend::clipboardText() {
  if (!videoReady_ || SDL_HasClipboardText() != SDL_TRUE) return std::nullopt;
  char* text = SDL_GetClipboardText();
  if (text == nullptr) return std::nullopt;
  // SDL answers a failure with an empty text, which pastes nothing either way.
  std::optional<std::string> result(std::in_place, text);
  SDL_free(text);
  return result;
}

void SdlBackend::showMessageBox(const std::string& text, const std::string& caption) {
  // Without a display the text on standard error is all there is.
  if (noDisplay()) return;
  SDL_ShowSimpleMessageBox(0, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace platform

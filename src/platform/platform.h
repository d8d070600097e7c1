#pragma once

// The platform layer: the few operating-system services the game needs (a millisecond clock,
// one window with a message queue, mouse capture, presenting the picture, a message box, an
// audio device, the clipboard's text, opening a web page in the browser).
// `Backend` keeps what every backend shares (window classes, windows and their slot, the
// queue, dispatch); a backend fills in the rest. The game reaches it through `platform::backend()`.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/audio.h"
#include "platform/keys.h"
#include "platform/store.h"

namespace platform {

using WindowId = uint32_t;  // 0 names no window

// A part of the picture: left, top, width and height in picture pixels.
struct PixelArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A wait with no timeout.
inline constexpr uint32_t kWaitForever = UINT32_MAX;

enum class MessageKind : uint8_t {
  Create,       // sent while a window is created; `data` is the creation parameter
  Destroy,      // sent while a window is destroyed
  Close,        // the user (or a polite end request) asks the window to close
  Paint,        // the window needs its picture shown again
  ActivateApp,  // `param` 1: the application became active; 0: it went to the background
  LeftDown,
  LeftUp,
  RightDown,
  RightUp,
  MiddleDown,
  MiddleUp,
  MouseMove,
  Char,     // `param`: the character code (printable text, 8, 9, 13, 27, 22 for Ctrl+V)
  KeyDown,  // `param`: the key (platform/keys.h); `modifiers`: its modifier bits. A key that
            // also types comes first as KeyDown, then as Char.
  Quit,  // ends the message loop; `param` is the exit code
};

// What a window shows. The window procedure keeps it in the window's slot and asks it to
// present its picture whenever the window must be painted.
class WindowClient {
 public:
  virtual void present() = 0;

 protected:
  ~WindowClient() = default;
};

struct Message {
  WindowId window = 0;
  MessageKind kind = MessageKind::Paint;
  uint32_t param = 0;
  // Mouse button messages carry in `param` the modifier flags held at the click (kMouseShift).
  // Mouse messages: the position in picture coordinates, packed as x in the low 16 bits
  // and y in the high 16 bits (so positions left of or above the picture wrap round).
  uint32_t position = 0;
  uint32_t modifiers = 0;          // KeyDown: Shift, Ctrl, Alt and repeat (platform/keys.h)
  WindowClient* client = nullptr;  // Create: the window's client
};

// A mouse button message's `param`: Shift was held down.
inline constexpr uint32_t kMouseShift = 0x4;

inline uint32_t packPosition(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(x) & 0xFFFFu) | (static_cast<uint32_t>(y) << 16);
}

using WindowProc = intptr_t (*)(WindowId, const Message&);

enum class FullScreenResult : uint8_t {
  Entered,     // the window covers the screen, the picture scaled and letterboxed
  Refused,     // the system would not switch; the window stays as it was
  Unavailable  // there is no way to take the whole screen at all
};

// A 32-bit blue-green-red-alpha picture for the window icon.
struct Icon {
  int width = 0;
  int height = 0;
  const uint8_t* bgra = nullptr;
};

struct WindowClass {
  std::string name;
  WindowProc proc = nullptr;
  bool redrawOnResize = true;
  Icon icon;  // an empty icon leaves the system's default
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Milliseconds since some fixed moment; wraps after 49 days.
  virtual uint32_t ticks() = 0;
  // A number that differs from one start of the program to the next, to seed the random
  // sequence: the time since the computer started (what some systems' millisecond timer
  // counts) mixed with the wall clock, so neither a fresh boot nor a clock set back repeats it.
  virtual uint32_t startSeed();

  bool registerClass(const WindowClass& windowClass);
  // Creates a window of `width` by `height` picture pixels. The class's procedure receives
  // Create (with `client`) before this returns. Returns 0 when the class is unknown or
  // the system refuses the window.
  WindowId createWindow(const std::string& className, const std::string& caption, int width,
                        int height, WindowClient* client);
  // The procedure receives Destroy, then the window is gone. Unknown ids are ignored.
  void destroyWindow(WindowId window);
  bool isWindow(WindowId window) const { return windows_.count(window) != 0; }
  WindowClient* windowSlot(WindowId window) const;
  void setWindowSlot(WindowId window, WindowClient* client);

  // Takes the next message without waiting. Paint comes only when nothing else is queued.
  bool peekMessage(Message& message);
  // Waits until a message may be waiting or `timeoutMs` has passed; kWaitForever waits for a
  // message alone.
  virtual void waitMessage(uint32_t timeoutMs) = 0;
  // Hands a message to its window's procedure; 0 for a window that is gone.
  intptr_t dispatchMessage(const Message& message);
  void postMessage(const Message& message) { queue_.push_back(message); }
  void postQuitMessage(int exitCode);
  // The window's picture must be shown again: a Paint message follows.
  void invalidateWindow(WindowId window);

  // Shows a 640 by 480 (or `width` by `height`) blue-green-red picture in the window.
  virtual void present(WindowId window, const uint8_t* pixels, int pitch, int width,
                       int height) = 0;
  // The same picture, of which only `changed` differs from what was last presented; a backend
  // that keeps the picture may copy just that part. By default the whole picture is presented.
  virtual void presentChanged(WindowId window, const uint8_t* pixels, int pitch, int width,
                              int height, const PixelArea& changed) {
    (void)changed;
    present(window, pixels, pitch, width, height);
  }
  // Borderless full screen over the whole desktop; leaving restores the window's former
  // position and size.
  virtual FullScreenResult enterFullScreen(WindowId window) = 0;
  virtual void leaveFullScreen(WindowId window) = 0;
  virtual void setCapture(WindowId window) = 0;
  virtual void releaseCapture() = 0;
  // The display's refresh interval: the run loop draws no more often than this.
  virtual uint32_t frameIntervalMs() { return 16; }

  // The audio device, playing `primary` (16-bit PCM, its channels and rate; the system converts
  // to what the hardware wants). Null when there is no device: the game then runs silently.
  virtual std::unique_ptr<AudioDevice> openAudio(const PcmFormat& primary) = 0;

  // The text on the system clipboard, as UTF-8; nothing when the clipboard holds no text or
  // cannot be read. A system without a clipboard never has text there.
  virtual std::optional<std::string> clipboardText() { return std::nullopt; }

  // Opens a web address (a file:// address for a page on disk) in the user's browser; false
  // when the system has no way to.
  virtual bool openUrl(const std::string& url) = 0;

  // A modal message box with an OK button and no owner. Also printed on standard error, so a
  // run without a display still says what went wrong.
  void messageBox(const std::string& text, const std::string& caption);

  // The system took the display away for good, as when the desktop session ends under the
  // program: nothing can be shown or asked any more, so `lastWords` runs (the game saves) and
  // the program then ends. Set by the program while a game runs; empty clears it.
  void onDisplayLost(std::function<void()> lastWords) { displayLost_ = std::move(lastWords); }
  bool hearsDisplayLost() const { return static_cast<bool>(displayLost_); }
  void displayLost() {
    if (displayLost_) displayLost_();
  }

  // The settings store. By default the file store in the folders the environment names, made
  // on first use; the headless backend keeps its own.
  virtual Store& store();

 protected:
  struct Window {
    WindowId id = 0;
    const WindowClass* windowClass = nullptr;
    std::string caption;
    int width = 0;
    int height = 0;
    WindowClient* slot = nullptr;
    bool paintPending = false;
  };

  // The system side of a window's life. `openWindow` returns false when it cannot be made.
  virtual bool openWindow(Window& window) = 0;
  virtual void closeWindow(Window& window) = 0;
  // Moves whatever the system has delivered into the queue.
  virtual void pumpEvents() = 0;
  virtual void showMessageBox(const std::string& text, const std::string& caption) = 0;

  Window* findWindow(WindowId id);
  const Window* findWindow(WindowId id) const;
  const std::map<WindowId, Window>& windows() const { return windows_; }

 private:
  std::map<std::string, WindowClass> classes_;
  std::map<WindowId, Window> windows_;
  std::deque<Message> queue_;
  WindowId nextId_ = 1;
  std::unique_ptr<Store> store_;
  std::function<void()> displayLost_;
};

// The backend the game runs on; set once by the program or by a test.
Backend& backend();
void setBackend(Backend* backend);

}  // namespace platform

#include "platform/platform.h"

#include <time.h>

#include <cstdio>

namespace platform {

namespace {
Backend* currentBackend = nullptr;
}

Backend& backend() { return *currentBackend; }
void setBackend(Backend* b) { currentBackend = b; }

bool Backend::registerClass(const WindowClass& windowClass) {
  if (windowClass.name.empty() || windowClass.proc == nullptr) return false;
  classes_[windowClass.name] = windowClass;
  return true;
}

WindowId Backend::createWindow(const std::string& className, const std::string& caption, int width,
                               int height, WindowClient* client) {
  auto found = classes_.find(className);
  if (found == classes_.end()) return 0;
  Window window;
  window.id = nextId_++;
  window.windowClass = &found->second;
  window.caption = caption;
  window.width = width;
  window.height = height;
  if (!openWindow(window)) return 0;
  WindowId id = window.id;
  windows_.emplace(id, window);
  Message create;
  create.window = id;
  create.kind = MessageKind::Create;
  create.client = client;
  dispatchMessage(create);
  return id;
}

void Backend::destroyWindow(WindowId id) {
  if (findWindow(id) == nullptr) return;
  Message destroy;
  destroy.window = id;
  destroy.kind = MessageKind::Destroy;
  dispatchMessage(destroy);
  // The procedure may have destroyed the window itself while handling Destroy.
  if (Window* window = findWindow(id)) {
    closeWindow(*window);
    windows_.erase(id);
  }
}

WindowClient* Backend::windowSlot(WindowId id) const {
  const Window* window = findWindow(id);
  return window == nullptr ? nullptr : window->slot;
}

void Backend::setWindowSlot(WindowId id, WindowClient* value) {
  if (Window* window = findWindow(id)) window->slot = value;
}

bool Backend::peekMessage(Message& message) {
  pumpEvents();
  if (!queue_.empty()) {
    message = queue_.front();
    queue_.pop_front();
    return true;
  }
  for (auto& [id, window] : windows_) {
    if (window.paintPending) {
      window.paintPending = false;
      message = Message{};
      message.window = id;
      message.kind = MessageKind::Paint;
      return true;
    }
  }
  return false;
}

intptr_t Backend::dispatchMessage(const Message& message) {
  Window* window = findWindow(message.window);
  if (window == nullptr) return 0;
  return window->windowClass->proc(message.window, message);
}

void Backend::postQuitMessage(int exitCode) {
  Message quit;
  quit.kind = MessageKind::Quit;
  quit.param = static_cast<uint32_t>(exitCode);
  queue_.push_back(quit);
}

void Backend::invalidateWindow(WindowId id) {
  if (Window* window = findWindow(id)) window->paintPending = true;
}

void Backend::messageBox(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
  showMessageBox(text, caption);
}

uint32_t Backend::startSeed() {
  timespec sinceBoot{};
  timespec wall{};
  if (clock_gettime(CLOCK_BOOTTIME, &sinceBoot) != 0) clock_gettime(CLOCK_MONOTONIC, &sinceBoot);
  clock_gettime(CLOCK_REALTIME, &wall);
  auto nanoseconds = [](const timespec& t) {
    return static_cast<uint64_t>(t.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(t.tv_nsec);
  };
  // One round of splitmix64 spreads every bit of both clocks over the 32 bits kept.
  uint64_t mixed = nanoseconds(sinceBoot) ^ (nanoseconds(wall) * 0x9E3779B97F4A7C15u);
  mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9u;
  mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBu;
  return static_cast<uint32_t>(mixed ^ (mixed >> 31));
}

Store& Backend::store() {
  if (!store_) store_ = std::make_unique<FileStore>(storeFoldersFromEnvironment());
  return *store_;
}

Backend::Window* Backend::findWindow(WindowId id) {
  auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : &found->second;
}

const Backend::Window* Backend::findWindow(WindowId id) const {
  auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : &found->second;
}

}  // namespace platform

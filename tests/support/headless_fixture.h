#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/entry.h"
#include "core/game_clock.h"
#include "ui/screen.h"
#include "platform/headless/headless_backend.h"
#include "ui/widget.h"

// Runs each test on a fresh headless backend with the main window class registered and the
// game clock at rest.
// The set-up runs in the constructor, so fixtures may hold screens and widgets as members.
class HeadlessTest : public ::testing::Test {
 protected:
  HeadlessTest() {
    platform::setBackend(&backend);
    registerWindowClass();
    GameClock::paused = false;
    GameClock::pausedAt = 0;
    GameClock::totalPaused = 0;
    running = false;
  }
  ~HeadlessTest() override { platform::setBackend(nullptr); }

  platform::HeadlessBackend backend;
};

// A widget that writes every call it receives into a shared log and consumes what it is told to.
class ProbeWidget : public Widget {
 public:
  ProbeWidget(const Rect& r, uint16_t id, std::vector<std::string>* log, bool consumes = true)
      : Widget(r, id), log(log), consumes(consumes) {}
  ~ProbeWidget() override {
    if (deleted != nullptr) *deleted = true;
  }

  void draw(Image&, const Rect& clip) override {
    lastClip = clip;
    ++draws;
    dirty = false;
  }
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override {
    return note("notify " + std::to_string(sender) + " " + std::to_string(code) + " " +
                std::to_string(value));
  }
  bool onLeftDown(int32_t x, int32_t y, int32_t) override { return note(at("leftdown", x, y)); }
  bool onLeftUp(int32_t x, int32_t y, int32_t) override { return note(at("leftup", x, y)); }
  bool onRightDown(int32_t x, int32_t y, int32_t) override { return note(at("rightdown", x, y)); }
  bool onRightUp(int32_t x, int32_t y, int32_t) override { return note(at("rightup", x, y)); }
  bool onMouseMove(int32_t x, int32_t y, int32_t) override { return note(at("move", x, y)); }
  bool onChar(uint32_t code) override { return note("char " + std::to_string(code)); }
  bool onKeyDown(uint32_t key, uint32_t modifiers) override {
    return note("key " + std::to_string(key) + " " + std::to_string(modifiers));
  }

  std::vector<std::string>* log;
  bool consumes;
  bool* deleted = nullptr;
  int draws = 0;
  Rect lastClip;

 private:
  std::string at(const char* what, int32_t x, int32_t y) {
    return std::string(what) + " " + std::to_string(x) + "," + std::to_string(y);
  }
  bool note(const std::string& what) {
    log->push_back(std::to_string(id) + ": " + what);
    return consumes;
  }
};

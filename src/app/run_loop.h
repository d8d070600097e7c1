#pragma once

#include <cstdint>

#include "platform/platform.h"

class Screen;

// Runs frames and dispatches window messages until the quit message arrives or `running` is
// cleared. Returns the parameter of the last message taken (0 after the quit message).
int runLoop(Screen& screen);

// The procedure of every main window: turns window messages into calls on the current screen.
intptr_t windowProc(platform::WindowId window, const platform::Message& message);

// The game's sound effects: short, soft-edged sounds in one watery palette around D major.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

namespace soundgen {

struct Effect {
  std::string name;  // file name inside the archive
  bool loops;        // played looping: the end runs straight into the start
  Audio audio;
};

// Highest peak of any finished effect; quieter where loudness matching asks for it.
constexpr double kPeakDbfs = -3.0;

std::vector<Effect> renderEffects();

}  // namespace soundgen

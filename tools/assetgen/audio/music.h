// The background music: a slow, calm piece in D major over the sound of the tide, stereo.
#pragma once

#include "synth.h"

namespace soundgen {

constexpr int kMusicBars = 56;             // 224 s: theme, answer, interlude, theme again
constexpr double kMusicBeatSeconds = 1.0;  // 60 beats a minute, four to the bar

// The piece is rendered round a circle: notes and echoes that outlast the end ring on at the
// start, so the file repeats without a seam.
Audio renderMusic();

}  // namespace soundgen

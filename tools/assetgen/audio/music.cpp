#include "music.h"

#include <cmath>
#include <span>

namespace soundgen {

namespace {

constexpr size_t kBeat = 22050;  // frames per beat; kept whole so every event lands on a sample
static_assert(kMusicBeatSeconds * kRate == kBeat);
constexpr size_t kChordBeats = 8;  // every chord holds for two bars
constexpr size_t kLoopFrames = kMusicBars * 4 * kBeat;
constexpr double kTidePeriod = 8.0;  // seconds; divides every section, so the tide loops too

struct Chord {
  int bass;
  int pad[4];
};

struct Note {
  double beat, beats;  // from the start of its section
  int midi;
  double touch = 1.0;  // grace notes are played lighter
};

// The theme: Dmaj9, Bm9, Gmaj9, Asus2, F#m7, Gmaj7, Em9, A7sus4 (which leads home to D).
constexpr Chord kThemeChords[] = {
    {38, {54, 57, 61, 64}}, {35, {50, 54, 57, 61}}, {43, {50, 54, 57, 59}}, {45, {52, 57, 59, 64}},
    {42, {54, 57, 61, 64}}, {43, {50, 54, 59, 62}}, {40, {55, 59, 62, 66}}, {45, {52, 55, 57, 62}},
};

// Short phrases that answer each chord, resting on its first beat.
constexpr Note kThemeTune[] = {
    {1, 1, 66},  {2, 1, 69},  {3, 3, 76},  {6, 2, 74},                //
    {9, 1, 74},  {10, 1, 73}, {11, 2, 71}, {13, 3, 66},               //
    {17, 1, 67}, {18, 1, 69}, {19, 1, 71}, {20, 2, 74}, {22, 2, 71},  //
    {24, 3, 69}, {27, 1, 71}, {28, 4, 64},                            //
    {33, 1, 73}, {34, 1, 76}, {35, 3, 78}, {38, 2, 76},               //
    {40, 2, 74}, {42, 1, 71}, {43, 1, 69}, {44, 4, 71},               //
    {49, 1, 67}, {50, 1, 71}, {51, 1, 74}, {52, 2, 78}, {54, 2, 76},  //
    {56, 2, 76}, {58, 1, 74}, {59, 1, 73}, {60, 3, 69},               //
};

// The answer starts from the subdominant and wanders by the relative minor and a borrowed C
// (the one note outside the key, kept to the bass and the pad's own chord): Gmaj9, D/F#, Em9,
// Bm7, Cmaj9, Gmaj9, Em11, Asus2, a half close that opens onto the interlude.
constexpr Chord kAnswerChords[] = {
    {43, {54, 57, 59, 62}}, {42, {54, 57, 62, 64}}, {40, {50, 55, 59, 66}}, {35, {50, 54, 57, 62}},
    {36, {52, 55, 59, 62}}, {43, {50, 54, 57, 59}}, {40, {50, 55, 57, 59}}, {45, {52, 57, 59, 64}},
};

// Longer notes and a lower, stepwise line, so it sounds like a reply rather than a repeat.
constexpr Note kAnswerTune[] = {
    {2, 2, 74},  {4, 1, 73},  {5, 3, 71},                //
    {9, 1, 69},  {10, 1, 71}, {11, 1, 73}, {12, 4, 69},  //
    {18, 1, 67}, {19, 1, 69}, {20, 2, 71}, {22, 2, 74},  //
    {24, 3, 73}, {27, 1, 71}, {28, 4, 66},               //
    {34, 2, 76}, {36, 1, 74}, {37, 1, 71}, {38, 2, 67},  //
    {41, 1, 69}, {42, 1, 71}, {43, 1, 74}, {44, 4, 78},  //
    {50, 1, 76}, {51, 1, 74}, {52, 2, 71}, {54, 2, 69},  //
    {56, 3, 71}, {60, 3, 64},                            //
};

// Pads over a held D, then the dominant that brings the theme back: Dmaj9, Gmaj9/D, Em9/D,
// A7sus4.
constexpr Chord kInterludeChords[] = {
    {38, {54, 57, 61, 64}},
    {38, {54, 57, 59, 62}},
    {38, {55, 59, 62, 66}},
    {45, {52, 55, 57, 62}},
};

// The theme's chords again, each voiced higher and more open.
constexpr Chord kReturnChords[] = {
    {38, {50, 57, 61, 64}}, {35, {50, 57, 61, 66}}, {43, {54, 57, 59, 62}}, {45, {57, 59, 62, 64}},
    {42, {57, 61, 64, 66}}, {43, {50, 54, 59, 64}}, {40, {52, 55, 62, 66}}, {45, {55, 57, 62, 64}},
};

// The theme's tune with grace notes, passing notes, a turn and a mordent.
constexpr Note kReturnTune[] = {
    {1, 1, 66},
    {2, 0.8, 69},
    {2.8, 0.2, 78, 0.6},
    {3, 3, 76},
    {6, 2, 74},  //
    {9, 1, 74},
    {10, 1, 73},
    {11, 1, 71},
    {12, 1, 69},
    {13, 3, 66},  //
    {17, 1, 67},
    {18, 1, 69},
    {19, 1, 71},
    {20, 1.5, 74},
    {21.5, 0.5, 73, 0.7},
    {22, 2, 71},  //
    {24, 3, 69},
    {27, 0.5, 71},
    {27.5, 0.5, 69, 0.7},
    {28, 4, 64},  //
    {33, 1, 73},
    {34, 0.8, 76},
    {34.8, 0.2, 79, 0.6},
    {35, 3, 78},
    {38, 2, 76},  //
    {40, 2, 74},
    {42, 1, 71},
    {43, 1, 69},
    {44, 0.25, 71},
    {44.25, 0.25, 73, 0.6},
    {44.5, 3.5, 71, 0.8},  //
    {49, 1, 67},
    {50, 1, 71},
    {51, 1, 74},
    {52, 2, 78},
    {54, 2, 76},  //
    {56, 1, 76},
    {57, 1, 78},
    {58, 1, 74},
    {59, 1, 73},
    {60, 3, 69},  //
};

struct Section {
  std::span<const Chord> chords;
  std::span<const Note> tune;
  float pads;     // gain of each pad voice
  float bass;     // gain of the bass line
  double glints;  // chance of a glint on each beat
};

// Theme 64 s, answer 64 s, interlude 32 s, theme again 64 s: 224 s before anything repeats.
constexpr Section kSections[] = {
    {kThemeChords, kThemeTune, 0.08f, 0.3f, 0.3},
    {kAnswerChords, kAnswerTune, 0.08f, 0.3f, 0.3},
    // Without the tune the pads come forward a little, so the level holds.
    {kInterludeChords, {}, 0.1f, 0.22f, 0.18},
    {kReturnChords, kReturnTune, 0.08f, 0.3f, 0.4},
};

constexpr size_t pieceChords() {
  size_t n = 0;
  for (const Section& s : kSections) n += s.chords.size();
  return n;
}
static_assert(pieceChords() * kChordBeats == kMusicBars * 4);

// Calls f(first beat, chord, section) for every chord of the piece in order.
template <typename F>
void eachChord(F f) {
  size_t beat = 0;
  for (const Section& s : kSections) {
    for (const Chord& c : s.chords) {
      f(beat, c, s);
      beat += kChordBeats;
    }
  }
}

// Calls f(beat of the piece, note) for every note of the tune in order.
template <typename F>
void eachNote(F f) {
  size_t start = 0;
  for (const Section& s : kSections) {
    for (const Note& n : s.tune) f(static_cast<double>(start) + n.beat, n);
    start += s.chords.size() * kChordBeats;
  }
}

Audio silence() { return Audio::stereo(Samples(kLoopFrames), Samples(kLoopFrames)); }

void addPanned(Audio& mix, const Samples& voice, size_t start, double pan, float gain) {
  float gl, gr;
  panGains(pan, gl, gr);
  addWrapped(mix.channels[0], voice, start, gain * gl);
  addWrapped(mix.channels[1], voice, start, gain * gr);
}

// The tide, 0..1: a wave washes in over three seconds and draws back over five.
double tide(double seconds) {
  double cycles = seconds / kTidePeriod;
  double phase = cycles - std::floor(cycles);
  double s = std::sin(kPi * std::pow(phase, 0.7));
  return s * s;
}

// Soft chords: three slightly detuned voices per note, each slow to rise and to fade.
Audio pads() {
  Wavetable warm({1.0, 0.35, 0.15, 0.06, 0.03});
  const double hold = kChordBeats * kMusicBeatSeconds;
  Samples env(frames(hold + 3.5));
  for (size_t i = 0; i < env.size(); ++i) {
    env[i] = static_cast<float>(swell(static_cast<double>(i) / kRate, 2.5, hold, 3.5));
  }
  Audio mix = silence();
  Samples voice(env.size());
  eachChord([&](size_t beat, const Chord& chord, const Section& section) {
    for (int n = 0; n < 4; ++n) {
      for (double cents : {-6.0, 0.0, 6.0}) {
        double hz = midiHz(chord.pad[n] + cents / 100.0);
        Phase ph(0.37 * n + cents);  // voices start out of step, so they never click in unison
        for (size_t i = 0; i < voice.size(); ++i) voice[i] = env[i] * warm.at(ph.advance(hz));
        addPanned(mix, voice, beat * kBeat, -0.6 + 0.4 * n + cents / 30.0, section.pads);
      }
    }
  });
  return mix;
}

Audio bass() {
  Wavetable round({1.0, 0.2, 0.05});
  const double hold = kChordBeats * kMusicBeatSeconds;
  Audio mix = silence();
  Samples voice(frames(hold + 2.0));
  eachChord([&](size_t beat, const Chord& chord, const Section& section) {
    Phase ph;
    double hz = midiHz(chord.bass);
    for (size_t i = 0; i < voice.size(); ++i) {
      double t = static_cast<double>(i) / kRate;
      voice[i] = static_cast<float>(swell(t, 1.2, hold - 0.3, 2.0) * round.at(ph.advance(hz)));
    }
    addPanned(mix, voice, beat * kBeat, 0.0, section.bass);
  });
  return mix;
}

// A soft electric-piano tone: a sine phase-modulated by itself, bright at the strike, mellowing.
Samples pianoNote(double hz, double seconds, double velocity) {
  Samples s(frames(seconds + 1.5));
  Phase ph;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double p = ph.advance(hz);
    double index = 0.25 + 1.4 * expDecay(t, 0.35);
    double v = sine(p + index / kTwoPi * sine(p));
    s[i] = static_cast<float>(velocity * v * pluck(t, 0.012, 1.6) * swell(t, 0.0, seconds, 1.2));
  }
  return s;
}

// Human timing: each note a little early or late, a little softer or louder (fixed seed).
Audio melody() {
  Rng rng(2024);
  Audio mix = silence();
  eachNote([&](double beat, const Note& n) {
    double when = beat * kMusicBeatSeconds + 0.015 * rng.bipolar();
    double velocity = n.touch * (0.85 + 0.15 * rng.uniform());
    Samples voice = pianoNote(midiHz(n.midi), n.beats * kMusicBeatSeconds, velocity);
    size_t start = (frames(std::fmax(0.0, when)) + kLoopFrames) % kLoopFrames;
    addPanned(mix, voice, start, 0.15, 0.32f);
  });
  return mix;
}

// Glints of light on the water: rare, quiet high notes from the chord of the moment.
Audio glints() {
  Rng rng(77);
  Audio mix = silence();
  Samples voice(frames(1.5));
  eachChord([&](size_t first, const Chord& chord, const Section& section) {
    for (size_t beat = first; beat < first + kChordBeats; ++beat) {
      if (rng.uniform() > section.glints) continue;
      double hz = midiHz(chord.pad[rng.next() % 4] + 24);
      double when = (static_cast<double>(beat) + 0.5 * rng.uniform()) * kMusicBeatSeconds;
      for (size_t i = 0; i < voice.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        voice[i] = static_cast<float>(sine(hz * t) * pluck(t, 0.004, 0.35));
      }
      addPanned(mix, voice, frames(when) % kLoopFrames, 1.6 * rng.uniform() - 0.8, 0.05f);
    }
  });
  return mix;
}

// The sea itself: filtered noise that swells and opens with the tide, a little later on the
// right than on the left. Filtered twice round the loop so its start follows on from its end.
Audio surf() {
  Rng rng(7);
  Audio mix = silence();
  for (size_t c = 0; c < 2; ++c) {
    Samples noise = whiteNoise(kLoopFrames, rng);
    Svf low;
    for (int pass = 0; pass < 2; ++pass) {
      for (size_t i = 0; i < kLoopFrames; ++i) {
        double w = tide(static_cast<double>(i) / kRate - 0.6 * static_cast<double>(c));
        float x = low.process(noise[i], 300.0 + 1700.0 * w, 0.6).low;
        if (pass == 1) mix.channels[c][i] = static_cast<float>(x * (0.1 + 0.9 * w));
      }
    }
  }
  return mix;
}

// Gentle tonal darkening of the pads, warmed up on the end so the loop stays exact.
void mellow(Audio& a, double hz) {
  for (Samples& s : a.channels) {
    OnePole lp;
    lp.setLowpass(hz);
    for (size_t i = s.size() - kBeat; i < s.size(); ++i) lp.lowpass(s[i]);
    for (float& v : s) v = lp.lowpass(v);
  }
}

// The pads breathe with the tide.
void breathe(Audio& a) {
  for (size_t i = 0; i < a.frames(); ++i) {
    float g = static_cast<float>(0.85 + 0.15 * tide(static_cast<double>(i) / kRate - 1.0));
    a.channels[0][i] *= g;
    a.channels[1][i] *= g;
  }
}

}  // namespace

Audio renderMusic() {
  Audio music = pads();
  mellow(music, 1800.0);
  breathe(music);
  mixInto(music, bass());
  mixInto(music, melody());
  mixInto(music, glints());
  Audio room = loopedReverb(music, 2.2, 3.5, 4500.0);
  mixInto(music, room, 0.35f);
  mixInto(music, surf(), 0.3f);
  removeMean(music);
  normalizePeak(music, -3.0);
  return music;
}

}  // namespace soundgen

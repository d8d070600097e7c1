// Small synthesis toolkit for the generated sounds: signals, a fixed-seed random source,
// oscillators, envelopes, filters, a feedback-delay reverb and mixing. Everything is plain
// arithmetic on float samples at one rate, so the same program always makes the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundgen {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

using Samples = std::vector<float>;

// One signal of one or two channels, all of the same length.
struct Audio {
  std::vector<Samples> channels;

  static Audio mono(Samples s);
  static Audio stereo(Samples left, Samples right);
  size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

size_t frames(double seconds);
double midiHz(double note);
double dbToGain(double db);

// splitmix64: tiny, well mixed, and fully defined here (the standard distributions are not).
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t next();
  double uniform();  // [0, 1)
  double bipolar();  // [-1, 1)

 private:
  uint64_t state_;
};

Samples whiteNoise(size_t n, Rng& rng);

// Phase in cycles, advanced by a frequency that may change every sample (glides, vibrato).
class Phase {
 public:
  explicit Phase(double start = 0.0) : cycles_(start) {}
  double advance(double hz);  // returns the phase before the step, in [0, 1)

 private:
  double cycles_;
};

double sine(double cycles);

// One cycle made of harmonics (amplitude of the 1st, 2nd, ...), read with linear
// interpolation: much cheaper than summing sines when many voices sound at once.
class Wavetable {
 public:
  explicit Wavetable(const std::vector<double>& harmonics);
  float at(double cycles) const;

 private:
  Samples table_;
};

// Envelopes take the time since the note began, in seconds, and give a gain in 0..1.
double riseCurve(double t, double attack);  // raised-cosine rise: no corner at the start
double expDecay(double t, double tau);
double pluck(double t, double attack, double tau);
// Attack, hold until `length`, then raised-cosine release over `release`.
double swell(double t, double attack, double length, double release);

// Raised-cosine fades at both ends, so a one-shot starts and stops at silence.
void fadeEdges(Samples& s, double fadeIn, double fadeOut);

// One-pole filters: gentle slopes that never ring.
class OnePole {
 public:
  void setLowpass(double hz);
  float lowpass(float x);
  float highpass(float x);  // the input minus its low part

 private:
  double a_ = 1.0;
  double z_ = 0.0;
};

// Topology-preserving state-variable filter; the cutoff may move every sample.
class Svf {
 public:
  struct Out {
    float low, band, high;
  };
  Out process(float x, double hz, double q);

 private:
  double ic1_ = 0.0, ic2_ = 0.0;
};

// Four delay lines mixed by a Householder matrix, damped in the loop; two decorrelated outputs.
class Reverb {
 public:
  Reverb(double size, double decaySeconds, double dampHz);
  void process(float inL, float inR, float& outL, float& outR);

 private:
  std::vector<Samples> lines_;
  std::vector<size_t> pos_;
  std::vector<double> gains_;
  std::vector<OnePole> damp_;
};

// Runs a reverb over a signal that repeats forever: two passes, the second one heard, so the
// tail of the end is already ringing at the start. Returns only the wet part.
Audio loopedReverb(const Audio& dry, double size, double decaySeconds, double dampHz);
// The same for a one-shot: the signal followed by silence, wet part only.
Audio reverb(const Audio& dry, double size, double decaySeconds, double dampHz);

void addAt(Samples& dst, const Samples& src, size_t offset, float gain = 1.0f);
// Adds src at offset, wrapping past the end back to the start (for loops).
void addWrapped(Samples& dst, const Samples& src, size_t offset, float gain = 1.0f);
void mixInto(Audio& dst, const Audio& src, float gain = 1.0f);

float peak(const Audio& a);
void scale(Audio& a, float gain);
void normalizePeak(Audio& a, double dbfs);
void removeMean(Audio& a);

// Roughly how loud a sound seems at its loudest: the RMS of its loudest 50 ms in dBFS, with
// the lows (which the ear hears less and small speakers barely play) weighed down.
double loudnessDb(const Audio& a);

// Equal-power pan position in -1 (left) .. 1 (right).
void panGains(double pan, float& left, float& right);

}  // namespace soundgen

#include "synth.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

Audio Audio::mono(Samples s) {
  Audio a;
  a.channels.push_back(std::move(s));
  return a;
}

Audio Audio::stereo(Samples left, Samples right) {
  Audio a;
  a.channels.push_back(std::move(left));
  a.channels.push_back(std::move(right));
  return a;
}

size_t frames(double seconds) {
  return static_cast<size_t>(std::lround(seconds * kRate));
}

double midiHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

double dbToGain(double db) {
  return std::pow(10.0, db / 20.0);
}

uint64_t Rng::next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::uniform() {
  return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double Rng::bipolar() {
  return 2.0 * uniform() - 1.0;
}

Samples whiteNoise(size_t n, Rng& rng) {
  Samples s(n);
  for (float& v : s) v = static_cast<float>(rng.bipolar());
  return s;
}

double Phase::advance(double hz) {
  double before = cycles_;
  cycles_ += hz / kRate;
  cycles_ -= std::floor(cycles_);
  return before;
}

double sine(double cycles) {
  return std::sin(kTwoPi * cycles);
}

Wavetable::Wavetable(const std::vector<double>& harmonics) : table_(4097) {
  for (size_t i = 0; i + 1 < table_.size(); ++i) {
    double v = 0.0;
    for (size_t h = 0; h < harmonics.size(); ++h) {
      v += harmonics[h] * sine(static_cast<double>((h + 1) * i) / 4096.0);
    }
    table_[i] = static_cast<float>(v);
  }
  table_.back() = table_.front();
}

float Wavetable::at(double cycles) const {
  double x = (cycles - std::floor(cycles)) * 4096.0;
  size_t i = std::min<size_t>(static_cast<size_t>(x), 4095);
  float frac = static_cast<float>(x - static_cast<double>(i));
  return table_[i] + frac * (table_[i + 1] - table_[i]);
}

double riseCurve(double t, double attack) {
  if (t <= 0.0) return 0.0;
  if (t >= attack) return 1.0;
  return 0.5 - 0.5 * std::cos(kPi * t / attack);
}

double expDecay(double t, double tau) {
  return t <= 0.0 ? 1.0 : std::exp(-t / tau);
}

double pluck(double t, double attack, double tau) {
  return riseCurve(t, attack) * expDecay(t - attack, tau);
}

double swell(double t, double attack, double length, double release) {
  if (t < length) return riseCurve(t, attack);
  double level = riseCurve(length, attack);
  return level * (1.0 - riseCurve(t - length, release));
}

void fadeEdges(Samples& s, double fadeIn, double fadeOut) {
  size_t in = std::min(frames(fadeIn), s.size());
  size_t out = std::min(frames(fadeOut), s.size());
  for (size_t i = 0; i < in; ++i) s[i] *= static_cast<float>(riseCurve(i, in));
  // The last sample lands exactly on zero.
  for (size_t i = 0; i < out; ++i) {
    s[s.size() - 1 - i] *= static_cast<float>(riseCurve(i, out));
  }
}

void OnePole::setLowpass(double hz) {
  a_ = 1.0 - std::exp(-kTwoPi * hz / kRate);
}

float OnePole::lowpass(float x) {
  z_ += a_ * (x - z_);
  return static_cast<float>(z_);
}

float OnePole::highpass(float x) {
  return x - lowpass(x);
}

Svf::Out Svf::process(float x, double hz, double q) {
  double g = std::tan(kPi * std::min(hz, 0.45 * kRate) / kRate);
  double k = 1.0 / q;
  double a1 = 1.0 / (1.0 + g * (g + k));
  double v3 = x - ic2_;
  double v1 = a1 * ic1_ + g * a1 * v3;
  double v2 = ic2_ + g * v1;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(x - k * v1 - v2)};
}

namespace {

// Mutually prime lengths keep the echoes from lining up into a pitch.
constexpr int kLineLengths[8] = {601, 691, 773, 853, 947, 1031, 1129, 1237};

// Passes needed before a looped reverb has settled to far below hearing (-120 dB).
int settlingPasses(size_t loopFrames, double decaySeconds) {
  double loopSeconds = static_cast<double>(loopFrames) / kRate;
  return 2 + static_cast<int>(std::ceil(2.0 * decaySeconds / loopSeconds));
}

}  // namespace

Reverb::Reverb(double size, double decaySeconds, double dampHz) {
  for (int len : kLineLengths) {
    size_t n = std::max<size_t>(16, static_cast<size_t>(len * size));
    lines_.emplace_back(n, 0.0f);
    pos_.push_back(0);
    // Each line loses 60 dB over decaySeconds, whatever its length.
    gains_.push_back(std::pow(10.0, -3.0 * static_cast<double>(n) / (kRate * decaySeconds)));
    damp_.emplace_back();
    damp_.back().setLowpass(dampHz);
  }
}

void Reverb::process(float inL, float inR, float& outL, float& outR) {
  constexpr size_t kLines = 8;
  double taps[kLines];
  double sum = 0.0;
  for (size_t i = 0; i < kLines; ++i) {
    taps[i] = damp_[i].lowpass(lines_[i][pos_[i]]) * gains_[i];
    sum += taps[i];
  }
  // Householder feedback: energy preserving and every line feeds every other.
  double mix = 2.0 / kLines * sum;
  double l = 0.0, r = 0.0;
  for (size_t i = 0; i < kLines; ++i) {
    double in = (i % 2 == 0) ? inL : inR;
    lines_[i][pos_[i]] = static_cast<float>(taps[i] - mix + 0.5 * in);
    pos_[i] = (pos_[i] + 1) % lines_[i].size();
    (i < kLines / 2 ? l : r) += (i % 3 == 0 ? -taps[i] : taps[i]);
  }
  outL = static_cast<float>(0.5 * l);
  outR = static_cast<float>(0.5 * r);
}

namespace {

Audio runReverb(const Audio& dry, size_t outFrames, int passes, Reverb& rv) {
  size_t n = dry.frames();
  const Samples& inL = dry.channels.front();
  const Samples& inR = dry.channels.back();
  Audio wet = Audio::stereo(Samples(outFrames), Samples(outFrames));
  size_t total = static_cast<size_t>(passes - 1) * n + outFrames;
  size_t heardFrom = total - outFrames;
  for (size_t i = 0; i < total; ++i) {
    size_t k = i % n;
    bool inside = passes > 1 || i < n;
    float l = 0.0f, r = 0.0f;
    rv.process(inside ? inL[k] : 0.0f, inside ? inR[k] : 0.0f, l, r);
    if (i >= heardFrom) {
      wet.channels[0][i - heardFrom] = l;
      wet.channels[1][i - heardFrom] = r;
    }
  }
  return wet;
}

}  // namespace

Audio loopedReverb(const Audio& dry, double size, double decaySeconds, double dampHz) {
  Reverb rv(size, decaySeconds, dampHz);
  return runReverb(dry, dry.frames(), settlingPasses(dry.frames(), decaySeconds), rv);
}

Audio reverb(const Audio& dry, double size, double decaySeconds, double dampHz) {
  Reverb rv(size, decaySeconds, dampHz);
  return runReverb(dry, dry.frames(), 1, rv);
}

void addAt(Samples& dst, const Samples& src, size_t offset, float gain) {
  for (size_t i = 0; i < src.size() && offset + i < dst.size(); ++i) {
    dst[offset + i] += gain * src[i];
  }
}

void addWrapped(Samples& dst, const Samples& src, size_t offset, float gain) {
  for (size_t i = 0; i < src.size(); ++i) dst[(offset + i) % dst.size()] += gain * src[i];
}

void mixInto(Audio& dst, const Audio& src, float gain) {
  for (size_t c = 0; c < dst.channels.size(); ++c) {
    const Samples& s = src.channels[std::min(c, src.channels.size() - 1)];
    addAt(dst.channels[c], s, 0, gain);
  }
}

float peak(const Audio& a) {
  float p = 0.0f;
  for (const Samples& s : a.channels) {
    for (float v : s) p = std::max(p, std::fabs(v));
  }
  return p;
}

void scale(Audio& a, float gain) {
  for (Samples& s : a.channels) {
    for (float& v : s) v *= gain;
  }
}

void normalizePeak(Audio& a, double dbfs) {
  float p = peak(a);
  if (p > 0.0f) scale(a, static_cast<float>(dbToGain(dbfs) / p));
}

void removeMean(Audio& a) {
  for (Samples& s : a.channels) {
    double sum = 0.0;
    for (float v : s) sum += v;
    float mean = static_cast<float>(sum / static_cast<double>(std::max<size_t>(1, s.size())));
    for (float& v : s) v -= mean;
  }
}

double loudnessDb(const Audio& a) {
  std::vector<Samples> weighted = a.channels;
  for (Samples& s : weighted) {
    OnePole lows;
    lows.setLowpass(400.0);
    for (float& v : s) v = lows.highpass(v);
  }
  size_t window = std::min(frames(0.05), a.frames());
  double loudest = 1e-12;
  for (size_t start = 0; start + window <= a.frames(); start += std::max<size_t>(1, window / 4)) {
    double sum = 0.0;
    for (const Samples& s : weighted) {
      for (size_t i = start; i < start + window; ++i) sum += static_cast<double>(s[i]) * s[i];
    }
    loudest = std::max(loudest, sum / static_cast<double>(window * weighted.size()));
  }
  return 10.0 * std::log10(loudest);
}

void panGains(double pan, float& left, float& right) {
  double angle = (pan + 1.0) * kPi / 4.0;
  left = static_cast<float>(std::cos(angle));
  right = static_cast<float>(std::sin(angle));
}

}  // namespace soundgen

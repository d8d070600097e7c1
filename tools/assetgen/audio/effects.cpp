#include "effects.h"

#include <cmath>
#include <functional>

namespace soundgen {

namespace {

// Samples of f(t) over `seconds`, with t in seconds from the start.
Samples render(double seconds, const std::function<double(double)>& f) {
  Samples s(frames(seconds));
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<float>(f(static_cast<double>(i) / kRate));
  return s;
}

// A glide from `from` to `to` that moves fast at first and settles (time constant tau).
double glide(double t, double from, double to, double tau) {
  return to + (from - to) * expDecay(t, tau);
}

double smoothstep(double x) {
  x = std::fmin(1.0, std::fmax(0.0, x));
  return x * x * (3.0 - 2.0 * x);
}

// A struck body: decaying sine partials (hz, amplitude, decay) behind a soft attack.
struct Partial {
  double hz, amp, tau;
};

Samples strike(double seconds, double attack, const std::vector<Partial>& partials) {
  return render(seconds, [&](double t) {
    double v = 0.0;
    for (const Partial& p : partials) v += p.amp * sine(p.hz * t) * expDecay(t, p.tau);
    return v * riseCurve(t, attack);
  });
}

// A short breath of band-limited noise, the "touch" that starts a struck sound.
Samples noiseTick(double seconds, double hz, double tau, uint64_t seed) {
  Rng rng(seed);
  Svf f;
  return render(seconds, [&](double t) {
    double x = f.process(static_cast<float>(rng.bipolar()), hz, 1.2).band;
    return x * pluck(t, 0.0015, tau);
  });
}

// Adds a small room around a sound; a mono sound stays mono.
Audio withRoom(Audio dry, float wet, double size, double decay, double dampHz) {
  Audio room = reverb(dry, size, decay, dampHz);
  if (dry.channels.size() == 1) {
    Samples& d = dry.channels[0];
    for (size_t i = 0; i < d.size(); ++i) {
      d[i] += wet * 0.5f * (room.channels[0][i] + room.channels[1][i]);
    }
    return dry;
  }
  mixInto(dry, room, wet);
  return dry;
}

// Silence ahead of the attack: the codec smears a sharp onset over its short block, and this
// keeps that smear off the first samples, so playback never starts on a step.
constexpr double kLead = 0.012;

// Every effect peaks at the common level unless that would make it sound louder than this:
// pure tones have little peak for their loudness and would stand out among the clicks.
constexpr double kLoudnessCeilingDb = -15.0;
// The hover sound comes often and sits where hearing is keenest; it stays further back.
constexpr double kHoverCeilingDb = -18.0;
// Explosions are meant to be the loudest sounds of the game.
constexpr double kNoCeiling = 0.0;

void fitLevel(Audio& a, double ceilingDb) {
  normalizePeak(a, kPeakDbfs);
  double over = loudnessDb(a) - ceilingDb;
  if (over > 0.0) scale(a, static_cast<float>(dbToGain(-over)));
}

// A short, lopsided sound keeps a net offset even after the high-pass; take it out as one
// slow hump the length of the sound, which leaves both ends at zero.
void removeOffset(Samples& s) {
  double sum = 0.0, weight = 0.0;
  Samples hump(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    double x = std::sin(kPi * static_cast<double>(i) / static_cast<double>(s.size() - 1));
    hump[i] = static_cast<float>(x * x);
    sum += s[i];
    weight += hump[i];
  }
  for (size_t i = 0; i < s.size(); ++i) s[i] -= static_cast<float>(sum / weight) * hump[i];
}

// One-shots start and end in silence, carry no offset, and sit at the matched level.
void finishOneShot(Audio& a, double fadeOut, double ceilingDb = kLoudnessCeilingDb) {
  for (Samples& s : a.channels) {
    OnePole dc;
    dc.setLowpass(25.0);
    for (float& v : s) v = dc.highpass(v);
    fadeEdges(s, 0.003, fadeOut);
    removeOffset(s);
    s.insert(s.begin(), frames(kLead), 0.0f);
  }
  fitLevel(a, ceilingDb);
}

// Pointer enters a button: foam settling on sand, a soft rising "shh".
Audio hiss() {
  Rng rng(11);
  Svf band;
  Samples s = render(0.26, [&](double t) {
    double hz = glide(t, 2400.0, 4200.0, 0.08);
    double x = band.process(static_cast<float>(rng.bipolar()), hz, 0.8).band;
    return x * riseCurve(t, 0.06) * expDecay(t - 0.06, 0.05);
  });
  Audio a = withRoom(Audio::mono(std::move(s)), 0.25f, 0.5, 0.25, 6000.0);
  finishOneShot(a, 0.04, kHoverCeilingDb);
  return a;
}

// Button press: one droplet, a quick upward chirp.
Audio pop() {
  Phase ph;
  Samples s = render(0.2, [&](double t) {
    double p = ph.advance(glide(t, 620.0, 1400.0, 0.022));
    return (sine(p) + 0.12 * sine(2.0 * p)) * pluck(t, 0.002, 0.03);
  });
  Audio a = withRoom(Audio::mono(std::move(s)), 0.3f, 0.4, 0.3, 5000.0);
  finishOneShot(a, 0.05);
  return a;
}

// A tile turns a quarter: a small wooden tock.
Samples tock(double pitch, double length, double tau, uint64_t seed) {
  Samples body =
      strike(length, 0.0015,
             {{pitch, 1.0, tau}, {pitch * 2.23, 0.35, tau * 0.5}, {pitch * 0.36, 0.45, tau * 1.4}});
  addAt(body, noiseTick(length, pitch * 2.6, 0.004, seed), 0, 0.5f);
  return body;
}

Audio snap() {
  Audio a = withRoom(Audio::mono(tock(midiHz(86), 0.18, 0.03, 21)), 0.2f, 0.4, 0.25, 5000.0);
  finishOneShot(a, 0.04);
  return a;
}

// The linked group turns together: four tocks climbing the scale over a low turning swish.
Audio ratchet() {
  Samples s(frames(0.42));
  const double notes[4] = {81, 83, 85, 86};  // A5 B5 C#6 D6
  for (int k = 0; k < 4; ++k) {
    Samples click = tock(midiHz(notes[k]), 0.14, 0.018, 31 + k);
    addAt(s, click, frames(0.07 * k), static_cast<float>(0.7 + 0.1 * k));
  }
  Rng rng(35);
  Svf band;
  Samples swish = render(0.34, [&](double t) {
    double x = band.process(static_cast<float>(rng.bipolar()), 700.0 + 1500.0 * t, 1.5).band;
    return 0.2 * x * swell(t, 0.1, 0.12, 0.2);
  });
  addAt(s, swish, 0);
  Audio a = withRoom(Audio::mono(std::move(s)), 0.2f, 0.5, 0.3, 5000.0);
  finishOneShot(a, 0.05);
  return a;
}

// Two tiles trade places: two soft tones cross each other and the stereo field.
Audio swap() {
  const double seconds = 0.42, moveEnd = 0.24;
  Samples left(frames(seconds)), right(frames(seconds));
  for (int voice = 0; voice < 2; ++voice) {
    double from = midiHz(voice == 0 ? 74 : 81), to = midiHz(voice == 0 ? 81 : 74);
    Phase ph;
    for (size_t i = 0; i < left.size(); ++i) {
      double t = static_cast<double>(i) / kRate;
      double move = smoothstep(t / moveEnd);
      double p = ph.advance(from + (to - from) * move);
      double v = (sine(p) + 0.15 * sine(2.0 * p)) * pluck(t, 0.03, 0.12) * 0.5;
      float gl, gr;
      panGains((voice == 0 ? -0.8 : 0.8) * (1.0 - 2.0 * move), gl, gr);
      left[i] += static_cast<float>(v * gl);
      right[i] += static_cast<float>(v * gr);
    }
  }
  Rng rng(41);
  Svf band;
  Samples air = render(seconds, [&](double t) {
    double x = band.process(static_cast<float>(rng.bipolar()), 1800.0, 1.0).band;
    return 0.25 * x * swell(t, 0.12, 0.12, 0.15);
  });
  Audio a = Audio::stereo(std::move(left), std::move(right));
  mixInto(a, Audio::mono(std::move(air)));
  a = withRoom(std::move(a), 0.25f, 0.6, 0.35, 5000.0);
  finishOneShot(a, 0.06);
  return a;
}

// A fixed tile will not move: a muted metal bar, struck twice as it rattles in place.
Audio clank() {
  const double f = 300.0;  // free-bar partial ratios: clearly metal, clearly not a note
  std::vector<Partial> bar = {{f, 1.0, 0.11},
                              {f * 2.76, 0.45, 0.06},
                              {f * 5.40, 0.2, 0.03},
                              {f * 8.93, 0.08, 0.018},
                              {f * 0.37, 0.6, 0.05}};
  Samples s = strike(0.34, 0.001, bar);
  addAt(s, strike(0.3, 0.001, bar), frames(0.045), 0.3f);
  addAt(s, noiseTick(0.34, 2600.0, 0.005, 51), 0, 0.5f);
  OnePole muffle;
  muffle.setLowpass(3500.0);
  for (float& v : s) v = muffle.lowpass(v);
  Audio a = withRoom(Audio::mono(std::move(s)), 0.2f, 0.5, 0.3, 4000.0);
  finishOneShot(a, 0.06);
  return a;
}

// A new puzzle: water swirls round the board and a rising run of glassy notes.
Audio swirl() {
  const double seconds = 0.85;
  Samples left(frames(seconds)), right(frames(seconds));
  Rng rng(61);
  Svf band;
  for (size_t i = 0; i < left.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double hz = 450.0 + 2200.0 * std::sin(kPi * std::fmin(1.0, t / 0.7));
    double x = band.process(static_cast<float>(rng.bipolar()), hz, 2.5).band;
    double v = 0.45 * x * swell(t, 0.2, 0.35, 0.4);
    float gl, gr;
    panGains(0.7 * std::sin(kTwoPi * 1.4 * t), gl, gr);
    left[i] = static_cast<float>(v * gl);
    right[i] = static_cast<float>(v * gr);
  }
  const double run[6] = {74, 76, 78, 81, 83, 86};  // D5 E5 F#5 A5 B5 D6
  for (int k = 0; k < 6; ++k) {
    double start = 0.08 + 0.075 * k;
    Samples note = strike(seconds - start, 0.003,
                          {{midiHz(run[k]), 0.55, 0.16}, {midiHz(run[k]) * 3.0, 0.07, 0.05}});
    float gl, gr;
    panGains(0.7 * std::sin(kTwoPi * 1.4 * start), gl, gr);
    addAt(left, note, frames(start), gl);
    addAt(right, note, frames(start), gr);
  }
  Audio a = withRoom(Audio::stereo(std::move(left), std::move(right)), 0.3f, 0.8, 0.5, 5000.0);
  finishOneShot(a, 0.12);
  return a;
}

// Score counting up: a music-box figure that repeats for as long as the count runs. Rendered
// round a circle, so the last note's ring carries on over the seam into the first.
Audio twiddle() {
  // 70 ms steps; seven notes and a rest make one cycle, the whole file. The rest lets the
  // figure breathe, and puts the seam where the sound is quietest: the encoder codes the
  // start of a stream a little less exactly than the rest.
  const size_t step = 1540;
  const double figure[7] = {81, 86, 90, 93, 95, 93, 90};  // A5 D6 F#6 A6 B6 A6 F#6, rest
  Samples s(8 * step, 0.0f);
  for (int k = 0; k < 7; ++k) {
    double hz = midiHz(figure[k]);
    Samples note = strike(0.5, 0.003, {{hz, 1.0, 0.06}, {hz * 2.0, 0.12, 0.035}});
    fadeEdges(note, 0.0, 0.1);
    addWrapped(s, note, k * step, k == 0 ? 1.0f : 0.75f);
  }
  Audio a = Audio::mono(std::move(s));
  Audio room = loopedReverb(a, 0.5, 0.4, 5000.0);
  for (size_t i = 0; i < a.frames(); ++i) {
    a.channels[0][i] += 0.2f * 0.5f * (room.channels[0][i] + room.channels[1][i]);
  }
  removeMean(a);  // keeps the loop exact, unlike a filter started at the seam
  fitLevel(a, kLoudnessCeilingDb);
  return a;
}

// Rounds off the loudest moments of a blast so its body can sit closer to the common peak
// without an edge: tanh bends smoothly, unlike a clip.
void saturate(Audio& a, double drive) {
  float p = peak(a);
  if (p <= 0.0f) return;
  for (Samples& s : a.channels) {
    for (float& v : s) v = static_cast<float>(std::tanh(drive * v / p));
  }
}

// Shared by both explosions: a thump that drops in pitch and a wash of falling noise.
Samples blast(double seconds, double thumpFrom, double thumpTo, double thumpTau, double noiseTau,
              uint64_t seed) {
  Phase ph;
  Rng rng(seed);
  Svf low;
  return render(seconds, [&](double t) {
    double thump =
        sine(ph.advance(glide(t, thumpFrom, thumpTo, thumpTau))) * pluck(t, 0.004, thumpTau * 2.0);
    double cutoff = glide(t, 2600.0, 180.0, noiseTau);
    double wash = low.process(static_cast<float>(rng.bipolar()), cutoff, 0.7).low;
    return 0.6 * thump + 1.4 * wash * pluck(t, 0.006, noiseTau * 1.3);
  });
}

// A blast reaches a tile: a soft, splashy whump; its weight sits in the first 300 ms because
// the next hit may restart it that soon.
Audio explode() {
  Samples s = blast(0.8, 150.0, 62.0, 0.07, 0.12, 71);
  Audio a = Audio::stereo(s, s);
  Audio room = reverb(a, 1.0, 0.6, 3000.0);
  mixInto(a, room, 0.35f);
  saturate(a, 1.6);
  finishOneShot(a, 0.2, kNoCeiling);
  return a;
}

// A bomb goes off: a deep boom, then a wave breaking and its foam running out.
Audio explodeBig() {
  const double seconds = 1.2;
  Samples boom = blast(seconds, 120.0, 45.0, 0.12, 0.3, 81);
  Rng rng(82);
  Svf band;
  Samples foam = render(seconds, [&](double t) {
    double x =
        band.process(static_cast<float>(rng.bipolar()), glide(t, 3000.0, 1200.0, 0.4), 0.9).band;
    return 0.5 * x * riseCurve(t - 0.08, 0.2) * expDecay(t - 0.28, 0.25);
  });
  addAt(boom, foam, 0);
  Audio a = Audio::stereo(boom, boom);
  Audio room = reverb(a, 1.4, 1.0, 2500.0);
  mixInto(a, room, 0.4f);
  saturate(a, 1.6);
  finishOneShot(a, 0.3, kNoCeiling);
  return a;
}

// A click beside the controls of a pop-up: a round bubble rising through water.
Audio bloop() {
  Phase ph;
  Samples s = render(0.3, [&](double t) {
    double hz = glide(t, 230.0, 520.0, 0.05) * (1.0 + 0.03 * std::sin(kTwoPi * 16.0 * t));
    double p = ph.advance(hz);
    return (sine(p) + 0.08 * sine(2.0 * p)) * pluck(t, 0.006, 0.06);
  });
  Audio a = withRoom(Audio::mono(std::move(s)), 0.3f, 0.6, 0.35, 4000.0);
  finishOneShot(a, 0.06);
  return a;
}

}  // namespace

std::vector<Effect> renderEffects() {
  std::vector<Effect> out;
  out.push_back({"hiss.ogg", false, hiss()});
  out.push_back({"pop2.ogg", false, pop()});
  out.push_back({"snap2.ogg", false, snap()});
  out.push_back({"ratchet4.ogg", false, ratchet()});
  out.push_back({"swap.ogg", false, swap()});
  out.push_back({"clank.ogg", false, clank()});
  out.push_back({"swirl.ogg", false, swirl()});
  out.push_back({"twiddle.ogg", true, twiddle()});
  out.push_back({"explode.ogg", false, explode()});
  out.push_back({"explode-big.ogg", false, explodeBig()});
  out.push_back({"bloop.ogg", false, bloop()});
  return out;
}

}  // namespace soundgen

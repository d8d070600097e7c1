#include "gfx/image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// The blend formulas as the game defines them, byte by byte. Everything fast
// below must give exactly these results.
inline uint8_t blendDrawByte(double opacity, uint8_t target, uint8_t source) {
  return static_cast<uint8_t>((1.0 - opacity) * target + opacity * source);
}
inline uint8_t blendFillByte(double opacity, uint8_t colour, uint8_t old) {
  return static_cast<uint8_t>(opacity * colour + (1.0 - opacity) * old);
}

inline bool isOpaque(double opacity) { return opacity > 0.99; }
// Opacity 0 leaves every byte as it is; below 0 (or NaN) is outside the range
// callers may pass and is treated the same rather than overflowing a byte.
inline bool isInvisible(double opacity) { return !(opacity > 0.0); }

enum class Formula { Draw, Fill };

// Vectors of N bytes and of the wider lanes they are computed in (vector
// types need a class template to depend on N). Widening one step at a time
// gives the compiler conversions it lowers well.
template <int N>
struct Lanes {
  typedef uint8_t Bytes __attribute__((vector_size(N)));
  typedef uint16_t Words __attribute__((vector_size(2 * N)));
  typedef int32_t Ints __attribute__((vector_size(4 * N)));
  typedef double Reals __attribute__((vector_size(8 * N)));
};

// Opacities on a 1/256 grid (0.5, 0.25, ...) make every product and the sum
// exact in double, so (wKeep * t + wTake * s) >> 8 in 16-bit lanes is exactly
// the formula's result, whichever formula.
template <int N>
[[gnu::always_inline]] inline void gridBlendVector(uint8_t* dst, const uint8_t* src, size_t n,
                                                   uint16_t wKeep, uint16_t wTake) {
  using Bytes = typename Lanes<N>::Bytes;
  using Words = typename Lanes<N>::Words;
  size_t i = 0;
  for (; i + N <= n; i += N) {
    Bytes t, s;
    std::memcpy(&t, dst + i, N);
    std::memcpy(&s, src + i, N);
    const Words sum =
        __builtin_convertvector(t, Words) * wKeep + __builtin_convertvector(s, Words) * wTake;
    const Bytes result = __builtin_convertvector(sum >> 8, Bytes);
    std::memcpy(dst + i, &result, N);
  }
  for (; i < n; ++i) dst[i] = static_cast<uint8_t>((wKeep * dst[i] + wTake * src[i]) >> 8);
}

// Any other opacity: the formula itself, in double lanes, with the operands
// in the formula's own order. No fused multiply-add is enabled for these
// functions, so every lane rounds exactly as the scalar formula does.
template <int N, Formula F>
[[gnu::always_inline]] inline void mixVector(uint8_t* dst, const uint8_t* src, size_t n,
                                             double opacity) {
  using L = Lanes<N>;
  const double keep = 1.0 - opacity;
  size_t i = 0;
  for (; i + N <= n; i += N) {
    typename L::Bytes tb, sb;
    std::memcpy(&tb, dst + i, N);
    std::memcpy(&sb, src + i, N);
    using Ints = typename L::Ints;
    using Reals = typename L::Reals;
    using Words = typename L::Words;
    const Reals t = __builtin_convertvector(
        __builtin_convertvector(__builtin_convertvector(tb, Words), Ints), Reals);
    const Reals s = __builtin_convertvector(
        __builtin_convertvector(__builtin_convertvector(sb, Words), Ints), Reals);
    const Reals mixed = F == Formula::Draw ? keep * t + opacity * s : opacity * s + keep * t;
    const auto result = __builtin_convertvector(
        __builtin_convertvector(__builtin_convertvector(mixed, Ints), Words), typename L::Bytes);
    std::memcpy(dst + i, &result, N);
  }
  for (; i < n; ++i) {
    dst[i] = F == Formula::Draw ? blendDrawByte(opacity, dst[i], src[i])
                                : blendFillByte(opacity, src[i], dst[i]);
  }
}

using GridBlendFn = void (*)(uint8_t*, const uint8_t*, size_t, uint16_t, uint16_t);
using MixFn = void (*)(uint8_t*, const uint8_t*, size_t, double);

// Integer weights that give exactly the formula's bytes at one opacity:
// (keep * t + take * s + bias) >> 15, with t the target (or old) byte and s
// the source (or colour) byte. Most opacities off the 1/256 grid have one;
// where rounding in double breaks the pattern (0.3 is such an opacity) none
// exists, and the formula itself is evaluated.
struct IntegerForm {
  int16_t keep = 0;
  int16_t take = 0;
  int32_t bias = 0;
};

// The formula's result is t + o (s - t): the target byte plus a step that
// depends only on how far the source byte lies from it, o d rounded down
// (below the target, -floor(o |d|) - 1, which is ~floor(o |d|) in a byte).
// That holds for every pair except where o d is a whole number, or nearly:
// there the double's rounding decides, pair by pair. Above one half the
// steps are taken from the source byte instead, by 1 - o, so that every step
// is below 128 and the top bit is free to mark the distances whose pairs take
// the formula itself. Built from the formula's own results for all 65,536
// pairs, so the table is exact wherever it is not marked.
struct StepTable {
  bool fromSource = false;
  std::array<uint8_t, 256> steps{};  // by distance |s - t|; top bit: the formula decides
  // The formula's result where target and source are the same byte (a
  // sprite's edge over a background of its own colour), a distance that is
  // common and always whole; where it is not the byte itself, the step for
  // distance 0 is marked and these are looked up instead.
  std::array<uint8_t, 256> diagonal{};
  bool plainDiagonal() const { return steps[0] == 0; }
};
constexpr uint8_t kFormulaDecides = 0x80;
constexpr int kFormShift = 15;
using FormBlendFn = void (*)(uint8_t*, const uint8_t*, size_t, const IntegerForm&);

inline uint8_t formByte(const IntegerForm& f, uint8_t t, uint8_t s) {
  return static_cast<uint8_t>((f.keep * t + f.take * s + f.bias) >> kFormShift);
}

void gridBlendBaseline(uint8_t* dst, const uint8_t* src, size_t n, uint16_t wKeep, uint16_t wTake) {
  gridBlendVector<16>(dst, src, n, wKeep, wTake);
}
template <Formula F>
void mixBaseline(uint8_t* dst, const uint8_t* src, size_t n, double opacity) {
  mixVector<16, F>(dst, src, n, opacity);
}

#if defined(__GNUC__) && defined(__x86_64__)
// Target and source bytes widened and paired, (t, s) in each 32-bit lane, so one
// multiply-add per lane gives keep * t + take * s; SSE2 is part of x86-64.
void formBlendBaseline(uint8_t* dst, const uint8_t* src, size_t n, const IntegerForm& f) {
  const __m128i w = _mm_set1_epi32(static_cast<uint16_t>(f.keep) | f.take << 16);
  const __m128i bias = _mm_set1_epi32(f.bias), zero = _mm_setzero_si128();
  auto part = [&](__m128i t, __m128i s) {
    return _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(t, s), w), bias),
                          kFormShift);
  };
  auto partHigh = [&](__m128i t, __m128i s) {
    return _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(t, s), w), bias),
                          kFormShift);
  };
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i tl = _mm_unpacklo_epi8(t, zero), th = _mm_unpackhi_epi8(t, zero);
    const __m128i sl = _mm_unpacklo_epi8(s, zero), sh = _mm_unpackhi_epi8(s, zero);
    const __m128i low = _mm_packs_epi32(part(tl, sl), partHigh(tl, sl));
    const __m128i high = _mm_packs_epi32(part(th, sh), partHigh(th, sh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(low, high));
  }
  for (; i < n; ++i) dst[i] = formByte(f, dst[i], src[i]);
}
#else
void formBlendBaseline(uint8_t* dst, const uint8_t* src, size_t n, const IntegerForm& f) {
  for (size_t i = 0; i < n; ++i) dst[i] = formByte(f, dst[i], src[i]);
}
#endif

// x86-64 only promises SSE2; AVX2 doubles the lanes where the processor has
// it, chosen once at run time.
#if defined(__GNUC__) && defined(__x86_64__)
#define GYROTIDE_GFX_AVX2 1
__attribute__((target("avx2"))) void gridBlendAvx2(uint8_t* dst, const uint8_t* src, size_t n,
                                                   uint16_t wKeep, uint16_t wTake) {
  gridBlendVector<32>(dst, src, n, wKeep, wTake);
}
template <Formula F>
__attribute__((target("avx2"))) void mixAvx2(uint8_t* dst, const uint8_t* src, size_t n,
                                             double opacity) {
  mixVector<32, F>(dst, src, n, opacity);
}
// The same pairing as the baseline; unpacking and packing both work within
// each 128-bit half, so the bytes come back in their own order.
__attribute__((target("avx2"), always_inline)) inline __m256i formPart(__m256i pairs, __m256i w,
                                                                       __m256i bias) {
  return _mm256_srli_epi32(_mm256_add_epi32(_mm256_madd_epi16(pairs, w), bias), kFormShift);
}
__attribute__((target("avx2"))) void formBlendAvx2(uint8_t* dst, const uint8_t* src, size_t n,
                                                   const IntegerForm& f) {
  const __m256i w = _mm256_set1_epi32(static_cast<uint16_t>(f.keep) | f.take << 16);
  const __m256i bias = _mm256_set1_epi32(f.bias), zero = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i tl = _mm256_unpacklo_epi8(t, zero), th = _mm256_unpackhi_epi8(t, zero);
    const __m256i sl = _mm256_unpacklo_epi8(s, zero), sh = _mm256_unpackhi_epi8(s, zero);
    const __m256i low = _mm256_packs_epi32(formPart(_mm256_unpacklo_epi16(tl, sl), w, bias),
                                           formPart(_mm256_unpackhi_epi16(tl, sl), w, bias));
    const __m256i high = _mm256_packs_epi32(formPart(_mm256_unpacklo_epi16(th, sh), w, bias),
                                            formPart(_mm256_unpackhi_epi16(th, sh), w, bias));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(low, high));
  }
  formBlendBaseline(dst + i, src + i, n - i, f);
}
// GYROTIDE_NO_AVX2 in the environment keeps the baseline kernels, so they can
// be tested and timed on machines that have AVX2.
bool hasAvx2() {
  static const bool avx2 = __builtin_cpu_supports("avx2") && !std::getenv("GYROTIDE_NO_AVX2");
  return avx2;
}
// Byte permutes (AVX-512 VBMI) look up 64 palette indices or blend steps at
// once, and byte compression (VBMI2) gathers the few lanes a step table leaves
// to the formula; without them, or with GYROTIDE_NO_AVX512 (or
// GYROTIDE_NO_AVX2) set, the row loops below expand 8-bit pixels one at a time.
bool hasVbmi() {
  static const bool vbmi =
      hasAvx2() && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi") &&
      __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("bmi2") &&
      !std::getenv("GYROTIDE_NO_AVX512");
  return vbmi;
}
#define GYROTIDE_VBMI \
  __attribute__((target("avx512f,avx512bw,avx512dq,avx512vl,avx512vbmi,avx512vbmi2,bmi2,prfchw")))
// The row loops' kernels are inlined into them, so no vector crosses a call.
#define GYROTIDE_VBMI_INLINE GYROTIDE_VBMI __attribute__((always_inline)) inline
// The same for a lambda, written after its parameters.
#define GYROTIDE_VBMI_LAMBDA GYROTIDE_VBMI __attribute__((always_inline))
#endif

// The AVX2 kernel where the processor has it, otherwise the baseline one.
#ifdef GYROTIDE_GFX_AVX2
#define GYROTIDE_KERNEL(avx2, baseline) (hasAvx2() ? (avx2) : (baseline))
#else
#define GYROTIDE_KERNEL(avx2, baseline) (baseline)
#endif

GridBlendFn gridBlend() { return GYROTIDE_KERNEL(gridBlendAvx2, gridBlendBaseline); }

template <Formula F>
MixFn mix() {
  return GYROTIDE_KERNEL(mixAvx2<F>, mixBaseline<F>);
}

FormBlendFn formBlend() { return GYROTIDE_KERNEL(formBlendAvx2, formBlendBaseline); }

// Both formulas add the same two products, (1 - o) times the target (or old)
// byte and o times the source (or colour) byte, and a sum in double does not
// depend on the order: they give the same bytes, and each product is rounded
// to double before the sum, so the 256 of each can be computed once.
struct FormulaTerms {
  std::array<double, 256> kept, taken;
  explicit FormulaTerms(double opacity) {
    const double keep = 1.0 - opacity;
    for (int b = 0; b < 256; ++b) kept[b] = keep * b, taken[b] = opacity * b;
  }
};

// The formula's result for every (t, s) pair, at t * 256 + s.
std::vector<uint8_t> formulaResults(double opacity) {
  const FormulaTerms terms(opacity);
  std::vector<uint8_t> expected(256 * 256);
  for (int t = 0; t < 256; ++t) {
    for (int s = 0; s < 256; ++s)
      expected[t * 256 + s] = static_cast<uint8_t>(terms.kept[t] + terms.taken[s]);
  }
  return expected;
}

// Looks for integer weights near the opacity's own and keeps the first whose
// bias range is not empty over every (t, s) pair of the formula's results.
std::optional<IntegerForm> findIntegerForm(double opacity, const std::vector<uint8_t>& expected) {
  const auto keep0 = std::lround((1.0 - opacity) * (1 << kFormShift));
  const auto take0 = std::lround(opacity * (1 << kFormShift));
  for (const int dk : {0, -1, 1}) {
    for (const int dt : {0, -1, 1}) {
      const long keep = keep0 + dk, take = take0 + dt;
      if (keep < 0 || take < 0 || keep > INT16_MAX || take > INT16_MAX) continue;
      // Row by row, so weights that cannot work are given up early.
      int32_t lo = INT32_MIN, hi = INT32_MAX;
      for (int t = 0; t < 256 && lo <= hi; ++t) {
        const uint8_t* row = expected.data() + t * 256;
        for (int s = 0; s < 256; ++s) {
          const auto v = static_cast<int32_t>(keep * t + take * s);
          const int32_t q = row[s] << kFormShift;
          lo = std::max(lo, q - v);
          hi = std::min(hi, q + (1 << kFormShift) - 1 - v);
        }
      }
      if (lo <= hi) return IntegerForm{static_cast<int16_t>(keep), static_cast<int16_t>(take), lo};
    }
  }
  return std::nullopt;
}

#ifdef GYROTIDE_GFX_AVX2
// Each distance's step from one pair, then every pair checked against it, a
// base byte at a time: the other byte's 256 results against the steps for
// distances -b to 255 - b, which lie side by side in `signedSteps`. A distance
// with any pair the step gets wrong is marked. (GCC 12 takes the undefined
// upper lanes of its own conversions for uninitialised values.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
GYROTIDE_VBMI StepTable findStepTable(double opacity) {
  StepTable table;
  table.fromSource = opacity > 0.5;
  const FormulaTerms terms(opacity);
  const std::array<double, 256>& onBase = table.fromSource ? terms.taken : terms.kept;
  const std::array<double, 256>& onOther = table.fromSource ? terms.kept : terms.taken;
  const auto result = [&](int base, int other) {
    return static_cast<uint8_t>(onBase[base] + onOther[other]);
  };
  uint8_t signedSteps[511];
  for (int d = 0; d < 256; ++d) {
    // A step of 128 or more is marked by its own top bit.
    table.steps[d] = result(0, d);
    table.diagonal[d] = result(d, d);
    signedSteps[255 - d] = static_cast<uint8_t>(~table.steps[d]);
    signedSteps[255 + d] = table.steps[d];  // distance 0 counts as upwards, as in the kernel
  }
  // Sixteen pairs a step: the formula's sums in two vectors of doubles,
  // truncated to bytes, against the base plus the steps for their distances.
  for (int base = 0; base < 256; ++base) {
    const __m512d onThisBase = _mm512_set1_pd(onBase[base]);
    const __m128i baseBytes = _mm_set1_epi8(static_cast<char>(base));
    const uint8_t* step = signedSteps + 255 - base;
    for (int other = 0; other < 256; other += 16) {
      const __m256i low =
          _mm512_cvttpd_epi32(_mm512_add_pd(onThisBase, _mm512_loadu_pd(&onOther[other])));
      const __m256i high =
          _mm512_cvttpd_epi32(_mm512_add_pd(onThisBase, _mm512_loadu_pd(&onOther[other + 8])));
      const __m128i results =
          _mm512_cvtepi32_epi8(_mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1));
      const __m128i predicted =
          _mm_add_epi8(baseBytes, _mm_loadu_si128(reinterpret_cast<const __m128i*>(step + other)));
      for (auto wrong = static_cast<uint32_t>(_mm_cmpneq_epi8_mask(results, predicted)); wrong;
           wrong &= wrong - 1) {
        table.steps[std::abs(other + __builtin_ctz(wrong) - base)] |= kFormulaDecides;
      }
    }
  }
  return table;
}
#pragma GCC diagnostic pop
#endif

// What a span blender needs beyond the opacity: the step table where the
// byte permutes of AVX-512 blend, and otherwise integer weights if they exist.
struct OffGridForms {
  std::optional<IntegerForm> integer;
  std::optional<StepTable> steps;
};

OffGridForms findForms(double opacity) {
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi()) return {std::nullopt, findStepTable(opacity)};
#endif
  return {findIntegerForm(opacity, formulaResults(opacity)), std::nullopt};
}

// What was found for recent opacities, so a fade that comes back to the same
// strengths, or a wash drawn every frame, searches only once. Per thread, so
// no locking is needed. Four to a set, the latest first: with one, a fade's
// hundred or so strengths met in one place often enough that every pass
// searched some of them again. The two formulas share them.
const OffGridForms& offGridForms(double opacity) {
  struct Entry {
    double opacity = -1.0;
    OffGridForms forms;
  };
  constexpr size_t kWays = 4, kSets = 128;
  thread_local std::vector<Entry> cache(kWays * kSets);
  uint64_t bits;
  std::memcpy(&bits, &opacity, sizeof bits);
  const size_t first = (bits ^ bits >> 29 ^ bits >> 41) % kSets * kWays;
  const auto set = cache.begin() + static_cast<ptrdiff_t>(first);
  auto found = std::find_if(set, set + kWays, [&](const Entry& e) { return e.opacity == opacity; });
  if (found == set + kWays) {
    --found;  // the least recent gives way
    *found = Entry{opacity, findForms(opacity)};
  }
  std::rotate(set, found, found + 1);
  return set->forms;
}

// The source's weight in 256ths, where the opacity lies on the 1/256 grid.
std::optional<uint16_t> gridWeight(double opacity) {
  const double scaled = opacity * 256.0;
  if (scaled != std::floor(scaled)) return std::nullopt;
  return static_cast<uint16_t>(scaled);
}

// Blends byte spans at one opacity (0 < opacity <= 0.99) with one formula;
// the source is the image byte for Draw and the colour byte for Fill.
class SpanBlender {
 public:
  SpanBlender(double opacity, Formula formula) : opacity_(opacity) {
    if (const std::optional<uint16_t> take = gridWeight(opacity)) {
      grid_ = gridBlend();
      wTake_ = *take;
      wKeep_ = static_cast<uint16_t>(256 - *take);
      return;
    }
    const OffGridForms& found = offGridForms(opacity);
    if (found.integer) {
      form_ = *found.integer;
      formBlend_ = formBlend();
      return;
    }
    mix_ = formula == Formula::Draw ? mix<Formula::Draw>() : mix<Formula::Fill>();
  }

  void blend(uint8_t* dst, const uint8_t* src, size_t n) const {
    if (grid_) {
      grid_(dst, src, n, wKeep_, wTake_);
    } else if (formBlend_) {
      formBlend_(dst, src, n, form_);
    } else {
      mix_(dst, src, n, opacity_);
    }
  }

 private:
  double opacity_;
  GridBlendFn grid_ = nullptr;
  FormBlendFn formBlend_ = nullptr;
  IntegerForm form_;
  MixFn mix_ = nullptr;
  uint16_t wKeep_ = 0;
  uint16_t wTake_ = 0;
};

// Spans are blended from small stack buffers, so nothing is allocated per call.
constexpr int32_t kChunkPixels = 256;

// The w x h blit after clipping: source and target corners.
struct BlitArea {
  int32_t sx, sy, tx, ty, w, h;
};

// Clips a blit to the target and the clip, cutting the same sides of the
// source; then keeps the source inside the source image so nothing outside
// its pixels is ever read. 64-bit edges keep extreme positions from
// overflowing.
bool clipBlit(const Image& src, const Image& dst, int32_t sx, int32_t sy, int32_t tx, int32_t ty,
              uint16_t w, uint16_t h, const Rect& clip, BlitArea& area) {
  const int64_t bw = std::min(w, src.width), bh = std::min(h, src.height);
  int64_t sl = std::max(sx, 0), st = std::max(sy, 0), sr = sl + bw, sb = st + bh;
  int64_t tl = tx, tt = ty, tr = tl + bw, tb = tt + bh;
  const int64_t ll = std::max(0, clip.left), lt = std::max(0, clip.top);
  const int64_t lr = std::min<int64_t>(dst.width, clip.right);
  const int64_t lb = std::min<int64_t>(dst.height, clip.bottom);
  if (tl < ll) sl += ll - tl, tl = ll;
  if (tt < lt) st += lt - tt, tt = lt;
  if (tr > lr) sr -= tr - lr, tr = lr;
  if (tb > lb) sb -= tb - lb, tb = lb;
  sr = std::min<int64_t>(sr, src.width);
  sb = std::min<int64_t>(sb, src.height);
  tr = std::min(tr, tl + (sr - sl));
  tb = std::min(tb, tt + (sb - st));
  if (tl >= tr || tt >= tb || sl >= sr || st >= sb) return false;
  area = {static_cast<int32_t>(sl), static_cast<int32_t>(st),      static_cast<int32_t>(tl),
          static_cast<int32_t>(tt), static_cast<int32_t>(tr - tl), static_cast<int32_t>(tb - tt)};
  return true;
}

// Indices that are the key or have no palette entry are not drawn.
inline bool drawable(uint8_t index, int32_t colourKey, int32_t entries) {
  return index != colourKey && index < entries;
}

// Each index's colour as blue | green << 8 | red << 16, with bit 24 set when
// the index is drawn at all: one load and one test per pixel.
void packedColours(const Image& src, uint32_t (&colours)[256]) {
  const int32_t entries = src.paletteEntries(), key = src.colourKey;
  for (int32_t i = 0; i < 256; ++i) {
    colours[i] = 0;
    if (!drawable(static_cast<uint8_t>(i), key, entries)) continue;
    const uint8_t* bgr = src.palette + i * 3;
    colours[i] = bgr[0] | bgr[1] << 8 | bgr[2] << 16 | 1u << 24;
  }
}

#ifdef GYROTIDE_GFX_AVX2

// The first n bytes of a vector (all 64 from n = 64 up; none below 1).
inline uint64_t firstBytes(int64_t n) {
  return n >= 64 ? ~uint64_t{0} : n <= 0 ? 0 : (uint64_t{1} << n) - 1;
}

// Rows up to this long are copied in registers and drawn with the lines of the
// rows ahead asked for. A tile's rows are short, and a call to memmove for
// each costs more than the copy; longer rows are left to memmove, which copies
// them as fast as the memory allows.
constexpr size_t kShortRow = 2048;

// Short rows of a wide picture start on new cache lines every row, which the
// processor's prefetchers, following runs of lines, do not foresee: every row
// would wait for its lines. So the lines of the row `kRowsAhead` further down
// are asked for while this one is drawn: the target's to be written (every
// processor with VBMI has PREFETCHW), the source's to be read.
constexpr int32_t kRowsAhead = 2;
struct RowSpan {
  const uint8_t* first = nullptr;
  size_t pitch = 0, bytes = 0;  // none: nothing is asked for
};
template <int Write>
GYROTIDE_VBMI_INLINE void prefetchRow(const RowSpan& rows, int32_t y) {
  if (rows.bytes == 0) return;
  const uint8_t* row = rows.first + y * rows.pitch;
  for (size_t i = 0; i < rows.bytes; i += 64) __builtin_prefetch(row + i, Write);
  __builtin_prefetch(row + rows.bytes - 1, Write);
}

// Rows that follow one another with less than a line between them are one run
// of lines, which the prefetchers do follow.
inline bool backToBack(const RowSpan& rows) {
  return rows.bytes == 0 || rows.pitch < rows.bytes + 64;
}

// Calls `draw(y)` for rows [0, count) of the target and the source, each with
// its lines asked for kRowsAhead rows earlier when the target's rows are short
// and apart.
template <class Draw>
GYROTIDE_VBMI_INLINE void forShortRows(const RowSpan& target, const RowSpan& source, int32_t count,
                                       Draw&& draw) {
  if (target.bytes > kShortRow || (backToBack(target) && backToBack(source))) {
    for (int32_t y = 0; y < count; ++y) draw(y);
    return;
  }
  const auto ask = [&](int32_t y) GYROTIDE_VBMI_LAMBDA {
    prefetchRow<1>(target, y);
    prefetchRow<0>(source, y);
  };
  for (int32_t y = 0; y < std::min(count, kRowsAhead); ++y) ask(y);
  for (int32_t y = 0; y < count; ++y) {
    if (y + kRowsAhead < count) ask(y + kRowsAhead);
    draw(y);
  }
}

// One byte of each of 256 palette entries, as four 64-byte quarters.
struct ByteTable {
  __m512i q[4];
};

GYROTIDE_VBMI inline __m512i lookUp(const ByteTable& t, __m512i indices) {
  const __mmask64 high = _mm512_movepi8_mask(indices);
  return _mm512_mask_blend_epi8(high, _mm512_permutex2var_epi8(t.q[0], indices, t.q[1]),
                                _mm512_permutex2var_epi8(t.q[2], indices, t.q[3]));
}

// Fixed byte permutes of the 8-bit path. Palette quarter q's 192 bytes to
// one plane: entry i's channel c is byte 3i + c. And 64 pixels' planes to
// the 192 target bytes: the k-th 64 bytes take blue and green from the
// planes' pixel p (green as 64 + p, from the second table) and red where
// `redBytes` is set.
struct PlaneLayout {
  alignas(64) uint8_t deinterleave[3][64];
  uint64_t fromThird[3];
  alignas(64) uint8_t blueGreen[3][64], pixel[3][64];
  uint64_t redBytes[3];
  constexpr PlaneLayout() : deinterleave{}, fromThird{}, blueGreen{}, pixel{}, redBytes{} {
    for (int c = 0; c < 3; ++c) {
      for (int i = 0; i < 64; ++i) {
        deinterleave[c][i] = static_cast<uint8_t>(3 * i + c);
        if (3 * i + c >= 128) fromThird[c] |= uint64_t{1} << i;
      }
    }
    for (int k = 0; k < 3; ++k) {
      for (int j = 0; j < 64; ++j) {
        const int byte = 64 * k + j, p = byte / 3, c = byte % 3;
        pixel[k][j] = static_cast<uint8_t>(p);
        blueGreen[k][j] = static_cast<uint8_t>(c == 1 ? 64 + p : p);
        if (c == 2) redBytes[k] |= uint64_t{1} << j;
      }
    }
  }
};
constexpr PlaneLayout kPlanes{};

// Blue, green and red of every index, and 255 where an index is drawn at all
// (not the key, and inside the palette).
struct Expander {
  ByteTable blue, green, red, drawn;
  __m512i blueGreen[3], pixel[3];

  GYROTIDE_VBMI explicit Expander(const Image& src) {
    const int32_t entries = src.paletteEntries(), key = src.colourKey;
    ByteTable* planes[3] = {&blue, &green, &red};
    __m512i deinterleave[3];
    for (int c = 0; c < 3; ++c) deinterleave[c] = _mm512_load_si512(kPlanes.deinterleave[c]);
    for (int q = 0; q < 4; ++q) {
      __m512i bytes[3];
      for (int j = 0; j < 3; ++j) {
        const __mmask64 present = firstBytes(3 * entries - 192 * q - 64 * j);
        bytes[j] = _mm512_maskz_loadu_epi8(present, src.palette + 192 * q + 64 * j);
      }
      for (int c = 0; c < 3; ++c) {
        const __m512i firstTwo = _mm512_permutex2var_epi8(bytes[0], deinterleave[c], bytes[1]);
        planes[c]->q[q] =
            _mm512_mask_permutexvar_epi8(firstTwo, kPlanes.fromThird[c], deinterleave[c], bytes[2]);
      }
      uint64_t shown = firstBytes(entries - 64 * q);
      if (key >= 64 * q && key < 64 * q + 64) shown &= ~(uint64_t{1} << (key - 64 * q));
      drawn.q[q] = _mm512_maskz_mov_epi8(shown, _mm512_set1_epi8(-1));
    }
    for (int k = 0; k < 3; ++k) {
      blueGreen[k] = _mm512_load_si512(kPlanes.blueGreen[k]);
      pixel[k] = _mm512_load_si512(kPlanes.pixel[k]);
    }
  }

  // 64 indices (fewer at a row's end: `count`) to target bytes and their
  // drawn mask, three vectors each.
  GYROTIDE_VBMI void expand(const uint8_t* from, int32_t count, __m512i (&bytes)[3],
                            __mmask64 (&mask)[3]) const {
    const __mmask64 present = firstBytes(count);
    const __m512i indices = _mm512_maskz_loadu_epi8(present, from);
    const __m512i b = lookUp(blue, indices), g = lookUp(green, indices);
    const __m512i r = lookUp(red, indices), d = lookUp(drawn, indices);
    for (int k = 0; k < 3; ++k) {
      const __m512i bgPart = _mm512_permutex2var_epi8(b, blueGreen[k], g);
      bytes[k] = _mm512_mask_permutexvar_epi8(bgPart, kPlanes.redBytes[k], pixel[k], r);
      mask[k] = _mm512_movepi8_mask(_mm512_maskz_permutexvar_epi8(~uint64_t{0}, pixel[k], d)) &
                firstBytes(3 * count - 64 * k);
    }
  }
};

// A span blender's weights as 512-bit vectors, so 64 bytes blend in registers:
// the grid's weights in 16-bit lanes, or the step table as four 64-byte
// quarters, looked up by each pair's distance.
// GCC 12 takes the undefined upper lanes of its own casts and conversions for
// uninitialised values.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
enum class BlendKind { Grid, StepFromTarget, StepFromSource };
class Blend64 {
 public:
  // At one opacity (0 < opacity <= 0.99).
  GYROTIDE_VBMI explicit Blend64(double opacity) {
    if (const std::optional<uint16_t> take = gridWeight(opacity)) {
      kind_ = BlendKind::Grid;
      keep_ = _mm512_set1_epi16(static_cast<int16_t>(256 - *take));
      take_ = _mm512_set1_epi16(static_cast<int16_t>(*take));
      return;
    }
    const StepTable& table = *offGridForms(opacity).steps;
    kind_ = table.fromSource ? BlendKind::StepFromSource : BlendKind::StepFromTarget;
    plainDiagonal_ = table.plainDiagonal();
    for (int q = 0; q < 4; ++q) {
      steps_.q[q] = _mm512_loadu_si512(table.steps.data() + 64 * q);
      diagonal_.q[q] = _mm512_loadu_si512(table.diagonal.data() + 64 * q);
    }
    keepReal_ = _mm512_set1_pd(1.0 - opacity);
    takeReal_ = _mm512_set1_pd(opacity);
  }
  BlendKind kind() const { return kind_; }

  template <BlendKind K>
  GYROTIDE_VBMI_INLINE __m512i blend(__m512i t, __m512i s) const {
    if constexpr (K == BlendKind::Grid) {
      const __m512i zero = _mm512_setzero_si512();
      return _mm512_packus_epi16(
          grid(_mm512_unpacklo_epi8(t, zero), _mm512_unpacklo_epi8(s, zero)),
          grid(_mm512_unpackhi_epi8(t, zero), _mm512_unpackhi_epi8(s, zero)));
    } else {
      // The base byte plus the step for the pair's distance, taken down (as
      // its complement) where the other byte lies below the base.
      constexpr bool fromSource = K == BlendKind::StepFromSource;
      const __m512i base = fromSource ? s : t, other = fromSource ? t : s;
      const __m512i steps =
          lookUp(steps_, _mm512_sub_epi8(_mm512_max_epu8(t, s), _mm512_min_epu8(t, s)));
      const __m512i down = _mm512_movm_epi8(_mm512_cmplt_epu8_mask(other, base));
      __m512i out = _mm512_add_epi8(base, _mm512_xor_si512(steps, down));
      __mmask64 marked = _mm512_movepi8_mask(steps);
      if (!plainDiagonal_) {
        const __mmask64 same = _mm512_cmpeq_epi8_mask(t, s);
        out = _mm512_mask_blend_epi8(same, out, lookUp(diagonal_, t));
        marked &= ~same;
      }
      return marked ? formulaFor(marked, t, s, out) : out;
    }
  }

 private:
  // Zero-masked shifts: GCC 12 warns that the plain ones' undefined
  // pass-through may be used.
  GYROTIDE_VBMI __m512i grid(__m512i t, __m512i s) const {
    return _mm512_maskz_srli_epi16(
        ~0u, _mm512_add_epi16(_mm512_mullo_epi16(t, keep_), _mm512_mullo_epi16(s, take_)), 8);
  }
  // The marked lanes, gathered to the front, take the formula eight or
  // sixteen at a time and go back to their places in `out`.
  GYROTIDE_VBMI __m512i formulaFor(__mmask64 marked, __m512i t, __m512i s, __m512i out) const {
    const __m512i tc = _mm512_maskz_compress_epi8(marked, t),
                  sc = _mm512_maskz_compress_epi8(marked, s);
    const int n = __builtin_popcountll(marked);
    if (n <= 8)
      return _mm512_mask_expand_epi8(out, marked, _mm512_castsi128_si512(formula8(tc, sc)));
    __m512i exact = _mm512_castsi128_si512(formula(tc, sc));
    if (n > 16)
      exact = _mm512_inserti32x4(
          exact, formula(_mm512_extracti32x4_epi32(tc, 1), _mm512_extracti32x4_epi32(sc, 1)), 1);
    if (n > 32)
      exact = _mm512_inserti32x4(
          exact, formula(_mm512_extracti32x4_epi32(tc, 2), _mm512_extracti32x4_epi32(sc, 2)), 2);
    if (n > 48)
      exact = _mm512_inserti32x4(
          exact, formula(_mm512_extracti32x4_epi32(tc, 3), _mm512_extracti32x4_epi32(sc, 3)), 3);
    return _mm512_mask_expand_epi8(out, marked, exact);
  }
  // The draw formula for the low 16 (or 8) bytes of target and source, in
  // double lanes with its operands in its own order (no fused multiply-add).
  GYROTIDE_VBMI __m512d formula(__m256i t, __m256i s) const {
    return _mm512_add_pd(_mm512_mul_pd(keepReal_, _mm512_cvtepi32_pd(t)),
                         _mm512_mul_pd(takeReal_, _mm512_cvtepi32_pd(s)));
  }
  GYROTIDE_VBMI __m128i formula(__m512i t, __m512i s) const {
    return formula(_mm512_castsi512_si128(t), _mm512_castsi512_si128(s));
  }
  GYROTIDE_VBMI __m128i formula(__m128i t, __m128i s) const {
    const __m512i ti = _mm512_cvtepu8_epi32(t), si = _mm512_cvtepu8_epi32(s);
    const __m512d low = formula(_mm512_castsi512_si256(ti), _mm512_castsi512_si256(si));
    const __m512d high =
        formula(_mm512_extracti64x4_epi64(ti, 1), _mm512_extracti64x4_epi64(si, 1));
    const __m512i bytes = _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvttpd_epi32(low)),
                                             _mm512_cvttpd_epi32(high), 1);
    return _mm512_cvtepi32_epi8(bytes);
  }
  GYROTIDE_VBMI __m128i formula8(__m512i t, __m512i s) const {
    const __m512d mixed = formula(_mm256_cvtepu8_epi32(_mm512_castsi512_si128(t)),
                                  _mm256_cvtepu8_epi32(_mm512_castsi512_si128(s)));
    return _mm256_cvtepi32_epi8(_mm512_cvttpd_epi32(mixed));
  }
  BlendKind kind_ = BlendKind::Grid;
  bool plainDiagonal_ = true;
  __m512i keep_{}, take_{};
  ByteTable steps_{}, diagonal_{};
  __m512d keepReal_{}, takeReal_{};
};

// One kind's blend, with its own copy of the weights: the rows it blends are
// written through byte pointers, which may alias anything reached through a
// pointer, so the weights would be loaded again for every vector.
template <BlendKind K>
struct BlendKernel {
  Blend64 weights;
  GYROTIDE_VBMI_INLINE __m512i operator()(__m512i t, __m512i s) const {
    return weights.blend<K>(t, s);
  }
};

// Calls `rows` with the blend of the weights' kind, fixed for the whole loop.
template <class Rows>
GYROTIDE_VBMI void withKind(const Blend64& weights, Rows&& rows) {
  switch (weights.kind()) {
    case BlendKind::Grid:
      return rows(BlendKernel<BlendKind::Grid>{weights});
    case BlendKind::StepFromTarget:
      return rows(BlendKernel<BlendKind::StepFromTarget>{weights});
    case BlendKind::StepFromSource:
      return rows(BlendKernel<BlendKind::StepFromSource>{weights});
  }
}
#pragma GCC diagnostic pop

// A row's k-th 64 bytes start at channel k mod 3 (since 64 = 1 mod 3): the
// channel of each byte at each phase, and the green and red bytes as masks.
struct PhaseTable {
  alignas(64) uint8_t channel[3][64];
  uint64_t green[3], red[3];
  constexpr PhaseTable() : channel{}, green{}, red{} {
    for (int phase = 0; phase < 3; ++phase) {
      for (int i = 0; i < 64; ++i) {
        const int c = (phase + i) % 3;
        channel[phase][i] = static_cast<uint8_t>(c);
        if (c == 1) green[phase] |= uint64_t{1} << i;
        if (c == 2) red[phase] |= uint64_t{1} << i;
      }
    }
  }
};
constexpr PhaseTable kPhases{};

// An opaque colour as 64-byte stores.
class FillPattern {
 public:
  GYROTIDE_VBMI explicit FillPattern(Colour colour) {
    const __m512i bgr = _mm512_set1_epi32(colour.blue | colour.green << 8 | colour.red << 16);
    for (int phase = 0; phase < 3; ++phase) {
      phases_[phase] = _mm512_maskz_permutexvar_epi8(
          ~uint64_t{0}, _mm512_load_si512(kPhases.channel[phase]), bgr);
    }
  }
  GYROTIDE_VBMI void fill(uint8_t* row, size_t bytes) const {
    for (size_t i = 0, phase = 0; i < bytes; i += 64, phase = phase == 2 ? 0 : phase + 1) {
      _mm512_mask_storeu_epi8(row + i, firstBytes(static_cast<int64_t>(bytes - i)), phases_[phase]);
    }
  }

 private:
  __m512i phases_[3];
};

// Short rows copied in registers, for areas that do not overlap (so bytes may
// be copied twice).
GYROTIDE_VBMI void copyRowsVbmi(const uint8_t* from, size_t fromPitch, uint8_t* to, size_t toPitch,
                                int32_t rows, size_t bytes) {
  forShortRows({to, toPitch, bytes}, {from, fromPitch, bytes}, rows,
               [&](int32_t y) GYROTIDE_VBMI_LAMBDA {
                 const uint8_t* source = from + y * fromPitch;
                 uint8_t* target = to + y * toPitch;
                 size_t i = 0;
                 for (; i + 64 <= bytes; i += 64)
                   _mm512_storeu_si512(target + i, _mm512_loadu_si512(source + i));
                 if (i == bytes) return;
                 // A row's end is copied as the last 64 bytes, again over some already
                 // copied: a whole store costs less than a masked one.
                 if (bytes >= 64) {
                   const size_t last = bytes - 64;
                   return _mm512_storeu_si512(target + last, _mm512_loadu_si512(source + last));
                 }
                 const __mmask64 present = firstBytes(static_cast<int64_t>(bytes));
                 _mm512_mask_storeu_epi8(target, present, _mm512_maskz_loadu_epi8(present, source));
               });
}

// Expands 64 pixels at a time and hands them to `chunk`, which copies or
// blends them; keyed pixels are never stored to.
template <class Chunk>
GYROTIDE_VBMI void rows8Vbmi(const Image& src, Image& dst, const BlitArea& a, Chunk&& chunk) {
  const Expander expander(src);
  uint8_t* first = dst.pixelAddress(a.tx, a.ty);
  const RowSpan target{first, dst.pitch(), static_cast<size_t>(a.w) * 3};
  // A sprite's few index rows are mostly at hand already; only the target's are asked for.
  forShortRows(target, RowSpan{}, a.h, [&](int32_t y) GYROTIDE_VBMI_LAMBDA {
    const uint8_t* from = src.pixelAddress(a.sx, a.sy + y);
    uint8_t* to = first + y * dst.pitch();
    for (int32_t x = 0; x < a.w; x += 64, from += 64, to += 192) {
      const int32_t count = std::min(64, a.w - x);
      __m512i bytes[3];
      __mmask64 mask[3];
      expander.expand(from, count, bytes, mask);
      chunk(to, count, bytes, mask);
    }
  });
}

struct CopyChunk {
  GYROTIDE_VBMI void operator()(uint8_t* to, int32_t, const __m512i (&bytes)[3],
                                const __mmask64 (&mask)[3]) const {
    for (int k = 0; k < 3; ++k) _mm512_mask_storeu_epi8(to + 64 * k, mask[k], bytes[k]);
  }
};

// The blend in registers, with one kind of weights.
template <class Kernel>
struct KernelChunk {
  GYROTIDE_VBMI void operator()(uint8_t* to, int32_t, const __m512i (&bytes)[3],
                                const __mmask64 (&mask)[3]) const {
    for (int k = 0; k < 3; ++k) {
      const __m512i old = _mm512_maskz_loadu_epi8(mask[k], to + 64 * k);
      _mm512_mask_storeu_epi8(to + 64 * k, mask[k], blend(old, bytes[k]));
    }
  }
  Kernel blend;
};

// The row loops of the blends in registers, given the kind's kernel.
struct Rows8 {
  template <class Kernel>
  GYROTIDE_VBMI void operator()(Kernel blend) const {
    rows8Vbmi(src, dst, a, KernelChunk<Kernel>{blend});
  }
  const Image& src;
  Image& dst;
  const BlitArea& a;
};

// 24-bit rows, 64 bytes at a time. Row ends of at most 32 bytes go two to a
// vector, the odd row's above the even row's: a tile's 150-byte rows take five
// vectors a pair instead of six. Every lane blends on its own, so where a byte
// sits in the vector does not change its result. A source pitch of 0 blends
// every row with the same bytes (a run of one colour).
struct Rows24 {
  template <class Kernel>
  GYROTIDE_VBMI void operator()(Kernel blend) const {
    const size_t tail = bytes % 64, whole = bytes - tail;
    const bool paired = tail != 0 && tail <= 32;
    // A run of one colour is at hand already: only the target's lines are asked for.
    const RowSpan target{to, toPitch, bytes}, source{from, fromPitch, fromPitch ? bytes : 0};
    forShortRows(target, source, rows, [&](int32_t y) GYROTIDE_VBMI_LAMBDA {
      const uint8_t* source = from + y * fromPitch;
      uint8_t* target = to + y * toPitch;
      for (size_t i = 0; i < whole; i += 64) {
        const __m512i t = _mm512_loadu_si512(target + i), s = _mm512_loadu_si512(source + i);
        _mm512_storeu_si512(target + i, blend(t, s));
      }
      if (tail == 0 || (paired && y % 2 == 1)) return;  // an odd row's end went with the row above
      const __mmask64 own = firstBytes(static_cast<int64_t>(tail));
      __m512i t = _mm512_maskz_loadu_epi8(own, target + whole);
      __m512i s = _mm512_maskz_loadu_epi8(own, source + whole);
      if (!paired || y + 1 == rows)
        return _mm512_mask_storeu_epi8(target + whole, own, blend(t, s));
      // The next row's end, read and written through lanes [tail, 2 tail).
      const __mmask64 next = own << tail;
      uint8_t* nextTarget = target + toPitch + whole - tail;
      t = _mm512_mask_loadu_epi8(t, next, nextTarget);
      s = _mm512_mask_loadu_epi8(s, next, source + fromPitch + whole - tail);
      const __m512i out = blend(t, s);
      _mm512_mask_storeu_epi8(target + whole, own, out);
      _mm512_mask_storeu_epi8(nextTarget, next, out);
    });
  }
  const uint8_t* from;
  size_t fromPitch;
  uint8_t* to;
  size_t toPitch;
  int32_t rows;
  size_t bytes;
};
#endif

// memmove where the areas may overlap: an image may be drawn onto itself.
void copyRows24(const Image& src, Image& dst, const BlitArea& a) {
  const size_t bytes = static_cast<size_t>(a.w) * 3;
  const uint8_t* from = src.pixelAddress(a.sx, a.sy);
  uint8_t* to = dst.pixelAddress(a.tx, a.ty);
  if (bytes == src.pitch() && bytes == dst.pitch()) {
    std::memmove(to, from, bytes * a.h);  // whole rows, back to back: one copy
    return;
  }
  const auto start = [](const uint8_t* p) { return reinterpret_cast<uintptr_t>(p); };
  const size_t span = (a.h - 1) * src.pitch() + bytes, toSpan = (a.h - 1) * dst.pitch() + bytes;
  const bool apart = start(from) + span <= start(to) || start(to) + toSpan <= start(from);
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi() && apart && bytes <= kShortRow) {
    return copyRowsVbmi(from, src.pitch(), to, dst.pitch(), a.h, bytes);
  }
#endif
  // Onto itself and further down, the last row first, so no row is read after it was drawn to.
  if (!apart && start(to) > start(from)) {
    for (int32_t y = a.h - 1; y >= 0; --y) {
      std::memmove(to + y * dst.pitch(), from + y * src.pitch(), bytes);
    }
    return;
  }
  for (int32_t y = 0; y < a.h; ++y, from += src.pitch(), to += dst.pitch()) {
    std::memmove(to, from, bytes);
  }
}

void blendRows24(const Image& src, Image& dst, const BlitArea& a, double opacity) {
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi()) {
    return withKind(Blend64(opacity),
                    Rows24{src.pixelAddress(a.sx, a.sy), src.pitch(), dst.pixelAddress(a.tx, a.ty),
                           dst.pitch(), a.h, static_cast<size_t>(a.w) * 3});
  }
#endif
  const SpanBlender blender(opacity, Formula::Draw);
  const size_t bytes = static_cast<size_t>(a.w) * 3;
  const uint8_t* from = src.pixelAddress(a.sx, a.sy);
  uint8_t* to = dst.pixelAddress(a.tx, a.ty);
  for (int32_t y = 0; y < a.h; ++y, from += src.pitch(), to += dst.pitch()) {
    blender.blend(to, from, bytes);
  }
}

void copyRows8(const Image& src, Image& dst, const BlitArea& a) {
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi()) {
    return rows8Vbmi(src, dst, a, CopyChunk{});
  }
#endif
  uint32_t colours[256];
  packedColours(src, colours);
  const uint8_t* from = src.pixelAddress(a.sx, a.sy);
  uint8_t* row = dst.pixelAddress(a.tx, a.ty);
  for (int32_t y = 0; y < a.h; ++y, from += src.pitch(), row += dst.pitch()) {
    uint8_t* to = row;
    for (int32_t x = 0; x < a.w; ++x, to += 3) {
      const uint32_t colour = colours[from[x]];
      if (!colour) continue;
      to[0] = static_cast<uint8_t>(colour);
      to[1] = static_cast<uint8_t>(colour >> 8);
      to[2] = static_cast<uint8_t>(colour >> 16);
    }
  }
}

// Blends each run of drawable pixels through a buffer of their colours, so
// keyed pixels stay exactly as they were.
void blendRows8(const Image& src, Image& dst, const BlitArea& a, double opacity) {
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi()) return withKind(Blend64(opacity), Rows8{src, dst, a});
#endif
  const SpanBlender blender(opacity, Formula::Draw);
  uint32_t colours[256];
  packedColours(src, colours);
  uint8_t run[kChunkPixels * 3];
  for (int32_t y = 0; y < a.h; ++y) {
    const uint8_t* from = src.pixelAddress(a.sx, a.sy + y);
    uint8_t* to = dst.pixelAddress(a.tx, a.ty + y);
    int32_t x = 0;
    while (x < a.w) {
      if (!colours[from[x]]) {
        ++x;
        continue;
      }
      const int32_t start = x;
      int32_t count = 0;
      for (; x < a.w && count < kChunkPixels && colours[from[x]]; ++x, ++count) {
        const uint32_t colour = colours[from[x]];
        run[count * 3] = static_cast<uint8_t>(colour);
        run[count * 3 + 1] = static_cast<uint8_t>(colour >> 8);
        run[count * 3 + 2] = static_cast<uint8_t>(colour >> 16);
      }
      blender.blend(to + start * 3, run, static_cast<size_t>(count) * 3);
    }
  }
}

// A run of `pixels` pixels of one colour, up to kChunkPixels.
struct ColourRun {
  ColourRun(Colour colour, int32_t pixels) {
    for (int32_t i = 0; i < std::min(pixels, kChunkPixels); ++i) {
      bytes[i * 3] = colour.blue;
      bytes[i * 3 + 1] = colour.green;
      bytes[i * 3 + 2] = colour.red;
    }
  }
  uint8_t bytes[kChunkPixels * 3];
};

// Pixels [0, count) from row start: the colour, or blended with it.
void fillRow(uint8_t* row, int32_t count, Colour colour, const SpanBlender* blender) {
  const ColourRun run(colour, count);
  const int32_t chunk = std::min(count, kChunkPixels);
  for (int32_t done = 0; done < count; done += chunk) {
    const size_t bytes = static_cast<size_t>(std::min(chunk, count - done)) * 3;
    if (blender) {
      blender->blend(row + done * 3, run.bytes, bytes);
    } else {
      std::memcpy(row + done * 3, run.bytes, bytes);
    }
  }
}

// `rows` rows of `count` pixels from `first`, `pitch` bytes apart, in the
// colour.
void fillRows(uint8_t* first, size_t pitch, int32_t rows, int32_t count, Colour colour) {
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi()) {
    const FillPattern pattern(colour);
    for (int32_t y = 0; y < rows; ++y)
      pattern.fill(first + y * pitch, static_cast<size_t>(count) * 3);
    return;
  }
#endif
  for (int32_t y = 0; y < rows; ++y) fillRow(first + y * pitch, count, colour, nullptr);
}

// The pixels of a column blended with a colour: gathered into a row of up to
// kChunkPixels, blended by `blend(row, bytes)`, and put back.
template <class Blend>
void throughColumn(uint8_t* top, size_t pitch, int32_t rows, Blend&& blend) {
  uint8_t column[kChunkPixels * 3];
  for (int32_t done = 0; done < rows; done += kChunkPixels) {
    const int32_t count = std::min(kChunkPixels, rows - done);
    uint8_t* p = top + done * pitch;
    for (int32_t y = 0; y < count; ++y) std::memcpy(column + 3 * y, p + y * pitch, 3);
    blend(column, static_cast<size_t>(count) * 3);
    for (int32_t y = 0; y < count; ++y) std::memcpy(p + y * pitch, column + 3 * y, 3);
  }
}

#ifdef GYROTIDE_GFX_AVX2
// Translucent fills in registers, with a run of the colour as the source of
// every row. The marked lanes' formula is the draw formula's, which gives the
// fill formula's bytes too (see FormulaTerms).
class FillBlend {
 public:
  GYROTIDE_VBMI FillBlend(Colour colour, double opacity) : weights_(opacity) {
    FillPattern(colour).fill(run_, sizeof run_);
  }
  // `height` rows of `width` pixels from `first`, `pitch` bytes apart.
  GYROTIDE_VBMI void rows(uint8_t* first, size_t pitch, int32_t height, int32_t width) const {
    for (int32_t x = 0; x < width; x += kChunkPixels) {
      const auto bytes = static_cast<size_t>(std::min(kChunkPixels, width - x)) * 3;
      withKind(weights_, Rows24{run_, 0, first + x * 3, pitch, height, bytes});
    }
  }
  GYROTIDE_VBMI void column(uint8_t* top, size_t pitch, int32_t height) const {
    throughColumn(top, pitch, height, [&](uint8_t* column, size_t bytes) GYROTIDE_VBMI {
      withKind(weights_, Rows24{run_, 0, column, 0, 1, bytes});
    });
  }

 private:
  Blend64 weights_;
  alignas(64) uint8_t run_[kChunkPixels * 3];
};
#endif

void blendFillColumn(uint8_t* top, size_t pitch, int32_t rows, Colour colour, double opacity) {
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi()) return FillBlend(colour, opacity).column(top, pitch, rows);
#endif
  const ColourRun run(colour, rows);
  const MixFn blend = mix<Formula::Fill>();
  throughColumn(top, pitch, rows,
                [&](uint8_t* column, size_t bytes) { blend(column, run.bytes, bytes, opacity); });
}

void blendFillRows(uint8_t* first, size_t pitch, int32_t rows, int32_t count, Colour colour,
                   double opacity) {
#ifdef GYROTIDE_GFX_AVX2
  if (hasVbmi()) return FillBlend(colour, opacity).rows(first, pitch, rows, count);
#endif
  if (rows * count < kChunkPixels) {  // fewer bytes than the weights would take to find
    const ColourRun run(colour, count);
    const MixFn blend = mix<Formula::Fill>();
    for (int32_t y = 0; y < rows; ++y)
      blend(first + y * pitch, run.bytes, static_cast<size_t>(count) * 3, opacity);
    return;
  }
  const SpanBlender blender(opacity, Formula::Fill);
  for (int32_t y = 0; y < rows; ++y) fillRow(first + y * pitch, count, colour, &blender);
}

// A line's pixels within the clip and the image: `count` of them from `first`.
// A line stops one short of an end at or past the clip's edge.
struct LineSpan {
  uint8_t* first = nullptr;
  int32_t count = 0;
};

LineSpan horizontalSpan(Image& image, int32_t x0, int32_t x1, int32_t y, const Rect& clip) {
  if (x0 < clip.left) x0 = clip.left;
  if (x1 >= clip.right) x1 = clip.right - 1;
  if (x0 >= x1 || y < clip.top || y >= clip.bottom) return {};
  // The clip may reach past the image; the image's own edges still hold.
  x0 = std::max(x0, 0);
  x1 = std::min<int32_t>(x1, image.width);
  if (x0 >= x1 || y < 0 || y >= image.height) return {};
  return {image.pixelAddress(x0, y), x1 - x0};
}

LineSpan verticalSpan(Image& image, int32_t y0, int32_t y1, int32_t x, const Rect& clip) {
  if (y0 < clip.top) y0 = clip.top;
  if (y1 >= clip.bottom) y1 = clip.bottom - 1;
  if (y0 >= y1 || x < clip.left || x >= clip.right) return {};
  y0 = std::max(y0, 0);
  y1 = std::min<int32_t>(y1, image.height);
  if (y0 >= y1 || x < 0 || x >= image.width) return {};
  return {image.pixelAddress(x, y0), y1 - y0};
}

}  // namespace

void Graphic::drawTo(Image&, int32_t, int32_t, int32_t, int32_t, uint16_t, uint16_t, const Rect&,
                     double) const {}

Image::Image(uint16_t width, uint16_t height, uint8_t depth) : Graphic(width, height, depth) {
  pixelStore_.assign(byteSize(), 255);
  pixels = pixelStore_.empty() ? nullptr : pixelStore_.data();
}

Image::Image(Image&& other) noexcept { takeFrom(other); }

Image& Image::operator=(Image&& other) noexcept {
  if (this != &other) takeFrom(other);
  return *this;
}

void Image::takeFrom(Image& other) {
  Graphic::operator=(other);
  name = std::move(other.name);
  // Moving a vector keeps its buffer, so the raw pointers stay valid.
  pixelStore_ = std::move(other.pixelStore_);
  paletteStore_ = std::move(other.paletteStore_);
  pixels = other.pixels;
  palette = other.palette;
  colourCount = other.colourCount;
  colourKey = other.colourKey;
  other.name.clear();
  other.reset();
}

void Image::reset() {
  width = height = 0;
  depth = 0;
  pixels = palette = nullptr;
  colourCount = 0;
  colourKey = -1;
  std::vector<uint8_t>().swap(pixelStore_);
  std::vector<uint8_t>().swap(paletteStore_);
}

bool Image::assign(uint16_t newWidth, uint16_t newHeight, uint8_t newDepth,
                   std::vector<uint8_t> pixelBytes, std::vector<uint8_t> paletteBytes,
                   int32_t newColourCount) {
  reset();
  width = newWidth;
  height = newHeight;
  depth = newDepth;
  const bool valid =
      (depth == 8 || depth == 24) && width > 0 && height > 0 && pixelBytes.size() >= byteSize();
  if (!valid) {
    reset();
    return false;
  }
  pixelStore_ = std::move(pixelBytes);
  pixels = pixelStore_.data();
  if (depth == 8 && paletteBytes.size() >= 3) {
    paletteStore_ = std::move(paletteBytes);
    palette = paletteStore_.data();
    colourCount = newColourCount;
  }
  return true;
}

void Image::attach(uint8_t* externalPixels, uint16_t newWidth, uint16_t newHeight,
                   uint8_t newDepth) {
  reset();
  width = newWidth;
  height = newHeight;
  depth = newDepth;
  pixels = externalPixels;
}

int32_t Image::paletteEntries() const {
  if (depth != 8 || !palette || palette != paletteStore_.data()) return 0;
  return std::clamp<int32_t>(colourCount, 0, static_cast<int32_t>(paletteStore_.size() / 3));
}

int32_t Image::setKeyFromCorner() {
  if (depth != 8 || !pixels || width == 0 || height == 0) return depth;
  colourKey = *pixelAddress(width - 1, height - 1);
  return colourKey;
}

void Image::drawTo(Image& target, int32_t sx, int32_t sy, int32_t tx, int32_t ty, uint16_t w,
                   uint16_t h, const Rect& clip, double opacity) const {
  if (!pixels || !target.pixels || target.depth != 24 || isInvisible(opacity)) return;
  if (depth == 8 && paletteEntries() == 0) return;  // nothing has a colour
  if (depth != 8 && depth != 24) return;
  BlitArea area{};
  if (!clipBlit(*this, target, sx, sy, tx, ty, w, h, clip, area)) return;
  const bool opaque = isOpaque(opacity);
  if (depth == 24) {
    opaque ? copyRows24(*this, target, area) : blendRows24(*this, target, area, opacity);
  } else {
    opaque ? copyRows8(*this, target, area) : blendRows8(*this, target, area, opacity);
  }
}

bool Image::coversWhenDrawn(double opacity) const {
  return pixels != nullptr && depth == 24 && isOpaque(opacity);
}

void Image::fillRect(const Rect& rect, Colour colour, const Rect& clip, double opacity) {
  if (depth != 24 || !pixels || isInvisible(opacity)) return;
  Rect area = rect;
  area.intersect(clip);
  area.intersect(Rect(0, 0, width, height));
  if (area.isEmpty()) return;
  if (isOpaque(opacity)) {
    fillRows(pixelAddress(area.left, area.top), pitch(), area.height(), area.width(), colour);
    return;
  }
  blendFillRows(pixelAddress(area.left, area.top), pitch(), area.height(), area.width(), colour,
                opacity);
}

void Image::frameRect(const Rect& rect, Colour colour, const Rect& clip, double opacity) {
  if (depth != 24 || rect.isEmpty() || !rect.intersects(clip)) return;
#ifdef GYROTIDE_GFX_AVX2
  // One set of weights for all four sides.
  if (hasVbmi() && pixels && !isInvisible(opacity) && !isOpaque(opacity)) {
    const FillBlend fill(colour, opacity);
    for (const int32_t y : {rect.top, rect.bottom - 1}) {
      const LineSpan line = horizontalSpan(*this, rect.left, rect.right, y, clip);
      if (line.count > 0) fill.rows(line.first, pitch(), 1, line.count);
    }
    for (const int32_t x : {rect.left, rect.right - 1}) {
      const LineSpan line = verticalSpan(*this, rect.top, rect.bottom, x, clip);
      if (line.count > 0) fill.column(line.first, pitch(), line.count);
    }
    return;
  }
#endif
  drawHLine(rect.left, rect.right, rect.top, colour, clip, opacity);
  drawHLine(rect.left, rect.right, rect.bottom - 1, colour, clip, opacity);
  drawVLine(rect.top, rect.bottom, rect.left, colour, clip, opacity);
  drawVLine(rect.top, rect.bottom, rect.right - 1, colour, clip, opacity);
}

void Image::drawHLine(int32_t x0, int32_t x1, int32_t y, Colour colour, const Rect& clip,
                      double opacity) {
  if (depth != 24 || !pixels || isInvisible(opacity)) return;
  const LineSpan line = horizontalSpan(*this, x0, x1, y, clip);
  if (line.count <= 0) return;
  if (isOpaque(opacity)) return fillRows(line.first, pitch(), 1, line.count, colour);
  blendFillRows(line.first, pitch(), 1, line.count, colour, opacity);
}

void Image::drawVLine(int32_t y0, int32_t y1, int32_t x, Colour colour, const Rect& clip,
                      double opacity) {
  if (depth != 24 || !pixels || isInvisible(opacity)) return;
  const LineSpan line = verticalSpan(*this, y0, y1, x, clip);
  if (line.count <= 0) return;
  if (!isOpaque(opacity)) return blendFillColumn(line.first, pitch(), line.count, colour, opacity);
  const uint8_t bgr[3] = {colour.blue, colour.green, colour.red};
  for (int32_t y = 0; y < line.count; ++y) std::memcpy(line.first + y * pitch(), bgr, 3);
}

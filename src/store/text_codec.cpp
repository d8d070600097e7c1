#include "store/text_codec.h"

namespace {

constexpr int kScrambleFirst = 32;  // the scrambled range is 32 to 125
constexpr int kScrambleSpan = 94;
constexpr int kScrambleStep = 10;  // added shift per position

uint8_t byteAt(const char* text, int i) { return static_cast<uint8_t>(text[i]); }

// Position 0 of the range plus `shifted`, wrapped into the range (as a non-negative remainder,
// so a shift backwards or a character below 32 still lands inside it).
char wrapIntoRange(int shifted) {
  int r = shifted % kScrambleSpan;
  if (r < 0) r += kScrambleSpan;
  return static_cast<char>(kScrambleFirst + r);
}

// The shift at position a, already reduced so that nothing overflows on any text length.
int shiftAt(uint32_t a) {
  return static_cast<int>((static_cast<uint64_t>(a) * kScrambleStep) % kScrambleSpan);
}

uint16_t sumFrom4(const char* text) {
  uint16_t sum = 0;
  for (int i = 4; text[i] != '\0'; ++i) sum = static_cast<uint16_t>(sum + byteAt(text, i));
  return sum;
}

}  // namespace

void encodeWord(char* out, uint16_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>('A' + ((value >> (12 - 4 * i)) & 0xF));
}

uint16_t decodeWord(const char* in) {
  // 283985 is the value of "AAAA" (65 times 0x1111). Unsigned arithmetic wraps, and only the
  // low 16 bits are kept.
  uint32_t value =
      byteAt(in, 0) * 4096u + byteAt(in, 1) * 256u + byteAt(in, 2) * 16u + byteAt(in, 3) - 283985u;
  return static_cast<uint16_t>(value);
}

void scrambleText(char* text) {
  for (uint32_t a = 0; text[a] != '\0'; ++a) {
    text[a] = wrapIntoRange(shiftAt(a) + (byteAt(text, a) - kScrambleFirst));
  }
}

void unscrambleText(char* text) {
  for (uint32_t a = 0; text[a] != '\0'; ++a) {
    text[a] = wrapIntoRange(byteAt(text, a) - kScrambleFirst - shiftAt(a));
  }
}

void stampChecksum(char* text) { encodeWord(text, sumFrom4(text)); }

bool verifyChecksum(const char* text) {
  // One at a time: a text shorter than its checksum ends at its zero byte, and nothing after
  // that is looked at.
  for (int i = 0; i < 4; ++i) {
    if (text[i] == '\0') return false;
  }
  return decodeWord(text) == sumFrom4(text);
}

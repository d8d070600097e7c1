#pragma once

// The codecs of the two saved texts (the game in progress and the high-score table). Each text
// is a zero-terminated character buffer: a four-letter checksum, then the content, scrambled.
// Numbers are written as four letters, one per hexadecimal digit, so every text stays printable.

#include <cstdint>

// Writes the four letters of `value` at out[0..3], most significant digit first, each digit d as
// 'A' + d: 0 is "AAAA", 400 is "ABJA". Writes no terminator.
void encodeWord(char* out, uint16_t value);
// The number of four letters (any four bytes: every byte is taken as a digit at 'A' + d, and
// the result kept to 16 bits).
uint16_t decodeWord(const char* in);

// Scrambling shifts each character by ten times its position, within the 94 characters 32 to
// 125 that the texts may hold; text[0] is position 0. Both stop at the zero byte. Unscrambling
// gives back every character of that range; a character outside it comes out inside it.
void scrambleText(char* text);
void unscrambleText(char* text);

// Writes over text[0..3] the four letters of the 16-bit sum of the bytes from text[4] up to the
// zero byte. The text must hold at least four characters before its zero byte.
void stampChecksum(char* text);
// True when text[0..3] are four characters (no zero byte among them) whose number equals that
// sum. Reads nothing past the zero byte.
bool verifyChecksum(const char* text);

// The text codecs against values worked out by hand (and, for the long texts, by a separate
// short script of the same formulas), never against the codecs themselves.
#include <gtest/gtest.h>

#include <string>

#include "store/settings.h"
#include "store/text_codec.h"
#include "support/stored_texts.h"

namespace {

std::string encoded(uint16_t value) {
  char out[5] = {};
  encodeWord(out, value);
  return out;
}

std::string scrambled(std::string text) {
  scrambleText(text.data());
  return text;
}

std::string unscrambled(std::string text) {
  unscrambleText(text.data());
  return text;
}


// Undoes the scramble the long way round: tries every character of the range at each position
// until one scrambles, by the formula written out again here, to the stored character.
std::string referenceUnscramble(const std::string& stored) {
  std::string plain;
  for (size_t a = 0; a < stored.size(); ++a) {
    for (int c = 32; c <= 125; ++c) {
      if ((10 * static_cast<int>(a) + c - 32) % 94 + 32 == static_cast<unsigned char>(stored[a])) {
        plain.push_back(static_cast<char>(c));
        break;
      }
    }
  }
  return plain;
}

TEST(FourLetterWords, WorkedValues) {
  EXPECT_EQ(encoded(0), "AAAA");
  EXPECT_EQ(encoded(50), "AADC");   // 0x0032
  EXPECT_EQ(encoded(400), "ABJA");  // 0x0190
  EXPECT_EQ(encoded(0xFFFF), "PPPP");
  EXPECT_EQ(encoded(0x1234), "BCDE");
  EXPECT_EQ(decodeWord("AADC"), 50);
  EXPECT_EQ(decodeWord("ABJA"), 400);
  EXPECT_EQ(decodeWord("PPPP"), 0xFFFF);
  EXPECT_EQ(decodeWord("BCDE"), 0x1234);
}

TEST(FourLetterWords, AnyFourBytesDecodeToSixteenBits) {
  // 'Q' is digit 16: 16 * 4096 wraps to 0 in 16 bits.
  EXPECT_EQ(decodeWord("QAAA"), 0);
  // 97 * 4369 - 283985 = 139808, which is 8736 in 16 bits.
  EXPECT_EQ(decodeWord("aaaa"), 8736);
  // Below 'A' goes negative and wraps: 64 * 4369 - 283985 = -4369, that is 61167.
  EXPECT_EQ(decodeWord("@@@@"), 61167);
  EXPECT_EQ(decodeWord("\xff\xff\xff\xff"), (255 * 4369 - 283985) & 0xFFFF);
}

TEST(Scramble, WorkedValues) {
  EXPECT_EQ(scrambled("AADC"), "AKXa");
  EXPECT_EQ(unscrambled("AKXa"), "AADC");
  // 125 at positions 0 to 4: 93, 103, 113, 123, 133 past 32, each taken modulo 94.
  EXPECT_EQ(scrambled("}}}}}"), "})3=G");
  EXPECT_EQ(unscrambled("})3=G"), "}}}}}");
}

TEST(Scramble, EveryCharacterOfTheRangeComesBackAtEveryPosition) {
  std::string all;
  for (int c = 32; c <= 125; ++c) all.push_back(static_cast<char>(c));
  // Three rounds, so every character meets every shift.
  std::string text = all + all + all + all;
  EXPECT_EQ(unscrambled(scrambled(text)), text);
  EXPECT_EQ(referenceUnscramble(scrambled(text)), text);
}

TEST(Scramble, StopsAtTheZeroByte) {
  char text[] = "AADC\0AADC";
  scrambleText(text);
  EXPECT_EQ(std::string(text, 9), std::string("AKXa\0AADC", 9));
}

TEST(Checksum, StampAndVerify) {
  // 'A' + 'K' + 'X' + 'a' = 65 + 75 + 88 + 97 = 325 = 0x0145.
  char text[] = "????AKXa";
  stampChecksum(text);
  EXPECT_STREQ(text, "ABEFAKXa");
  EXPECT_TRUE(verifyChecksum(text));
  EXPECT_TRUE(verifyChecksum("AAAA"));  // nothing after the checksum sums to 0
  EXPECT_FALSE(verifyChecksum("ABEFAKXb"));
  EXPECT_FALSE(verifyChecksum("ABEGAKXa"));
}

TEST(Checksum, ShortTextsFailWithoutReadingOn) {
  EXPECT_FALSE(verifyChecksum(""));
  EXPECT_FALSE(verifyChecksum("A"));
  EXPECT_FALSE(verifyChecksum("AAA"));
  // A zero byte inside the checksum ends the text even when the bytes after it would fit.
  char withGap[] = "AA\0AAAAA";
  EXPECT_FALSE(verifyChecksum(withGap));
}

TEST(Checksum, DefaultTableText) {
  EXPECT_EQ(kDefaultTableText.size(), kHighScoreTextLength);
  EXPECT_TRUE(verifyChecksum(kDefaultTableText.c_str()));
  EXPECT_EQ(referenceUnscramble(kDefaultTableText.substr(4)),
            "AADCAAGEAAMIABJAFlint   Opal    Zinc    Tin     x");
  EXPECT_EQ(unscrambled(kDefaultTableText.substr(4)),
            "AADCAAGEAAMIABJAFlint   Opal    Zinc    Tin     x");
}

TEST(Checksum, AnySingleChangeFailsAndCancellingChangesPass) {
  for (size_t i = 0; i < kDefaultTableText.size(); ++i) {
    for (int delta : {1, -1, 7, 50}) {
      std::string changed = kDefaultTableText;
      changed[i] = static_cast<char>(changed[i] + delta);
      EXPECT_FALSE(verifyChecksum(changed.c_str())) << "position " << i << " by " << delta;
    }
  }
  // One character up by 3 and another down by 3 leave the sum as it was.
  std::string cancelled = kDefaultTableText;
  cancelled[10] = static_cast<char>(cancelled[10] + 3);
  cancelled[40] = static_cast<char>(cancelled[40] - 3);
  EXPECT_TRUE(verifyChecksum(cancelled.c_str()));
}

}  // namespace

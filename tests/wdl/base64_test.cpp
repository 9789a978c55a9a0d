#include "base64encdec.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Base64Decode, DecodesStandardAlphabetAndStopsAtPadding)
{
  unsigned char out[16] = {};
  // "Man" -> "TWFu", "Ma" -> "TWE=", "M" -> "TQ==" (worked from the bit groups)
  EXPECT_EQ(base64decode("TWFu", out, 16), 3);
  EXPECT_EQ(std::memcmp(out, "Man", 3), 0);
  EXPECT_EQ(base64decode("TWE=", out, 16), 2);
  EXPECT_EQ(std::memcmp(out, "Ma", 2), 0);
  EXPECT_EQ(base64decode("TQ==", out, 16), 1);
  EXPECT_EQ(out[0], 'M');
  // '+' is 62 and '/' is 63: "+/8=" -> 111110 111111 111100 -> FB FF
  EXPECT_EQ(base64decode("+/8=", out, 16), 2);
  EXPECT_EQ(out[0], 0xFB);
  EXPECT_EQ(out[1], 0xFF);
}

TEST(Base64Decode, StopsAtFirstForeignCharacter)
{
  unsigned char out[16] = {};
  EXPECT_EQ(base64decode("TWFu TWFu", out, 16), 3);
  EXPECT_EQ(base64decode("", out, 16), 0);
  EXPECT_EQ(base64decode("-TWFu", out, 16), 0);
}

TEST(Base64Decode, NeverWritesPastCapacity)
{
  unsigned char out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_EQ(base64decode("TWFuTWFu", out, 2), 2);
  EXPECT_EQ(out[0], 'M');
  EXPECT_EQ(out[1], 'a');
  EXPECT_EQ(out[2], 0xAA);
  EXPECT_EQ(base64decode("TWFu", out, 0), 0);
}

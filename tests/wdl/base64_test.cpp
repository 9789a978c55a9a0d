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

TEST(Base64Encode, PadsFinalGroupsOfOneAndTwoBytes)
{
  char out[16];
  base64encode(reinterpret_cast<const unsigned char*>("Man"), out, 3);
  EXPECT_STREQ(out, "TWFu");
  base64encode(reinterpret_cast<const unsigned char*>("Ma"), out, 2);
  EXPECT_STREQ(out, "TWE=");
  base64encode(reinterpret_cast<const unsigned char*>("M"), out, 1);
  EXPECT_STREQ(out, "TQ==");
  base64encode(nullptr, out, 0);
  EXPECT_STREQ(out, "");
  const unsigned char high[] = {0xFB, 0xFF};
  base64encode(high, out, 2);
  EXPECT_STREQ(out, "+/8=");
  EXPECT_EQ(Base64EncodedSize(0), 1);
  EXPECT_EQ(Base64EncodedSize(1), 5);
  EXPECT_EQ(Base64EncodedSize(3), 5);
  EXPECT_EQ(Base64EncodedSize(4), 9);
}

TEST(Base64, EveryLengthRoundTrips)
{
  unsigned char data[64], back[64];
  for (int i = 0; i < 64; ++i) data[i] = static_cast<unsigned char>(i * 37 + 11);
  for (int len = 0; len <= 64; ++len)
  {
    char text[128];
    base64encode(data, text, len);
    EXPECT_EQ(static_cast<int>(std::strlen(text)) + 1, Base64EncodedSize(len));
    EXPECT_EQ(base64decode(text, back, 64), len);
    EXPECT_EQ(std::memcmp(data, back, static_cast<size_t>(len)), 0) << len;
  }
}

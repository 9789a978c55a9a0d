#include "wdlendian.h"

#include <gtest/gtest.h>

TEST(Endian, BigEndianFieldsRoundTrip)
{
  unsigned char b[4];
  WDL_WriteBE32(b, 0x43636E4Bu); // 'CcnK'
  EXPECT_EQ(b[0], 'C');
  EXPECT_EQ(b[1], 'c');
  EXPECT_EQ(b[2], 'n');
  EXPECT_EQ(b[3], 'K');
  EXPECT_EQ(WDL_ReadBE32(b), 0x43636E4Bu);
  // 1.0f is 0x3F800000
  EXPECT_EQ(WDL_FloatToBE32(1.0f), WDL_bswap32(0x3F800000u));
  EXPECT_EQ(WDL_BE32ToFloat(WDL_FloatToBE32(-0.25f)), -0.25f);
}

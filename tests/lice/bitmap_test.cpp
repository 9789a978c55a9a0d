// Storage rules of LICE_MemBitmap and LICE_SysBitmap.

#include "lice.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace
{
bool Aligned64(const void* p)
{
  return (reinterpret_cast<uintptr_t>(p) & 63u) == 0;
}
} // namespace

TEST(MemBitmap, RowSpanFollowsTheLowestBitOfTheAlignmentCappedAt16)
{
  EXPECT_EQ(LICE_MemBitmap(5, 1, 4).getRowSpan(), 8);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 1).getRowSpan(), 5);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 0).getRowSpan(), 5);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 6).getRowSpan(), 6); // lowest bit 2
  EXPECT_EQ(LICE_MemBitmap(5, 1, 64).getRowSpan(), 16);
  EXPECT_EQ(LICE_MemBitmap(0, 0, 4).getBits(), nullptr);
}

TEST(MemBitmap, StorageIsAlignedGrowsByAQuarterAndNeverShrinks)
{
  LICE_MemBitmap bm(10, 10, 4); // span 12: 480 bytes
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_TRUE(Aligned64(bm.getBits()));
  EXPECT_EQ(bm.getAllocSize(), 480u);
  EXPECT_FALSE(bm.resize(10, 10));
  EXPECT_TRUE(bm.resize(20, 10)); // 800 needed: 800 + 200
  EXPECT_EQ(bm.getAllocSize(), 1000u);
  EXPECT_TRUE(Aligned64(bm.getBits()));
  LICE_pixel* bits = bm.getBits();
  EXPECT_TRUE(bm.resize(4, 4));
  EXPECT_EQ(bm.getBits(), bits);
  EXPECT_EQ(bm.getAllocSize(), 1000u);
  EXPECT_EQ(bm.getWidth(), 4);
  EXPECT_EQ(bm.getRowSpan(), 4);
}

TEST(MemBitmap, EmptyOrImpossibleSizesFreeTheStorage)
{
  LICE_MemBitmap bm(100, 100, 4);
  EXPECT_TRUE(bm.resize(0, 7));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_TRUE(bm.resize(-3, 5));
  EXPECT_EQ(bm.getWidth(), 0);
  // 100000 x 100000 pixels is beyond what one bitmap may hold: 0 x 0, no storage.
  EXPECT_TRUE(bm.resize(100000, 100000));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  LICE_FillRect(&bm, 0, 0, 5, 5, 0xFFFFFFFF, 1.0f, 0);
  LICE_Clear(&bm, 0);
}

TEST(SysBitmap, PixelsLiveInAZeroedMemoryContext)
{
  LICE_SysBitmap bm(5, 3);
  ASSERT_NE(bm.getDC(), nullptr);
  EXPECT_EQ(bm.getRowSpan(), 8);
  EXPECT_TRUE(Aligned64(bm.getBits()));
  for (int i = 0; i < 8 * 3; ++i) EXPECT_EQ(bm.getBits()[i], 0u);
  const HDC dc = bm.getDC();
  EXPECT_TRUE(bm.resize(4, 2)); // fits: storage and span kept
  EXPECT_EQ(bm.getDC(), dc);
  EXPECT_EQ(bm.getRowSpan(), 8);
  EXPECT_FALSE(bm.resize(4, 2));
  EXPECT_TRUE(bm.resize(9, 2));
  EXPECT_EQ(bm.getRowSpan(), 12);
  EXPECT_FALSE(bm.resize(0, 2)); // reported size, no pixels
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getDC(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 2);
}

#include "swell.h"

#include <cstdint>
#include <gtest/gtest.h>

TEST(MemContext, BufferIsZeroedAlignedAndOwnedByTheContext)
{
  HDC ctx = SWELL_CreateMemContext(nullptr, 7, 3);
  ASSERT_NE(ctx, nullptr);
  auto* px = static_cast<unsigned int*>(SWELL_GetCtxFrameBuffer(ctx));
  ASSERT_NE(px, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(px) & 63u, 0u);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(px[i], 0u);
  px[20] = 0xFFFFFFFF; // the whole buffer is writable
  SWELL_DeleteGfxContext(ctx);
}

TEST(MemContext, EmptySizesGiveNoContext)
{
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 0, 3), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 3, -1), nullptr);
  EXPECT_EQ(SWELL_GetCtxFrameBuffer(nullptr), nullptr);
  SWELL_DeleteGfxContext(nullptr);
}

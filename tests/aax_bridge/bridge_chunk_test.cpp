// The 'ln0p' state chunk through the host's chunk calls.
#include "../iplug/hosted_quorvane.h"

#include "AAX_Errors.h"
#include "AAX_SPlugInChunk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace aaxhost;

namespace
{
constexpr AAX_CTypeID kLn0p = 0x6C6E3070; // 'ln0p'
constexpr AAX_CTypeID kElck = 0x656C636B; // the support library's own chunk

// A chunk record as a host allocates it: header plus size data bytes.
struct Record
{
  explicit Record(int size) : bytes(kAAX_SPlugInChunkHeaderSize + static_cast<size_t>(size) + 8)
  {
    Get()->fSize = size;
  }
  AAX_SPlugInChunk* Get() { return reinterpret_cast<AAX_SPlugInChunk*>(bytes.data()); }
  std::vector<double> Doubles()
  {
    std::vector<double> v(static_cast<size_t>(Get()->fSize) / sizeof(double));
    std::memcpy(v.data(), Get()->fData, v.size() * sizeof(double));
    return v;
  }
  std::vector<unsigned char> bytes;
};

Record StateRecord(std::initializer_list<double> values)
{
  Record r(static_cast<int>(values.size() * sizeof(double)));
  std::memcpy(r.Get()->fData, values.begin(), values.size() * sizeof(double));
  r.Get()->fChunkID = kLn0p;
  return r;
}
} // namespace

TEST(BridgeChunk, OneChunkNamedByTheUniqueIdHoldsEveryParameterAsADouble)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  AAX_IACFEffectParameters* p = fx.Parameters();
  AAX_CTypeID id = 1;
  EXPECT_EQ(p->GetChunkIDFromIndex(0, &id), 0);
  EXPECT_EQ(id, kLn0p);
  EXPECT_EQ(p->GetChunkIDFromIndex(1, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
  EXPECT_EQ(id, 0u);
  uint32_t size = 99;
  EXPECT_EQ(p->GetChunkSize(kElck, &size), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(p->GetChunkSize(kLn0p, &size), 0);
  EXPECT_EQ(size, 16u);

  fx.Set(Quorvane::kSwap, 1.0);
  Record r(16);
  r.Get()->fSize = 0;
  EXPECT_EQ(p->GetChunk(kLn0p, r.Get()), 0);
  EXPECT_EQ(r.Get()->fSize, 16);
  EXPECT_EQ(r.Doubles(), (std::vector<double>{1.0, 0.0}));
  EXPECT_EQ(p->GetChunk(kElck, r.Get()), AAX_ERROR_INVALID_CHUNK_ID);
}

TEST(BridgeChunk, SetChunkRestoresPostsEveryValueAndCountsAChange)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  AAX_IACFEffectParameters* p = fx.Parameters();
  int32_t before = 0, after = 0;
  p->GetNumberOfChanges(&before);
  Record other = StateRecord({1.0, 1.0});
  EXPECT_EQ(p->SetChunk(kElck, other.Get()), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_FALSE(fx.Plug().IsSwapOn());

  Record saved = StateRecord({0.0, 1.0});
  EXPECT_EQ(p->SetChunk(kLn0p, saved.Get()), 0);
  EXPECT_FALSE(fx.Plug().IsSwapOn());
  EXPECT_TRUE(fx.Plug().IsMonoOn());
  const std::vector<SetRequest> posted = fx.Host().Automation()->SetRequests();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].id, "1");
  EXPECT_EQ(posted[0].value, 0.0);
  EXPECT_EQ(posted[1].id, "2");
  EXPECT_EQ(posted[1].value, 1.0);
  p->GetNumberOfChanges(&after);
  EXPECT_EQ(after, before + 1);

  Record back(16);
  EXPECT_EQ(p->GetChunk(kLn0p, back.Get()), 0);
  EXPECT_EQ(std::memcmp(back.Get()->fData, saved.Get()->fData, 16), 0);
}

TEST(BridgeChunk, CompareReportsEqualityOfTheLiveState)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  AAX_IACFEffectParameters* p = fx.Parameters();
  fx.Set(Quorvane::kMono, 1.0);
  AAX_CBoolean equal = 7;
  Record same = StateRecord({0.0, 1.0});
  EXPECT_EQ(p->CompareActiveChunk(same.Get(), &equal), 0);
  EXPECT_EQ(equal, 1);
  Record differs = StateRecord({1.0, 1.0});
  EXPECT_EQ(p->CompareActiveChunk(differs.Get(), &equal), 0);
  EXPECT_EQ(equal, 0);
  differs.Get()->fChunkID = kElck; // another chunk: nothing to compare
  EXPECT_EQ(p->CompareActiveChunk(differs.Get(), &equal), 0);
  EXPECT_EQ(equal, 1);
  // A record shorter than the state cannot match and is not overread.
  Record shorter = StateRecord({0.0});
  EXPECT_EQ(p->CompareActiveChunk(shorter.Get(), &equal), 0);
  EXPECT_EQ(equal, 0);
}

TEST(BridgeChunk, ShortOrNegativeRecordsRestoreWhatTheyHold)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  AAX_IACFEffectParameters* p = fx.Parameters();
  Record negative = StateRecord({1.0, 1.0});
  negative.Get()->fSize = -8;
  EXPECT_EQ(p->SetChunk(kLn0p, negative.Get()), 0);
  Record one = StateRecord({1.0});
  EXPECT_EQ(p->SetChunk(kLn0p, one.Get()), 0);
  EXPECT_TRUE(fx.Plug().IsSwapOn());
  uint32_t size = 0;
  EXPECT_EQ(p->GetChunkSize(kLn0p, &size), 0);
  EXPECT_EQ(size, 16u);
}

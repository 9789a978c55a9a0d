// The render path's loops on every instruction-set level this processor
// runs: each must give the exact per-sample result, at every small width and
// from unaligned starts, and leave the samples beyond its block alone.

#include "SampleFormat.h"
#include "hosted_quorvane.h"
#include "simdclones.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
struct AtLevel
{
  explicit AtLevel(WDL_SimdLevel l) : ok(WDL_SetSimdLevel(l)) {}
  ~AtLevel() { WDL_SetSimdLevel(WDL_BestSimdLevel()); }
  bool ok;
};

const WDL_SimdLevel kLevels[] = {WDL_SIMD_BASELINE, WDL_SIMD_AVX2, WDL_SIMD_AVX512};
const int kWidths[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 31, 64, 70};
constexpr int kPad = 4; // unaligned starts 0-3, and sentinels after the block

// Doubles that round in every way a float conversion can: ordinary values
// at many scales, ties, overflow to infinity, float subnormals, zeros of both
// signs, infinities and NaN.
std::vector<double> Samples(size_t n, unsigned int seed)
{
  const double special[] = {0.0, -0.0, 1.0 + std::ldexp(1.0, -24), 1e39, -1e39, 1e-40, -1e-45,
                            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(), 0.1, 1.0 / 3.0};
  std::vector<double> v(n);
  for (size_t i = 0; i < n; ++i)
  {
    seed = seed * 1664525u + 1013904223u;
    if ((seed >> 28) < 3)
      v[i] = special[(seed >> 8) % (sizeof(special) / sizeof(special[0]))];
    else
      v[i] = std::ldexp(static_cast<double>(seed >> 4) / 268435456.0 - 0.5, static_cast<int>(seed % 20) - 10);
  }
  return v;
}

template <class T> bool SameBits(const T* a, const T* b, int n)
{
  return std::memcmp(a, b, sizeof(T) * static_cast<size_t>(n)) == 0;
}
} // namespace

TEST(SimdLevels, NoLevelAboveTheBestIsTaken)
{
  for (WDL_SimdLevel l : kLevels)
  {
    ASSERT_TRUE(WDL_SetSimdLevel(WDL_SIMD_BASELINE));
    const bool taken = WDL_SetSimdLevel(l);
    EXPECT_EQ(taken, l <= WDL_BestSimdLevel());
    EXPECT_EQ(WDL_GetSimdLevel(), taken ? l : WDL_SIMD_BASELINE);
  }
  EXPECT_TRUE(WDL_SetSimdLevel(WDL_BestSimdLevel()));
}

TEST(SimdLevels, SampleConversionsAreExactOnEveryLevel)
{
  for (WDL_SimdLevel level : kLevels)
  {
    AtLevel at(level);
    if (!at.ok) continue;
    for (int n : kWidths)
      for (int off = 0; off < kPad; ++off)
      {
        SCOPED_TRACE(testing::Message() << "level " << level << ", width " << n << ", offset " << off);
        const size_t len = static_cast<size_t>(n + 2 * kPad);
        const std::vector<double> d = Samples(len, static_cast<unsigned int>(n * 7 + off));
        std::vector<float> f(len), base(len);
        for (size_t i = 0; i < len; ++i) f[i] = static_cast<float>(d[len - 1 - i]);

        std::vector<double> toD(len, -7.0), wantD(len, -7.0);
        for (int i = 0; i < n; ++i) wantD[off + i] = static_cast<double>(f[off + i]);
        SampleFormat::FloatToDouble(toD.data() + off, f.data() + off, n);
        EXPECT_TRUE(SameBits(toD.data(), wantD.data(), static_cast<int>(len)));

        std::vector<float> toF(len, -7.0f), wantF(len, -7.0f);
        for (int i = 0; i < n; ++i) wantF[off + i] = static_cast<float>(d[off + i]);
        SampleFormat::DoubleToFloat(toF.data() + off, d.data() + off, n);
        EXPECT_TRUE(SameBits(toF.data(), wantF.data(), static_cast<int>(len)));

        std::vector<float> sum = f, wantSum = f;
        for (int i = 0; i < n; ++i) wantSum[off + i] = static_cast<float>(d[off + i]) + f[off + i];
        SampleFormat::DoubleToFloatAdd(sum.data() + off, d.data() + off, n);
        EXPECT_TRUE(SameBits(sum.data(), wantSum.data(), static_cast<int>(len)));
      }
  }
}

TEST(SimdLevels, QuorvaneRendersEveryModeExactlyOnEveryLevel)
{
  auto plug = MakeInitializedQuorvane();
  for (int mode = 0; mode < 4; ++mode)
  {
    const bool swap = (mode & 1) != 0, mono = (mode & 2) != 0;
    HostSet(*plug, Quorvane::kSwap, swap ? 1.0 : 0.0);
    HostSet(*plug, Quorvane::kMono, mono ? 1.0 : 0.0);
    for (WDL_SimdLevel level : kLevels)
    {
      AtLevel at(level);
      if (!at.ok) continue;
      for (int n : kWidths)
      {
        SCOPED_TRACE(testing::Message() << "swap " << swap << ", mono " << mono << ", level " << level
                                        << ", width " << n);
        const int off = n % kPad;
        const size_t len = static_cast<size_t>(n + 2 * kPad);
        std::vector<double> inL = Samples(len, static_cast<unsigned int>(n)),
                            inR = Samples(len, static_cast<unsigned int>(n + 1000));
        std::vector<double> outL(len, -7.0), outR(len, -7.0), wantL(len, -7.0), wantR(len, -7.0);
        for (int i = off; i < off + n; ++i)
        {
          const float l = static_cast<float>(inL[i]), r = static_cast<float>(inR[i]);
          const float ol = mono ? 0.5f * (r + l) : (swap ? r : l);
          const float orr = mono ? ol : (swap ? l : r);
          wantL[i] = static_cast<double>(ol);
          wantR[i] = static_cast<double>(orr);
        }
        double* ins[] = {inL.data() + off, inR.data() + off};
        double* outs[] = {outL.data() + off, outR.data() + off};
        plug->ProcessDoubleReplacing(ins, outs, n);
        EXPECT_TRUE(SameBits(outL.data(), wantL.data(), static_cast<int>(len)));
        EXPECT_TRUE(SameBits(outR.data(), wantR.data(), static_cast<int>(len)));
      }
    }
  }
}

// The single-precision path (the LV2 run's) gives the bits the double path
// gives for the same float input once the outputs are narrowed again (the
// AAX render's), on every level and in place: including values where a
// double average and a float one differ (the largest floats, whose float
// sum overflows), subnormals, signed zeros and both kinds of NaN.
TEST(SimdLevels, QuorvaneSinglePathMatchesTheDoublePathBitForBit)
{
  const float big = std::numeric_limits<float>::max(), tiny = std::numeric_limits<float>::denorm_min();
  const float special[] = {big, -big, tiny, -tiny, 1e-39f, -0.0f, 0.0f, 0.75f, -0.25f,
                           std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::signaling_NaN()};
  auto plug = MakeInitializedQuorvane();
  for (int mode = 0; mode < 4; ++mode)
  {
    HostSet(*plug, Quorvane::kSwap, (mode & 1) ? 1.0 : 0.0);
    HostSet(*plug, Quorvane::kMono, (mode & 2) ? 1.0 : 0.0);
    for (WDL_SimdLevel level : kLevels)
    {
      AtLevel at(level);
      if (!at.ok) continue;
      for (int n : {1, 7, 33, 70})
        for (bool inPlace : {false, true})
        {
          SCOPED_TRACE(testing::Message() << "mode " << mode << ", level " << level << ", width "
                                          << n << (inPlace ? ", in place" : ""));
          std::vector<float> l(static_cast<size_t>(n)), r(l.size());
          for (size_t i = 0; i < l.size(); ++i)
          {
            // Every pair of specials meets, with the sign of one flipped.
            const size_t k = sizeof(special) / sizeof(special[0]);
            l[i] = special[i % k];
            r[i] = (i / k) % 2 ? -special[(i * 5 + 1) % k] : special[(i * 5 + 1) % k];
          }
          std::vector<double> dl(l.begin(), l.end()), dr(r.begin(), r.end()), odl(l.size()),
              odr(l.size());
          double* dins[] = {dl.data(), dr.data()};
          double* douts[] = {odl.data(), odr.data()};
          plug->ProcessDoubleReplacing(dins, douts, n);
          std::vector<float> wantL(odl.begin(), odl.end()), wantR(odr.begin(), odr.end());
          std::vector<float> outL(l.size(), -7.0f), outR(l.size(), -7.0f);
          float* ins[] = {l.data(), r.data()};
          float* outs[] = {outL.data(), outR.data()};
          ASSERT_TRUE(plug->ProcessSingleReplacing(ins, inPlace ? ins : outs, n));
          EXPECT_TRUE(SameBits(inPlace ? l.data() : outL.data(), wantL.data(), n));
          EXPECT_TRUE(SameBits(inPlace ? r.data() : outR.data(), wantR.data(), n));
        }
    }
  }
}

#include "SampleFormat.h"

#include "simdclones.h"

namespace
{
// Separate non-aliasing pointers let the compiler vectorise these.
WDL_SIMD_INLINE void ToDouble(double* __restrict dst, const float* __restrict src, int n)
{
  for (int i = 0; i < n; ++i) dst[i] = static_cast<double>(src[i]);
}
WDL_SIMD_INLINE void ToFloat(float* __restrict dst, const double* __restrict src, int n)
{
  for (int i = 0; i < n; ++i) dst[i] = static_cast<float>(src[i]);
}
WDL_SIMD_INLINE void ToFloatAdd(float* __restrict dst, const double* __restrict src, int n)
{
  for (int i = 0; i < n; ++i) dst[i] = static_cast<float>(src[i]) + dst[i];
}
} // namespace

namespace SampleFormat
{
WDL_SIMD_FUNCTION(void, FloatToDouble, (double* __restrict dst, const float* __restrict src, int n),
                  (dst, src, n), ToDouble)
WDL_SIMD_FUNCTION(void, DoubleToFloat, (float* __restrict dst, const double* __restrict src, int n),
                  (dst, src, n), ToFloat)
WDL_SIMD_FUNCTION(void, DoubleToFloatAdd, (float* __restrict dst, const double* __restrict src, int n),
                  (dst, src, n), ToFloatAdd)
} // namespace SampleFormat

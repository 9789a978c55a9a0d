#pragma once
// [audio] The render path's sample-format loops, each at the best
// instruction-set level this processor runs (simdclones.h). Every result is
// the exact per-sample conversion, equal on every level. Buffers do not
// overlap; n may be 0.

namespace SampleFormat
{
void FloatToDouble(double* __restrict dst, const float* __restrict src, int n);
void DoubleToFloat(float* __restrict dst, const double* __restrict src, int n);
// dst[i] = float(src[i]) + dst[i]: a second plug-in output summed into a
// host buffer that already holds one.
void DoubleToFloatAdd(float* __restrict dst, const double* __restrict src, int n);
} // namespace SampleFormat

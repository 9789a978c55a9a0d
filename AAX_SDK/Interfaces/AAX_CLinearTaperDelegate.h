// AAX_CLinearTaperDelegate<T, RealPrecision>: a straight line between two bounds
// (instantiated as <int, 0>).
#pragma once

#include "AAX_CRangeTaper.h"
#include "AAX_ITaperDelegate.h"

#include <cmath>
#include <cstdint>

// NormalizedToReal: r = x * (maximum - minimum) + minimum in double. With
// RealPrecision 0 the conversion to T truncates toward zero for integers (0.99
// of 0..10 is 9); a positive RealPrecision rounds r to that many decimals
// first. The result is then constrained to the bounds. [any]
template <typename T, int32_t RealPrecision> class AAX_CLinearTaperDelegate
    : public AAX_ITaperDelegate<T>
{
public:
  AAX_CLinearTaperDelegate(T minValue, T maxValue) : mMinValue(minValue), mMaxValue(maxValue) {}

  AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
  T GetMaximumValue() const override { return mMaxValue; }
  T GetMinimumValue() const override { return mMinValue; }
  T ConstrainRealValue(T value) const override
  {
    return AAX_ConstrainToBounds(value, mMinValue, mMaxValue);
  }
  T NormalizedToReal(double normalizedValue) const override
  {
    double r = normalizedValue * (static_cast<double>(mMaxValue) - static_cast<double>(mMinValue)) +
               static_cast<double>(mMinValue);
    if (RealPrecision > 0)
    {
      const double scale = std::pow(10.0, RealPrecision);
      r = std::round(r * scale) / scale;
    }
    return ConstrainRealValue(AAX_TruncateToReal<T>(r));
  }
  double RealToNormalized(T realValue) const override
  {
    return AAX_NormalizeInBounds(realValue, mMinValue, mMaxValue);
  }

private:
  T mMinValue;
  T mMaxValue;
};

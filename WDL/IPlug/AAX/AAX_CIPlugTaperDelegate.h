#pragma once
// AAX_CIPlugTaperDelegate: the taper of a shaped IParam, so the host's value
// and the plug-in's value agree: real = min + normalised^shape * (max - min).

#include "AAX_ITaperDelegate.h"

#include <cmath>

template <typename T> class AAX_CIPlugTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
  AAX_CIPlugTaperDelegate(T minValue, T maxValue, double shape)
      : mMinValue(minValue), mMaxValue(maxValue), mShape(shape)
  {
  }
  ~AAX_CIPlugTaperDelegate() override = default;

  // [any] A new copy with the same range and shape; the caller owns it.
  AAX_CIPlugTaperDelegate* Clone() const override { return new AAX_CIPlugTaperDelegate(*this); }
  T GetMaximumValue() const override { return mMaxValue; }
  T GetMinimumValue() const override { return mMinValue; }
  // Values above the maximum give the maximum, below the minimum the minimum.
  T ConstrainRealValue(T value) const override
  {
    if (value > mMaxValue) return mMaxValue;
    if (value < mMinValue) return mMinValue;
    return value;
  }
  T NormalizedToReal(double normalizedValue) const override
  {
    const double real = static_cast<double>(mMinValue) +
                        std::pow(normalizedValue, mShape) *
                            (static_cast<double>(mMaxValue) - static_cast<double>(mMinValue));
    return ConstrainRealValue(static_cast<T>(real));
  }
  // An empty range (minimum equal to maximum) maps everything to 0 rather
  // than dividing by zero.
  double RealToNormalized(T realValue) const override
  {
    const double range = static_cast<double>(mMaxValue) - static_cast<double>(mMinValue);
    if (range == 0.0) return 0.0;
    const double y = static_cast<double>(ConstrainRealValue(realValue));
    return std::pow((y - static_cast<double>(mMinValue)) / range, 1.0 / mShape);
  }

private:
  T mMinValue;
  T mMaxValue;
  double mShape;
};

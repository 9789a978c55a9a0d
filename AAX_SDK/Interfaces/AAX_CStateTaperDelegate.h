// AAX_CStateTaperDelegate<T>: evenly spaced states between two bounds
// (instantiated for int).
#pragma once

#include "AAX_CRangeTaper.h"
#include "AAX_ITaperDelegate.h"

// As the linear taper, but NormalizedToReal rounds half away from zero before
// truncating (0.99 of 0..10 is 10, 0.95 is 10, 0.94 is 9). [any]
template <typename T> class AAX_CStateTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
  AAX_CStateTaperDelegate(T minValue, T maxValue) : mMinValue(minValue), mMaxValue(maxValue) {}

  AAX_CStateTaperDelegate* Clone() const override { return new AAX_CStateTaperDelegate(*this); }
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
    r = r >= 0 ? r + 0.5 : r - 0.5;
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

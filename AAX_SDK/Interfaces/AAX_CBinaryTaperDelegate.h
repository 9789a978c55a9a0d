// AAX_CBinaryTaperDelegate<T>: an on/off taper (instantiated for bool).
#pragma once

#include "AAX_ITaperDelegate.h"

// false <-> 0.0, true <-> 1.0; any normalised value above 0.0, however small,
// is true. No fields. [any]
template <typename T> class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
  AAX_CBinaryTaperDelegate* Clone() const override { return new AAX_CBinaryTaperDelegate(*this); }
  T GetMaximumValue() const override { return true; }
  T GetMinimumValue() const override { return false; }
  T ConstrainRealValue(T value) const override { return value; }
  T NormalizedToReal(double normalizedValue) const override { return normalizedValue > 0.0; }
  double RealToNormalized(T realValue) const override { return realValue ? 1.0 : 0.0; }
};

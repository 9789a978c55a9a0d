// AAX_CNumberDisplayDelegate<T, Precision, SpaceAfter>: a number in fixed-point
// notation (instantiated as <double, 2, 0> and <int, 2, 0>).
#pragma once

#include "AAX_IDisplayDelegate.h"

#include <limits>
#include <type_traits>

// Precision is the number of decimals; SpaceAfter is 0 in every instantiation
// and adds nothing. No fields. [any]
template <typename T, uint32_t Precision = 2, uint32_t SpaceAfter = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
  AAX_CNumberDisplayDelegate* Clone() const override
  {
    return new AAX_CNumberDisplayDelegate(*this);
  }

  // "%.*f" with Precision decimals: 3 gives 3.00, -0.5 gives -0.50.
  bool ValueToString(T value, AAX_CString* valueString) const override
  {
    if (!valueString) return false;
    valueString->Clear();
    valueString->AppendNumber(static_cast<double>(value), static_cast<int32_t>(Precision));
    return true;
  }

  // The full text cut to maxNumChars (negative counts as 0); a point left at
  // the end of a cut text goes too (123.45 in 4 gives 123, in 5 gives 123.4).
  bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const override
  {
    if (!ValueToString(value, valueString)) return false;
    const uint32_t n = maxNumChars > 0 ? static_cast<uint32_t>(maxNumChars) : 0u;
    if (n < valueString->Length()) valueString->Erase(n, valueString->Length() - n);
    if (n > 0 && n == valueString->Length() && (*valueString)[n - 1] == '.')
      valueString->Erase(n - 1, 1);
    return true;
  }

  // The leading number of the text (the rest is ignored), truncated toward
  // zero for integers; 0 and false when there is none.
  bool StringToValue(const AAX_CString& valueString, T* value) const override
  {
    if (!value) return false;
    double d = 0;
    if (!valueString.ToDouble(&d))
    {
      *value = T(0);
      return false;
    }
    *value = ToValue(d);
    return true;
  }

private:
  // Integers saturate where a plain conversion would be undefined; NaN gives 0.
  static T ToValue(double d)
  {
    if constexpr (std::is_integral_v<T>)
    {
      if (d != d) return T(0);
      if (d <= static_cast<double>(std::numeric_limits<T>::lowest()))
        return std::numeric_limits<T>::lowest();
      if (d >= static_cast<double>(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    }
    return static_cast<T>(d);
  }
};

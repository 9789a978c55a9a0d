// The constraint, normalisation and truncation shared by the linear and state
// tapers.
#pragma once

#include <limits>
#include <type_traits>

// Bounds may come in either order; equal bounds pin every value to them.
template <typename T> T AAX_ConstrainToBounds(T value, T minimum, T maximum)
{
  if (minimum == maximum) return minimum;
  const T high = maximum > minimum ? maximum : minimum;
  const T low = maximum > minimum ? minimum : maximum;
  if (value > high) return high;
  if (value < low) return low;
  return value;
}

// (c - minimum) / (maximum - minimum) of the constrained value, in double; 0.5
// for equal bounds. Reversed bounds reverse the direction.
template <typename T> double AAX_NormalizeInBounds(T value, T minimum, T maximum)
{
  const T c = AAX_ConstrainToBounds(value, minimum, maximum);
  if (maximum == minimum) return 0.5;
  return (static_cast<double>(c) - static_cast<double>(minimum)) /
         (static_cast<double>(maximum) - static_cast<double>(minimum));
}

// r converted to T, truncating toward zero for integers. Integers saturate
// outside T's range, where a plain conversion is undefined; NaN gives the
// lowest value (the constraint then moves it into the bounds).
template <typename T> T AAX_TruncateToReal(double r)
{
  if constexpr (std::is_integral_v<T>)
  {
    if (!(r > static_cast<double>(std::numeric_limits<T>::lowest())))
      return std::numeric_limits<T>::lowest();
    if (r >= static_cast<double>(std::numeric_limits<T>::max()))
      return std::numeric_limits<T>::max();
  }
  return static_cast<T>(r);
}

// AAX_ITaperDelegateBase and AAX_ITaperDelegate<T>: the mapping between a
// parameter's real value and the host's normalised range 0..1.
#pragma once

// Lets a parameter accept a taper of any value type; the parameter checks that
// it is one of its own.
class AAX_ITaperDelegateBase
{
public:
  virtual ~AAX_ITaperDelegateBase() {}
};

// Tapers hold only constants after construction: [any] thread.
template <typename T> class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
  // A new heap copy; the caller owns it.
  virtual AAX_ITaperDelegate* Clone() const = 0;
  virtual T GetMaximumValue() const = 0;
  virtual T GetMinimumValue() const = 0;
  // The value kept inside the taper's bounds.
  virtual T ConstrainRealValue(T value) const = 0;
  virtual T NormalizedToReal(double normalizedValue) const = 0;
  virtual double RealToNormalized(T realValue) const = 0;
};

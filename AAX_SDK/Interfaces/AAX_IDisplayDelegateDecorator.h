// AAX_IDisplayDelegateDecorator<T>: a display delegate wrapped around another,
// forwarding every conversion unchanged; derived decorators change some.
#pragma once

#include "AAX_IDisplayDelegate.h"

template <typename T> class AAX_IDisplayDelegateDecorator : public AAX_IDisplayDelegate<T>
{
public:
  // Wraps a clone of displayDelegate; the caller keeps its own. [host]
  explicit AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& displayDelegate)
      : mWrappedDisplayDelegate(displayDelegate.Clone())
  {
  }
  AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegateDecorator& other)
      : AAX_IDisplayDelegate<T>(), mWrappedDisplayDelegate(other.mWrappedDisplayDelegate->Clone())
  {
  }
  AAX_IDisplayDelegateDecorator& operator=(const AAX_IDisplayDelegateDecorator&) = delete;
  ~AAX_IDisplayDelegateDecorator() override { delete mWrappedDisplayDelegate; }

  AAX_IDisplayDelegateDecorator* Clone() const override
  {
    return new AAX_IDisplayDelegateDecorator(*this);
  }
  bool ValueToString(T value, AAX_CString* valueString) const override
  {
    return mWrappedDisplayDelegate->ValueToString(value, valueString);
  }
  bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const override
  {
    return mWrappedDisplayDelegate->ValueToString(value, maxNumChars, valueString);
  }
  bool StringToValue(const AAX_CString& valueString, T* value) const override
  {
    return mWrappedDisplayDelegate->StringToValue(valueString, value);
  }

private:
  const AAX_IDisplayDelegate<T>* mWrappedDisplayDelegate;
};

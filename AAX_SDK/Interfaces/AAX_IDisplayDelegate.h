// AAX_IDisplayDelegateBase and AAX_IDisplayDelegate<T>: a parameter's real
// value as text and back.
#pragma once

#include "AAX_CString.h"

#include <cstdint>

// Lets a parameter accept a display delegate of any value type; the parameter
// checks that it is one of its own.
class AAX_IDisplayDelegateBase
{
public:
  virtual ~AAX_IDisplayDelegateBase() {}
};

// Display delegates hold only constants after construction: [any] thread.
template <typename T> class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
  // A new heap copy; the caller owns it.
  virtual AAX_IDisplayDelegate* Clone() const = 0;
  // The full text of value into *valueString; false when there is none.
  virtual bool ValueToString(T value, AAX_CString* valueString) const = 0;
  // The text kept within maxNumChars characters where the delegate shortens.
  virtual bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const = 0;
  // Parses valueString into *value; false when it cannot.
  virtual bool StringToValue(const AAX_CString& valueString, T* value) const = 0;
};

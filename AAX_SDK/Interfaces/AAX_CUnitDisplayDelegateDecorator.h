// AAX_CUnitDisplayDelegateDecorator<T>: the wrapped delegate's text followed by
// a unit text (instantiated for double and int32).
#pragma once

#include "AAX_IDisplayDelegateDecorator.h"

template <typename T> class AAX_CUnitDisplayDelegateDecorator
    : public AAX_IDisplayDelegateDecorator<T>
{
public:
  // The unit is appended as given: no separator is added. [host]
  AAX_CUnitDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& displayDelegate,
                                    const AAX_CString& unitString)
      : AAX_IDisplayDelegateDecorator<T>(displayDelegate), mUnitString(unitString)
  {
  }

  AAX_CUnitDisplayDelegateDecorator* Clone() const override
  {
    return new AAX_CUnitDisplayDelegateDecorator(*this);
  }

  // The unit follows even when the wrapped conversion failed; its result is returned.
  bool ValueToString(T value, AAX_CString* valueString) const override
  {
    const bool ok = AAX_IDisplayDelegateDecorator<T>::ValueToString(value, valueString);
    if (valueString) *valueString += mUnitString;
    return ok;
  }

  // The unit follows only when it fits whole in the room the number left.
  bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const override
  {
    const bool ok = AAX_IDisplayDelegateDecorator<T>::ValueToString(value, maxNumChars, valueString);
    if (!valueString) return ok;
    const uint32_t n = maxNumChars > 0 ? static_cast<uint32_t>(maxNumChars) : 0u;
    const uint32_t length = valueString->Length();
    if (length < n && n - length >= mUnitString.Length()) *valueString += mUnitString;
    return ok;
  }

  // A text that ends with the unit (and is longer than it) is parsed without
  // it; any other text is passed whole.
  bool StringToValue(const AAX_CString& valueString, T* value) const override
  {
    const std::string& s = valueString.StdString();
    const std::string& unit = mUnitString.StdString();
    if (unit.size() < s.size() && s.compare(s.size() - unit.size(), unit.size(), unit) == 0)
    {
      return AAX_IDisplayDelegateDecorator<T>::StringToValue(
          AAX_CString(s.substr(0, s.size() - unit.size())), value);
    }
    return AAX_IDisplayDelegateDecorator<T>::StringToValue(valueString, value);
  }

private:
  AAX_CString mUnitString;
};

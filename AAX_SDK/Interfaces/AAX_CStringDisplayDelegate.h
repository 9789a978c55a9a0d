// AAX_CStringDisplayDelegate<T>: a fixed text per integer value (instantiated
// for int).
#pragma once

#include "AAX_IDisplayDelegate.h"

#include <map>

template <typename T> class AAX_CStringDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
  // When two values share a text, parsing that text gives the smaller value. [host]
  explicit AAX_CStringDisplayDelegate(const std::map<T, AAX_CString>& stringMap)
      : mStringMap(stringMap)
  {
    for (const auto& entry : mStringMap) mInverseStringMap.insert({entry.second.StdString(), entry.first});
  }

  AAX_CStringDisplayDelegate* Clone() const override
  {
    return new AAX_CStringDisplayDelegate(*this);
  }

  // The mapped text; "String Not Found" and false for an unmapped value.
  bool ValueToString(T value, AAX_CString* valueString) const override
  {
    if (!valueString) return false;
    const auto it = mStringMap.find(value);
    if (it == mStringMap.end())
    {
      *valueString = AAX_CString("String Not Found");
      return false;
    }
    *valueString = it->second;
    return true;
  }

  // The limit is not applied: the same as the unlimited form.
  bool ValueToString(T value, int32_t /*maxNumChars*/, AAX_CString* valueString) const override
  {
    return ValueToString(value, valueString);
  }

  // The value mapped to exactly this text; 0 and false when none is.
  bool StringToValue(const AAX_CString& valueString, T* value) const override
  {
    if (!value) return false;
    const auto it = mInverseStringMap.find(valueString.StdString());
    if (it == mInverseStringMap.end())
    {
      *value = T(0);
      return false;
    }
    *value = it->second;
    return true;
  }

private:
  std::map<T, AAX_CString> mStringMap;
  std::map<std::string, T> mInverseStringMap; // byte-wise order of the texts
};

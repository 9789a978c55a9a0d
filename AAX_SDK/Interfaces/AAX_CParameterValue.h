// AAX_CParameterValue<T>: the value record of a parameter, its identifier in a
// fixed 32-byte array and its real value.
#pragma once

#include "AAX_CString.h"
#include "AAX_IParameterValue.h"

#include <type_traits>

// Size of a stored identifier, terminating NUL included.
enum
{
  eParemeterDefaultMaxIdentifierSize = 32
};

// Copies identifier into the 32-byte array dest. A text longer than 31
// characters is reported to the host as an assertion failure and cut to its
// first 31; null gives the empty text. dest always ends with a NUL. [any]
void AAX_CopyParameterIdentifier(char (&dest)[eParemeterDefaultMaxIdentifierSize],
                                 AAX_CParamID identifier);

template <typename T> class AAX_CParameterValue : public AAX_IParameterValue
{
public:
  explicit AAX_CParameterValue(AAX_CParamID identifier) : mValue()
  {
    AAX_CopyParameterIdentifier(mIdentifier, identifier);
  }
  AAX_CParameterValue(AAX_CParamID identifier, const T& value) : mValue(value)
  {
    AAX_CopyParameterIdentifier(mIdentifier, identifier);
  }
  AAX_CParameterValue(const AAX_CParameterValue& other) : AAX_IParameterValue(), mValue(other.mValue)
  {
    AAX_CopyParameterIdentifier(mIdentifier, other.mIdentifier);
  }
  AAX_CParameterValue& operator=(const AAX_CParameterValue&) = delete;

  AAX_IParameterValue* Clone() const override { return new AAX_CParameterValue(*this); }
  AAX_CParamID Identifier() const override { return mIdentifier; }

  bool GetValueAsBool(bool* value) const override { return GetAs<bool>(value); }
  bool GetValueAsInt32(int32_t* value) const override { return GetAs<int32_t>(value); }
  bool GetValueAsFloat(float* value) const override { return GetAs<float>(value); }
  bool GetValueAsDouble(double* value) const override { return GetAs<double>(value); }
  bool GetValueAsString(AAX_IString* value) const override
  {
    if constexpr (std::is_same_v<T, AAX_CString>)
    {
      if (!value) return false;
      *value = mValue;
      return true;
    }
    else
    {
      (void)value;
      return false;
    }
  }

  const T& Get() const { return mValue; }
  void Set(const T& value) { mValue = value; }

private:
  template <typename U> bool GetAs(U* out) const
  {
    if constexpr (std::is_same_v<T, U>)
    {
      if (!out) return false;
      *out = mValue;
      return true;
    }
    else
    {
      (void)out;
      return false;
    }
  }

  char mIdentifier[eParemeterDefaultMaxIdentifierSize];
  T mValue;
};

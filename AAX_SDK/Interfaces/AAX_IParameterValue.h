// AAX_IParameterValue: a snapshot of one parameter's identifier and real value,
// read back through type-matched getters.
#pragma once

#include "AAX.h"
#include "AAX_IString.h"

// Each getter stores the value and returns true only when it names the value's
// own type; every other getter returns false and leaves its output untouched.
// Not safe for concurrent use; callers serialise access. [host]
class AAX_IParameterValue
{
public:
  virtual ~AAX_IParameterValue() {}

  // A new heap copy (identifier and value); the caller owns it.
  virtual AAX_IParameterValue* Clone() const = 0;
  // The identifier text, owned by this record.
  virtual AAX_CParamID Identifier() const = 0;
  virtual bool GetValueAsBool(bool* value) const = 0;
  virtual bool GetValueAsInt32(int32_t* value) const = 0;
  virtual bool GetValueAsFloat(float* value) const = 0;
  virtual bool GetValueAsDouble(double* value) const = 0;
  // Assigns the text of a string value to *value.
  virtual bool GetValueAsString(AAX_IString* value) const = 0;
};

// AAX_IParameter: one host-visible parameter of an effect instance. Operations
// in slot order (1-53 after the destructor).
#pragma once

#include "AAX.h"
#include "AAX_CString.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_IParameterValue.h"
#include "AAX_ITaperDelegate.h"

// Values cross the host boundary normalised to 0..1; the real value lives in
// the parameter. Not safe for concurrent use: the effect-parameters object calls
// it only from the host's calls into it. [host] for every operation.
// Conversions that name a value type other than the parameter's own return
// false and change nothing.
class AAX_IParameter
{
public:
  virtual ~AAX_IParameter() {}

  // 1: a new heap copy of the identifier and current value; the caller owns it.
  virtual AAX_IParameterValue* CloneValue() const = 0;
  // 2: the identifier text, owned by the parameter.
  virtual AAX_CParamID Identifier() const = 0;
  // 3-4: the primary name.
  virtual void SetName(const AAX_CString& name) = 0;
  virtual const AAX_CString& Name() const = 0;
  // 5-7: shortened names, one per length; ShortenedName follows
  // AAX_CStringAbbreviations::Get.
  virtual void AddShortenedName(const AAX_CString& name) = 0;
  virtual const AAX_CString& ShortenedName(int32_t iNumCharacters) const = 0;
  virtual void ClearShortenedNames() = 0;
  // 8
  virtual bool Automatable() const = 0;
  // 9: unregisters the identifier from the previous delegate, registers it with
  // the new one (null: none). Borrowed; the caller keeps it alive while set.
  virtual void SetAutomationDelegate(AAX_IAutomationDelegate* iAutomationDelegate) = 0;
  // 10-11: touch / release through the automation delegate; nothing without one.
  virtual void Touch() = 0;
  virtual void Release() = 0;
  // 12-13: with an automation delegate, Set only posts a request to the host
  // (the value arrives through UpdateNormalizedValue); without, it applies at once.
  virtual void SetNormalizedValue(double newNormalizedValue) = 0;
  virtual double GetNormalizedValue() const = 0;
  // 14-16: the default; setting it leaves the current value alone.
  virtual void SetNormalizedDefaultValue(double normalizedDefault) = 0;
  virtual double GetNormalizedDefaultValue() const = 0;
  virtual void SetToDefaultValue() = 0;
  // 17-22: steps. 0 steps is refused (assertion report); with fewer than two
  // steps every step query gives 0 and SetStepValue does nothing.
  virtual void SetNumberOfSteps(uint32_t numSteps) = 0;
  virtual uint32_t GetNumberOfSteps() const = 0;
  virtual uint32_t GetStepValue() const = 0;
  virtual double GetNormalizedValueFromStep(uint32_t iStep) const = 0;
  virtual uint32_t GetStepValueFromNormalizedValue(double normalizedValue) const = 0;
  virtual void SetStepValue(uint32_t iStep) = 0;
  // 23-24: the display text of the current value. The limited form ignores its
  // limit (hosts rely on the full text here).
  virtual bool GetValueString(AAX_CString* valueString) const = 0;
  virtual bool GetValueString(int32_t iMaxNumChars, AAX_CString* valueString) const = 0;
  // 25-29: normalised value of a real value of the named type / of a text.
  virtual bool GetNormalizedValueFromBool(bool value, double* normalizedValue) const = 0;
  virtual bool GetNormalizedValueFromInt32(int32_t value, double* normalizedValue) const = 0;
  virtual bool GetNormalizedValueFromFloat(float value, double* normalizedValue) const = 0;
  virtual bool GetNormalizedValueFromDouble(double value, double* normalizedValue) const = 0;
  virtual bool GetNormalizedValueFromString(const AAX_CString& valueString,
                                            double* normalizedValue) const = 0;
  // 30-35: real value of the named type / display text of a normalised value.
  // The string forms give false (text kept) when the value lies outside the
  // taper's bounds.
  virtual bool GetBoolFromNormalizedValue(double normalizedValue, bool* value) const = 0;
  virtual bool GetInt32FromNormalizedValue(double normalizedValue, int32_t* value) const = 0;
  virtual bool GetFloatFromNormalizedValue(double normalizedValue, float* value) const = 0;
  virtual bool GetDoubleFromNormalizedValue(double normalizedValue, double* value) const = 0;
  virtual bool GetStringFromNormalizedValue(double normalizedValue,
                                            AAX_CString& valueString) const = 0;
  virtual bool GetStringFromNormalizedValue(double normalizedValue, int32_t iMaxNumChars,
                                            AAX_CString& valueString) const = 0;
  // 36: parses the text and sets the value (no range check); false when it
  // does not parse.
  virtual bool SetValueFromString(const AAX_CString& newValueString) = 0;
  // 37-41: the current value if it is of the named type; the string form gives
  // every parameter's display text.
  virtual bool GetValueAsBool(bool* value) const = 0;
  virtual bool GetValueAsInt32(int32_t* value) const = 0;
  virtual bool GetValueAsFloat(float* value) const = 0;
  virtual bool GetValueAsDouble(double* value) const = 0;
  virtual bool GetValueAsString(AAX_IString* value) const = 0;
  // 42-46: set the value from the named type (as SetNormalizedValue does).
  virtual bool SetValueWithBool(bool value) = 0;
  virtual bool SetValueWithInt32(int32_t value) = 0;
  virtual bool SetValueWithFloat(float value) = 0;
  virtual bool SetValueWithDouble(double value) = 0;
  virtual bool SetValueWithString(const AAX_IString& value) = 0;
  // 47-50: stored and returned unchanged.
  virtual void SetType(AAX_EParameterType iControlType) = 0;
  virtual AAX_EParameterType GetType() const = 0;
  virtual void SetOrientation(int32_t iOrientation) = 0;
  virtual int32_t GetOrientation() const = 0;
  // 51: a clone of taperDelegate replaces the taper. preserveValue keeps the
  // real value (its normalised position moves); otherwise the normalised
  // position stays. The next update always stores and reports.
  virtual void SetTaperDelegate(AAX_ITaperDelegateBase& inTaperDelegate, bool inPreserveValue) = 0;
  // 52: a clone replaces the display delegate; the current value is posted to
  // the automation delegate so the host refreshes the text.
  virtual void SetDisplayDelegate(AAX_IDisplayDelegateBase& inDisplayDelegate) = 0;
  // 53: the only path that stores a value (from the host's update call).
  virtual void UpdateNormalizedValue(double newNormalizedValue) = 0;
};

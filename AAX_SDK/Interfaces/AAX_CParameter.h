// AAX_CParameter<T>: the generic parameter for a real value type T
// (instantiated for bool, int32_t and double), with a taper, a display delegate
// and an optional automation delegate.
#pragma once

#include "AAX_CHostServices.h"
#include "AAX_CParameterValue.h"
#include "AAX_CStringAbbreviations.h"
#include "AAX_IParameter.h"

#include <type_traits>

// A value change goes through the host when an automation delegate is set: the
// parameter posts a set request and stores nothing until the host calls
// UpdateNormalizedValue. Without one the change applies at once. [host]
template <typename T> class AAX_CParameter : public AAX_IParameter
{
public:
  // Clones both delegates (the caller keeps its own). The new parameter has 128
  // steps (continuous) and holds the constrained default.
  AAX_CParameter(AAX_CParamID identifier, const AAX_IString& name, T defaultValue,
                 const AAX_ITaperDelegate<T>& taperDelegate,
                 const AAX_IDisplayDelegate<T>& displayDelegate, bool automatable = false);
  // Unregisters the identifier from the automation delegate, if any.
  ~AAX_CParameter() override;

  AAX_CParameter(const AAX_CParameter&) = delete;
  AAX_CParameter& operator=(const AAX_CParameter&) = delete;

  AAX_IParameterValue* CloneValue() const override;
  AAX_CParamID Identifier() const override;
  void SetName(const AAX_CString& name) override;
  const AAX_CString& Name() const override;
  void AddShortenedName(const AAX_CString& name) override;
  const AAX_CString& ShortenedName(int32_t iNumCharacters) const override;
  void ClearShortenedNames() override;
  bool Automatable() const override;
  void SetAutomationDelegate(AAX_IAutomationDelegate* iAutomationDelegate) override;
  void Touch() override;
  void Release() override;
  void SetNormalizedValue(double newNormalizedValue) override;
  double GetNormalizedValue() const override;
  void SetNormalizedDefaultValue(double normalizedDefault) override;
  double GetNormalizedDefaultValue() const override;
  void SetToDefaultValue() override;
  void SetNumberOfSteps(uint32_t numSteps) override;
  uint32_t GetNumberOfSteps() const override;
  uint32_t GetStepValue() const override;
  double GetNormalizedValueFromStep(uint32_t iStep) const override;
  uint32_t GetStepValueFromNormalizedValue(double normalizedValue) const override;
  void SetStepValue(uint32_t iStep) override;
  bool GetValueString(AAX_CString* valueString) const override;
  bool GetValueString(int32_t iMaxNumChars, AAX_CString* valueString) const override;
  bool GetNormalizedValueFromBool(bool value, double* normalizedValue) const override;
  bool GetNormalizedValueFromInt32(int32_t value, double* normalizedValue) const override;
  bool GetNormalizedValueFromFloat(float value, double* normalizedValue) const override;
  bool GetNormalizedValueFromDouble(double value, double* normalizedValue) const override;
  bool GetNormalizedValueFromString(const AAX_CString& valueString,
                                    double* normalizedValue) const override;
  bool GetBoolFromNormalizedValue(double normalizedValue, bool* value) const override;
  bool GetInt32FromNormalizedValue(double normalizedValue, int32_t* value) const override;
  bool GetFloatFromNormalizedValue(double normalizedValue, float* value) const override;
  bool GetDoubleFromNormalizedValue(double normalizedValue, double* value) const override;
  bool GetStringFromNormalizedValue(double normalizedValue,
                                    AAX_CString& valueString) const override;
  bool GetStringFromNormalizedValue(double normalizedValue, int32_t iMaxNumChars,
                                    AAX_CString& valueString) const override;
  bool SetValueFromString(const AAX_CString& newValueString) override;
  bool GetValueAsBool(bool* value) const override;
  bool GetValueAsInt32(int32_t* value) const override;
  bool GetValueAsFloat(float* value) const override;
  bool GetValueAsDouble(double* value) const override;
  bool GetValueAsString(AAX_IString* value) const override;
  bool SetValueWithBool(bool value) override;
  bool SetValueWithInt32(int32_t value) override;
  bool SetValueWithFloat(float value) override;
  bool SetValueWithDouble(double value) override;
  bool SetValueWithString(const AAX_IString& value) override;
  void SetType(AAX_EParameterType iControlType) override;
  AAX_EParameterType GetType() const override;
  void SetOrientation(int32_t iOrientation) override;
  int32_t GetOrientation() const override;
  // A taper or display delegate of another value type is refused with an
  // assertion report and changes nothing.
  void SetTaperDelegate(AAX_ITaperDelegateBase& inTaperDelegate, bool inPreserveValue) override;
  void SetDisplayDelegate(AAX_IDisplayDelegateBase& inDisplayDelegate) override;
  void UpdateNormalizedValue(double newNormalizedValue) override;

  // The real value: Set posts through the automation delegate when there is
  // one (see the class comment); Get is the stored value.
  virtual void SetValue(T newValue);
  virtual T GetValue() const;
  // Stores the value constrained by the taper; the current value is not touched.
  virtual void SetDefaultValue(T newDefaultValue);
  virtual T GetDefaultValue() const;
  // Owned by the parameter; valid until the next Set...Delegate.
  const AAX_ITaperDelegate<T>* TaperDelegate() const { return mTaperDelegate; }
  const AAX_IDisplayDelegate<T>* DisplayDelegate() const { return mDisplayDelegate; }

protected:
  // Constructor only: 2 steps for a discrete type, 128 for a continuous one.
  void InitializeNumberOfSteps();

private:
  template <typename U> bool NormalizedFrom(U value, double* normalizedValue) const;
  template <typename U> bool RealFrom(double normalizedValue, U* value) const;
  template <typename U> bool SetWith(U value);

  AAX_CStringAbbreviations mNames;
  bool mAutomatable;
  uint32_t mNumSteps;
  int32_t mControlType; // AAX_EParameterType
  int32_t mOrientation;
  AAX_ITaperDelegate<T>* mTaperDelegate;
  AAX_IDisplayDelegate<T>* mDisplayDelegate;
  AAX_IAutomationDelegate* mAutomationDelegate;
  bool mNeedNotify;
  AAX_CParameterValue<T> mValue;
  T mDefaultValue;
};


// Definitions. The instantiations for bool, int32_t and double are compiled
// once in the library (AAX_CParameter.cpp); other types instantiate here.

template <typename T>
AAX_CParameter<T>::AAX_CParameter(AAX_CParamID identifier, const AAX_IString& name, T defaultValue,
                                  const AAX_ITaperDelegate<T>& taperDelegate,
                                  const AAX_IDisplayDelegate<T>& displayDelegate, bool automatable)
    : mNames(AAX_CString(name)), mAutomatable(automatable), mNumSteps(0),
      mControlType(AAX_eParameterType_Continuous), mOrientation(0),
      mTaperDelegate(taperDelegate.Clone()), mDisplayDelegate(displayDelegate.Clone()),
      mAutomationDelegate(nullptr), mNeedNotify(true), mValue(identifier),
      mDefaultValue(defaultValue)
{
  InitializeNumberOfSteps();
  SetToDefaultValue();
}

template <typename T> AAX_CParameter<T>::~AAX_CParameter()
{
  SetAutomationDelegate(nullptr);
  delete mTaperDelegate;
  delete mDisplayDelegate;
}

template <typename T> AAX_IParameterValue* AAX_CParameter<T>::CloneValue() const
{
  return new AAX_CParameterValue<T>(mValue);
}

template <typename T> AAX_CParamID AAX_CParameter<T>::Identifier() const
{
  return mValue.Identifier();
}

template <typename T> void AAX_CParameter<T>::SetName(const AAX_CString& name)
{
  mNames.SetPrimary(name);
}

template <typename T> const AAX_CString& AAX_CParameter<T>::Name() const
{
  return mNames.Primary();
}

template <typename T> void AAX_CParameter<T>::AddShortenedName(const AAX_CString& name)
{
  mNames.Add(name);
}

template <typename T>
const AAX_CString& AAX_CParameter<T>::ShortenedName(int32_t iNumCharacters) const
{
  return mNames.Get(iNumCharacters);
}

template <typename T> void AAX_CParameter<T>::ClearShortenedNames() { mNames.Clear(); }

template <typename T> bool AAX_CParameter<T>::Automatable() const { return mAutomatable; }

template <typename T>
void AAX_CParameter<T>::SetAutomationDelegate(AAX_IAutomationDelegate* iAutomationDelegate)
{
  if (mAutomationDelegate) mAutomationDelegate->UnregisterParameter(Identifier());
  mAutomationDelegate = iAutomationDelegate;
  if (mAutomationDelegate) mAutomationDelegate->RegisterParameter(Identifier());
}

template <typename T> void AAX_CParameter<T>::Touch()
{
  if (mAutomationDelegate) mAutomationDelegate->PostTouchRequest(Identifier());
}

template <typename T> void AAX_CParameter<T>::Release()
{
  if (mAutomationDelegate) mAutomationDelegate->PostReleaseRequest(Identifier());
}

template <typename T> void AAX_CParameter<T>::SetNormalizedValue(double newNormalizedValue)
{
  SetValue(mTaperDelegate->NormalizedToReal(newNormalizedValue));
}

template <typename T> double AAX_CParameter<T>::GetNormalizedValue() const
{
  return mTaperDelegate->RealToNormalized(mValue.Get());
}

template <typename T> void AAX_CParameter<T>::SetNormalizedDefaultValue(double normalizedDefault)
{
  SetDefaultValue(mTaperDelegate->NormalizedToReal(normalizedDefault));
}

template <typename T> double AAX_CParameter<T>::GetNormalizedDefaultValue() const
{
  return mTaperDelegate->RealToNormalized(mDefaultValue);
}

template <typename T> void AAX_CParameter<T>::SetToDefaultValue() { SetValue(mDefaultValue); }

template <typename T> void AAX_CParameter<T>::SetNumberOfSteps(uint32_t numSteps)
{
  if (numSteps == 0)
  {
    AAX_CHostServices::HandleAssertFailure(__FILE__, __LINE__, "0 < numSteps", AAX_kAssertFlags);
    return;
  }
  mNumSteps = numSteps;
}

template <typename T> uint32_t AAX_CParameter<T>::GetNumberOfSteps() const { return mNumSteps; }

template <typename T> uint32_t AAX_CParameter<T>::GetStepValue() const
{
  return GetStepValueFromNormalizedValue(GetNormalizedValue());
}

template <typename T> double AAX_CParameter<T>::GetNormalizedValueFromStep(uint32_t iStep) const
{
  if (mNumSteps < 2) return 0.0;
  const double x = static_cast<double>(iStep) * (1.0 / static_cast<double>(mNumSteps - 1));
  if (x < 0.0) return 0.0;
  if (x > 1.0) return 1.0;
  return x;
}

template <typename T>
uint32_t AAX_CParameter<T>::GetStepValueFromNormalizedValue(double normalizedValue) const
{
  if (mNumSteps < 2) return 0;
  const double last = static_cast<double>(mNumSteps - 1);
  const double r = normalizedValue / (1.0 / last) + 0.5;
  // NaN fails both tests of a well-formed value and counts as below 0.
  if (!(r >= 0.0)) return 0;
  if (r > last) return mNumSteps - 1;
  return static_cast<uint32_t>(r);
}

template <typename T> void AAX_CParameter<T>::SetStepValue(uint32_t iStep)
{
  if (mNumSteps < 2) return;
  SetNormalizedValue(GetNormalizedValueFromStep(iStep));
}

template <typename T> bool AAX_CParameter<T>::GetValueString(AAX_CString* valueString) const
{
  return mDisplayDelegate->ValueToString(mValue.Get(), valueString);
}

template <typename T>
bool AAX_CParameter<T>::GetValueString(int32_t /*iMaxNumChars*/, AAX_CString* valueString) const
{
  return GetValueString(valueString);
}

template <typename T>
template <typename U>
bool AAX_CParameter<T>::NormalizedFrom(U value, double* normalizedValue) const
{
  if constexpr (std::is_same_v<T, U>)
  {
    if (!normalizedValue) return false;
    *normalizedValue = mTaperDelegate->RealToNormalized(value);
    return true;
  }
  else
  {
    (void)value;
    (void)normalizedValue;
    return false;
  }
}

template <typename T>
template <typename U>
bool AAX_CParameter<T>::RealFrom(double normalizedValue, U* value) const
{
  if constexpr (std::is_same_v<T, U>)
  {
    if (!value) return false;
    *value = mTaperDelegate->NormalizedToReal(normalizedValue);
    return true;
  }
  else
  {
    (void)normalizedValue;
    (void)value;
    return false;
  }
}

template <typename T> template <typename U> bool AAX_CParameter<T>::SetWith(U value)
{
  if constexpr (std::is_same_v<T, U>)
  {
    SetValue(value);
    return true;
  }
  else
  {
    (void)value;
    return false;
  }
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromBool(bool value, double* normalizedValue) const
{
  return NormalizedFrom(value, normalizedValue);
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromInt32(int32_t value, double* normalizedValue) const
{
  return NormalizedFrom(value, normalizedValue);
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromFloat(float value, double* normalizedValue) const
{
  return NormalizedFrom(value, normalizedValue);
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromDouble(double value, double* normalizedValue) const
{
  return NormalizedFrom(value, normalizedValue);
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromString(const AAX_CString& valueString,
                                                     double* normalizedValue) const
{
  T value = T();
  if (!normalizedValue || !mDisplayDelegate->StringToValue(valueString, &value)) return false;
  *normalizedValue = mTaperDelegate->RealToNormalized(value);
  return true;
}

template <typename T>
bool AAX_CParameter<T>::GetBoolFromNormalizedValue(double normalizedValue, bool* value) const
{
  return RealFrom(normalizedValue, value);
}

template <typename T>
bool AAX_CParameter<T>::GetInt32FromNormalizedValue(double normalizedValue, int32_t* value) const
{
  return RealFrom(normalizedValue, value);
}

template <typename T>
bool AAX_CParameter<T>::GetFloatFromNormalizedValue(double normalizedValue, float* value) const
{
  return RealFrom(normalizedValue, value);
}

template <typename T>
bool AAX_CParameter<T>::GetDoubleFromNormalizedValue(double normalizedValue, double* value) const
{
  return RealFrom(normalizedValue, value);
}

template <typename T>
bool AAX_CParameter<T>::GetStringFromNormalizedValue(double normalizedValue,
                                                     AAX_CString& valueString) const
{
  const T value = mTaperDelegate->NormalizedToReal(normalizedValue);
  if (!mDisplayDelegate->ValueToString(value, &valueString)) return false;
  return !(value > mTaperDelegate->GetMaximumValue()) &&
         !(value < mTaperDelegate->GetMinimumValue());
}

template <typename T>
bool AAX_CParameter<T>::GetStringFromNormalizedValue(double normalizedValue, int32_t iMaxNumChars,
                                                     AAX_CString& valueString) const
{
  const T value = mTaperDelegate->NormalizedToReal(normalizedValue);
  if (!mDisplayDelegate->ValueToString(value, iMaxNumChars, &valueString)) return false;
  return !(value > mTaperDelegate->GetMaximumValue()) &&
         !(value < mTaperDelegate->GetMinimumValue());
}

template <typename T> bool AAX_CParameter<T>::SetValueFromString(const AAX_CString& newValueString)
{
  T value = T();
  if (!mDisplayDelegate->StringToValue(newValueString, &value)) return false;
  SetValue(value);
  return true;
}

template <typename T> bool AAX_CParameter<T>::GetValueAsBool(bool* value) const
{
  return mValue.GetValueAsBool(value);
}

template <typename T> bool AAX_CParameter<T>::GetValueAsInt32(int32_t* value) const
{
  return mValue.GetValueAsInt32(value);
}

template <typename T> bool AAX_CParameter<T>::GetValueAsFloat(float* value) const
{
  return mValue.GetValueAsFloat(value);
}

template <typename T> bool AAX_CParameter<T>::GetValueAsDouble(double* value) const
{
  return mValue.GetValueAsDouble(value);
}

template <typename T> bool AAX_CParameter<T>::GetValueAsString(AAX_IString* value) const
{
  if (!value) return false;
  AAX_CString text;
  const bool ok = GetValueString(&text);
  if (ok) *value = text;
  return ok;
}

template <typename T> bool AAX_CParameter<T>::SetValueWithBool(bool value)
{
  return SetWith(value);
}

template <typename T> bool AAX_CParameter<T>::SetValueWithInt32(int32_t value)
{
  return SetWith(value);
}

template <typename T> bool AAX_CParameter<T>::SetValueWithFloat(float value)
{
  return SetWith(value);
}

template <typename T> bool AAX_CParameter<T>::SetValueWithDouble(double value)
{
  return SetWith(value);
}

template <typename T> bool AAX_CParameter<T>::SetValueWithString(const AAX_IString& value)
{
  return SetValueFromString(AAX_CString(value));
}

template <typename T> void AAX_CParameter<T>::SetType(AAX_EParameterType iControlType)
{
  mControlType = iControlType;
}

template <typename T> AAX_EParameterType AAX_CParameter<T>::GetType() const
{
  return static_cast<AAX_EParameterType>(mControlType);
}

template <typename T> void AAX_CParameter<T>::SetOrientation(int32_t iOrientation)
{
  mOrientation = iOrientation;
}

template <typename T> int32_t AAX_CParameter<T>::GetOrientation() const { return mOrientation; }

template <typename T>
void AAX_CParameter<T>::SetTaperDelegate(AAX_ITaperDelegateBase& inTaperDelegate,
                                         bool inPreserveValue)
{
  auto* taper = dynamic_cast<AAX_ITaperDelegate<T>*>(&inTaperDelegate);
  if (!taper)
  {
    AAX_CHostServices::HandleAssertFailure(__FILE__, __LINE__, "taper of the parameter's type",
                                           AAX_kAssertFlags);
    return;
  }
  const double normalizedValue = GetNormalizedValue();
  AAX_ITaperDelegate<T>* oldTaper = mTaperDelegate;
  mTaperDelegate = taper->Clone();
  delete oldTaper;
  mNeedNotify = true;
  if (inPreserveValue)
    SetValue(mValue.Get());
  else
    UpdateNormalizedValue(normalizedValue);
}

template <typename T>
void AAX_CParameter<T>::SetDisplayDelegate(AAX_IDisplayDelegateBase& inDisplayDelegate)
{
  auto* display = dynamic_cast<AAX_IDisplayDelegate<T>*>(&inDisplayDelegate);
  if (!display)
  {
    AAX_CHostServices::HandleAssertFailure(__FILE__, __LINE__,
                                           "display delegate of the parameter's type",
                                           AAX_kAssertFlags);
    return;
  }
  AAX_IDisplayDelegate<T>* oldDisplay = mDisplayDelegate;
  mDisplayDelegate = display->Clone();
  delete oldDisplay;
  if (mAutomationDelegate) mAutomationDelegate->PostCurrentValue(Identifier(), GetNormalizedValue());
}

template <typename T> void AAX_CParameter<T>::UpdateNormalizedValue(double newNormalizedValue)
{
  const T newValue = mTaperDelegate->NormalizedToReal(newNormalizedValue);
  if (!mNeedNotify && newValue == mValue.Get()) return;
  mValue.Set(newValue);
  if (mAutomationDelegate) mAutomationDelegate->PostCurrentValue(Identifier(), newNormalizedValue);
  mNeedNotify = false;
}

template <typename T> void AAX_CParameter<T>::SetValue(T newValue)
{
  const double normalizedValue = mTaperDelegate->RealToNormalized(newValue);
  if (mAutomationDelegate)
  {
    Touch();
    mAutomationDelegate->PostSetValueRequest(Identifier(), normalizedValue);
    Release();
    return;
  }
  mNeedNotify = true;
  UpdateNormalizedValue(normalizedValue);
}

template <typename T> T AAX_CParameter<T>::GetValue() const { return mValue.Get(); }

template <typename T> void AAX_CParameter<T>::SetDefaultValue(T newDefaultValue)
{
  mDefaultValue = mTaperDelegate->ConstrainRealValue(newDefaultValue);
}

template <typename T> T AAX_CParameter<T>::GetDefaultValue() const { return mDefaultValue; }

template <typename T> void AAX_CParameter<T>::InitializeNumberOfSteps()
{
  if (mNumSteps != 0) return;
  if (mControlType == AAX_eParameterType_Discrete)
    mNumSteps = 2;
  else if (mControlType == AAX_eParameterType_Continuous)
    mNumSteps = 128;
  else
    AAX_CHostServices::HandleAssertFailure(__FILE__, __LINE__, "0", AAX_kAssertFlags);
}

extern template class AAX_CParameter<bool>;
extern template class AAX_CParameter<int32_t>;
extern template class AAX_CParameter<double>;

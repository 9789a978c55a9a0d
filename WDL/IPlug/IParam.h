#pragma once
// IParam: one automatable plug-in parameter. The real value lives in
// [minimum, maximum] in the parameter's own unit (what state chunks store);
// hosts and controls speak the normalised value in [0, 1], mapped with the
// shape as exponent. No lock of its own: the plug-in base serialises writers
// under its mutex.

#include "heapbuf.h"

// minimum + normalised^shape * (maximum - minimum)
double FromNormalizedParam(double normalizedValue, double min, double max, double shape);
// ((value - minimum) / (maximum - minimum))^(1 / shape)
double ToNormalizedParam(double nonNormalizedValue, double min, double max, double shape);
// exp(0.1151292546497 * dB); the constant is ln(10)/20 cut to 13 decimals on
// purpose, so stored gains reproduce exactly.
double DBToAmp(double dB);

class IParam
{
public:
  enum EParamType
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4
  };

  // Fixed-size, NUL-terminated name buffers (31 characters at most).
  static constexpr int kMaxNameLen = 32;

  struct DisplayText
  {
    int mValue;
    char mText[kMaxNameLen];
  };

  IParam();
  ~IParam() = default;
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  // Initialisers. The first one called fixes the kind; texts are copied, and
  // names longer than 31 characters are cut to a NUL-terminated prefix.
  void InitBool(const char* name, bool defaultVal, const char* label = "", const char* group = "");
  void InitEnum(const char* name, int defaultVal, int nEnums, const char* label = "",
                const char* group = "");
  void InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "",
               const char* group = "");
  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "", const char* group = "", double shape = 1.0);

  // Appends one value-to-text record (the table grows; not for the audio path).
  void SetDisplayText(int value, const char* text);
  // Ignores a shape of exactly 0.0, keeping the previous one.
  void SetShape(double shape);

  // [any, under the plug-in mutex for writers] Value access.
  double Value() const { return mValue; }
  bool Bool() const { return mValue >= 0.5; }
  int Int() const { return static_cast<int>(mValue); }
  double DBToAmp() const;

  // Stores the value clamped into [minimum, maximum], not snapped to the step
  // (NaN stores the minimum).
  void Set(double value);
  // Maps from normalised, snaps non-double kinds to a multiple of the step
  // (round half up, counted from zero) and clamps from above only.
  void SetNormalized(double normalizedValue);
  double GetNormalized() const;
  // The value clamped into range, then mapped to [0, 1].
  double GetNormalized(double nonNormalizedValue) const;
  // Mapped from normalised; neither clamped nor snapped.
  double GetNonNormalized(double normalizedValue) const;

  // Formats a value for display into rDisplay (caller's buffer, 32 bytes hold
  // every display text; numbers need room for their digits). With
  // withDisplayText, a matching display text replaces the number.
  void GetDisplayForHost(double value, bool normalized, char* rDisplay,
                         bool withDisplayText = true) const;
  void GetDisplayForHost(char* rDisplay, bool withDisplayText = true) const
  {
    GetDisplayForHost(mValue, false, rDisplay, withDisplayText);
  }
  void GetDisplayForHostNoDisplayText(char* rDisplay) const
  {
    GetDisplayForHost(mValue, false, rDisplay, false);
  }

  const char* GetNameForHost() const { return mName; }
  // "" when a display text exists for the current value, else the label.
  const char* GetLabelForHost() const;
  const char* GetParamGroupForHost() const { return mParamGroup; }

  // Text of the first record whose value equals value, else "".
  const char* GetDisplayText(int value) const;
  int GetNDisplayTexts() const { return mDisplayTexts.GetSize(); }
  // Text of the record at idx (which must be below GetNDisplayTexts); stores
  // its value in *value when value is not null.
  const char* GetDisplayTextAtIdx(int idx, int* value = nullptr) const;
  // True, with the value in *pValue, for the first record whose text equals
  // str exactly (case-sensitive); false with *pValue untouched otherwise.
  bool MapDisplayText(const char* str, int* pValue) const;

  EParamType Type() const { return mType; }
  double GetDefault() const { return mDefault; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  void GetBounds(double* pLo, double* pHi) const;
  double GetShape() const { return mShape; }
  double GetStep() const { return mStep; }
  int GetDisplayPrecision() const { return mDisplayPrecision; }
  bool GetCanAutomate() const { return mCanAutomate; }
  bool DisplayIsNegated() const { return mDisplayIsNegated; }

private:
  EParamType mType = kTypeNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[kMaxNameLen] = {};
  char mLabel[kMaxNameLen] = {};
  char mParamGroup[kMaxNameLen] = {};
  bool mDisplayIsNegated = false;
  bool mCanAutomate = true;
  WDL_TypedBuf<DisplayText> mDisplayTexts;
};

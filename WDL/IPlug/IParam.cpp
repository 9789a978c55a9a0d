#include "IParam.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
// Copies src into a fixed name buffer, keeping a NUL-terminated prefix when
// it is too long (a long name must never overrun its neighbour fields).
void CopyName(char (&dst)[IParam::kMaxNameLen], const char* src)
{
  std::snprintf(dst, sizeof(dst), "%s", src ? src : "");
}
} // namespace

double FromNormalizedParam(double normalizedValue, double min, double max, double shape)
{
  return min + std::pow(normalizedValue, shape) * (max - min);
}

double ToNormalizedParam(double nonNormalizedValue, double min, double max, double shape)
{
  return std::pow((nonNormalizedValue - min) / (max - min), 1.0 / shape);
}

double DBToAmp(double dB) { return std::exp(0.1151292546497 * dB); }

IParam::IParam() = default;

void IParam::InitBool(const char* name, bool defaultVal, const char* label, const char* group)
{
  if (mType == kTypeNone) mType = kTypeBool;
  InitDouble(name, defaultVal ? 1.0 : 0.0, 0.0, 1.0, 1.0, label, group, 1.0);
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParam::InitEnum(const char* name, int defaultVal, int nEnums, const char* label,
                      const char* group)
{
  if (mType == kTypeNone) mType = kTypeEnum;
  InitInt(name, defaultVal, 0, nEnums - 1, label, group);
}

void IParam::InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label,
                     const char* group)
{
  if (mType == kTypeNone) mType = kTypeInt;
  InitDouble(name, static_cast<double>(defaultVal), static_cast<double>(minVal),
             static_cast<double>(maxVal), 1.0, label, group, 1.0);
}

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal,
                        double step, const char* label, const char* group, double shape)
{
  if (mType == kTypeNone) mType = kTypeDouble;
  CopyName(mName, name);
  CopyName(mLabel, label);
  CopyName(mParamGroup, group);
  mValue = mDefault = defaultVal;
  mMin = minVal;
  mMax = (minVal + step > maxVal) ? minVal + step : maxVal;
  mStep = step;

  mDisplayPrecision = 0;
  for (double d = step; mDisplayPrecision < 6 && d != std::floor(d); d *= 10.0)
    ++mDisplayPrecision;

  SetShape(shape);
}

void IParam::SetDisplayText(int value, const char* text)
{
  DisplayText dt;
  dt.mValue = value;
  CopyName(dt.mText, text);
  mDisplayTexts.Add(dt);
}

void IParam::SetShape(double shape)
{
  if (shape != 0.0) mShape = shape;
}

double IParam::DBToAmp() const { return ::DBToAmp(mValue); }

void IParam::Set(double value)
{
  // NaN compares false both ways and would slip through the clamp; restored
  // state is untrusted, so it lands on the minimum instead.
  if (value != value) value = mMin;
  mValue = value < mMin ? mMin : (value > mMax ? mMax : value);
}

void IParam::SetNormalized(double normalizedValue)
{
  double v = FromNormalizedParam(normalizedValue, mMin, mMax, mShape);
  if (mType != kTypeDouble) v = std::floor(0.5 + v / mStep) * mStep;
  mValue = v < mMax ? v : mMax;
}

double IParam::GetNormalized() const { return GetNormalized(mValue); }

double IParam::GetNormalized(double nonNormalizedValue) const
{
  const double v = nonNormalizedValue < mMin ? mMin
                   : nonNormalizedValue > mMax ? mMax
                                               : nonNormalizedValue;
  return ToNormalizedParam(v, mMin, mMax, mShape);
}

double IParam::GetNonNormalized(double normalizedValue) const
{
  return FromNormalizedParam(normalizedValue, mMin, mMax, mShape);
}

void IParam::GetDisplayForHost(double value, bool normalized, char* rDisplay,
                               bool withDisplayText) const
{
  if (normalized) value = FromNormalizedParam(value, mMin, mMax, mShape);

  if (withDisplayText)
  {
    const char* text = GetDisplayText(static_cast<int>(value));
    if (text[0])
    {
      std::strcpy(rDisplay, text);
      return;
    }
  }

  const double displayValue = mDisplayIsNegated ? -value : value;
  if (mDisplayPrecision == 0)
    std::sprintf(rDisplay, "%d", static_cast<int>(displayValue));
  else
    std::sprintf(rDisplay, "%.*f", mDisplayPrecision, displayValue);
}

const char* IParam::GetLabelForHost() const
{
  const char* displayText = GetDisplayText(static_cast<int>(mValue));
  return displayText[0] ? "" : mLabel;
}

const char* IParam::GetDisplayText(int value) const
{
  const int n = mDisplayTexts.GetSize();
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0; i < n; ++i)
    if (texts[i].mValue == value) return texts[i].mText;
  return "";
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* value) const
{
  // Out of range is the caller's error, but a wrong index must not read wild
  // memory: answer "" and leave *value alone.
  if (idx < 0 || idx >= mDisplayTexts.GetSize()) return "";
  const DisplayText& dt = mDisplayTexts.Get()[idx];
  if (value) *value = dt.mValue;
  return dt.mText;
}

bool IParam::MapDisplayText(const char* str, int* pValue) const
{
  const int n = mDisplayTexts.GetSize();
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0; i < n; ++i)
  {
    if (!std::strcmp(str, texts[i].mText))
    {
      *pValue = texts[i].mValue;
      return true;
    }
  }
  return false;
}

void IParam::GetBounds(double* pLo, double* pHi) const
{
  *pLo = mMin;
  *pHi = mMax;
}

// AAX_CBinaryDisplayDelegate<T>: two texts for an on/off value (instantiated
// for bool), with shortened pairs for narrow displays.
#pragma once

#include "AAX_IDisplayDelegate.h"

#include <algorithm>
#include <vector>

template <typename T> class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
  struct StringTable
  {
    int32_t mStringLength;
    AAX_CString mFalseString;
    AAX_CString mTrueString;
  };

  // False text first, then true text. [host]
  AAX_CBinaryDisplayDelegate(const char* falseString, const char* trueString)
      : mFalseString(falseString), mTrueString(trueString),
        mMaxStrLength(std::max(mFalseString.Length(), mTrueString.Length()))
  {
  }

  AAX_CBinaryDisplayDelegate* Clone() const override
  {
    return new AAX_CBinaryDisplayDelegate(*this);
  }

  bool ValueToString(T value, AAX_CString* valueString) const override
  {
    if (!valueString) return false;
    *valueString = value ? mTrueString : mFalseString;
    return true;
  }

  // A request at or above the longest full text gets the full text; below it
  // the longest shortened pair that fits, or the shortest pair when none does.
  // The choice looks only at the longest length, so a short full text can be
  // passed over for a shortened one.
  bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const override
  {
    if (mShortenedStrings.empty()) return ValueToString(value, valueString);
    if (!valueString) return false;
    const uint32_t n = maxNumChars > 0 ? static_cast<uint32_t>(maxNumChars) : 0u;
    if (n >= mMaxStrLength) return ValueToString(value, valueString);
    for (auto it = mShortenedStrings.rbegin(); it != mShortenedStrings.rend(); ++it)
    {
      if (it->mStringLength <= maxNumChars)
      {
        *valueString = value ? it->mTrueString : it->mFalseString;
        return true;
      }
    }
    const StringTable& shortest = mShortenedStrings.front();
    *valueString = value ? shortest.mTrueString : shortest.mFalseString;
    return true;
  }

  // The true text (exact) gives true; anything else gives false, and succeeds
  // only when it is the false text.
  bool StringToValue(const AAX_CString& valueString, T* value) const override
  {
    if (!value) return false;
    if (valueString == mTrueString)
    {
      *value = true;
      return true;
    }
    *value = false;
    return valueString == mFalseString;
  }

  // Adds a shortened pair for displays of `length` characters. [host]
  virtual void AddShortenedStrings(const char* falseString, const char* trueString, int32_t length)
  {
    mShortenedStrings.push_back(StringTable{length, AAX_CString(falseString), AAX_CString(trueString)});
    std::stable_sort(mShortenedStrings.begin(), mShortenedStrings.end(),
                     [](const StringTable& a, const StringTable& b)
                     { return a.mStringLength < b.mStringLength; });
  }

private:
  AAX_CString mFalseString;
  AAX_CString mTrueString;
  uint32_t mMaxStrLength;
  std::vector<StringTable> mShortenedStrings;
};

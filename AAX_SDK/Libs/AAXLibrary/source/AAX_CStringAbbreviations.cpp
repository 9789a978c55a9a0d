#include "AAX_CStringAbbreviations.h"

AAX_CStringAbbreviations::AAX_CStringAbbreviations(const AAX_CString& primary) : mPrimary(primary)
{
}

void AAX_CStringAbbreviations::SetPrimary(const AAX_CString& primary) { mPrimary = primary; }

const AAX_CString& AAX_CStringAbbreviations::Primary() const { return mPrimary; }

void AAX_CStringAbbreviations::Add(const AAX_CString& abbreviation)
{
  mAbbreviations[abbreviation.Length()] = abbreviation;
}

const AAX_CString& AAX_CStringAbbreviations::Get(int32_t numCharacters) const
{
  if (numCharacters < 0 || mAbbreviations.empty() ||
      static_cast<uint32_t>(numCharacters) >= mPrimary.Length())
    return mPrimary;
  // The first abbreviation longer than the limit; the one before it fits.
  auto it = mAbbreviations.upper_bound(static_cast<uint32_t>(numCharacters));
  if (it == mAbbreviations.begin()) return it->second;
  return std::prev(it)->second;
}

void AAX_CStringAbbreviations::Clear() { mAbbreviations.clear(); }

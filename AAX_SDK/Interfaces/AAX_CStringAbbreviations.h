// AAX_CStringAbbreviations: a name and its shortened forms, one per length.
#pragma once

#include "AAX_CString.h"

#include <cstdint>
#include <map>

// Not safe for concurrent use; its parameter's callers serialise access. [host]
class AAX_CStringAbbreviations
{
public:
  explicit AAX_CStringAbbreviations(const AAX_CString& primary);

  void SetPrimary(const AAX_CString& primary);
  const AAX_CString& Primary() const;
  // Stored under its length, replacing an earlier abbreviation of that length.
  void Add(const AAX_CString& abbreviation);
  // The primary when it fits in numCharacters, when there are no abbreviations
  // or when numCharacters is negative; else the longest abbreviation that fits,
  // or the shortest when none does. Valid until the set changes.
  const AAX_CString& Get(int32_t numCharacters) const;
  // Removes the abbreviations; the primary stays.
  void Clear();

private:
  AAX_CString mPrimary;
  std::map<uint32_t, AAX_CString> mAbbreviations;
};

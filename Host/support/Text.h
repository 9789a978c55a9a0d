// What a user types against what a plug-in calls things: names, display
// texts and labels are matched regardless of case when only one answers.
#pragma once

#include <cctype>
#include <string>

namespace aaxtool
{
// a and b the same but for the case of ASCII letters. [any]
inline bool SameLetters(const std::string& a, const std::string& b)
{
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}
} // namespace aaxtool

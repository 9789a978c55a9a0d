// What a user types against what a plug-in calls things: names, display
// texts and labels are matched regardless of case when only one answers.
#pragma once

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
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

// A finite number written out whole ("0.5", "-3e2"), nothing before or
// after it, into out. [any]
inline bool IsNumber(const std::string& text, double& out)
{
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtod(text.c_str(), &end);
  return errno == 0 && end == text.c_str() + text.size() && std::isfinite(out);
}
} // namespace aaxtool

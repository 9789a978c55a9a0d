#include "Arguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace aaxtool
{
namespace
{
std::string Show(double v)
{
  std::ostringstream s;
  s << v;
  return s.str();
}
} // namespace

CLI::Validator WholeNumber(long lo, long hi)
{
  const std::string range =
      "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
  return CLI::Validator(
      [lo, hi, range](std::string& text) -> std::string
      {
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || errno != 0 || *end != '\0' || v < lo || v > hi)
          return text + " is not " + range;
        return {};
      },
      "INT " + std::to_string(lo) + ".." + std::to_string(hi));
}

CLI::Validator Number(double lo, bool inclusive, double hi)
{
  return CLI::Validator(
      [lo, inclusive, hi](std::string& text) -> std::string
      {
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(v))
          return text + " is not a number";
        if (inclusive && v < lo) return text + " is below " + Show(lo);
        if (!inclusive && v <= lo) return text + " must be more than " + Show(lo);
        if (v > hi) return text + " is above " + Show(hi);
        return {};
      },
      "NUMBER");
}
} // namespace aaxtool

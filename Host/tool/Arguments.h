// Checks of what the command line gives, each failing with one line that
// says what is wrong with which value: numbers in range (CLI11 validators).
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace aaxtool
{
// A whole number from lo to hi: "abc is not a whole number from 1 to 8192".
CLI::Validator WholeNumber(long lo, long hi);
// A finite number above lo (or from lo when inclusive) up to hi:
// "-1 is below 0", "0 must be more than 0".
CLI::Validator Number(double lo, bool inclusive, double hi);
} // namespace aaxtool

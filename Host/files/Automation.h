// Automation files: a JSON object keyed by parameter identifier or name, each
// an array of points {"at": T, "value": V}. T is a sample index, "2.5s",
// "250ms" or "50%" (of the input); V a normalised number or a display text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace aaxtool
{
// A value as the user gave it: a normalised number, or a text for the
// parameter to parse (a display text such as "on", or a number as text).
struct ValueSpec
{
  bool isText = false;
  std::string text;
  double number = 0.0;
};

struct AutomationPoint
{
  int64_t frame = 0;
  ValueSpec value;
  std::string where; // "FILE: \"Swap\" point 2", for errors found later
};

struct AutomationLane
{
  std::string key;                     // identifier or name, as written
  std::vector<AutomationPoint> points; // sorted by frame (stable)
};

// A time as a frame index: 1200, "1200", "2.5s", "250ms", "50%". Fails with
// a line naming where (the caller's text) and the time. [any]
int64_t ParseTime(const std::string& text, int64_t totalFrames, double sampleRate,
                  const std::string& where);

// Reads and checks a whole file. Syntax errors name FILE:LINE:COLUMN;
// structural errors name the parameter key and point number. [any]
std::vector<AutomationLane> LoadAutomation(const std::string& path, int64_t totalFrames,
                                           double sampleRate);
// The same from a text (tests, and the file reader itself).
std::vector<AutomationLane> ParseAutomation(const std::string& json, const std::string& name,
                                            int64_t totalFrames, double sampleRate);
} // namespace aaxtool

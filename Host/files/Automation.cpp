#include "Automation.h"

#include "Paths.h"
#include "ToolError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace aaxtool
{
namespace
{
bool EndsWith(const std::string& s, const std::string& tail)
{
  return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A finite number filling the whole text, or false.
bool Number(const std::string& text, double& out)
{
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtod(text.c_str(), &end);
  return errno == 0 && end == text.c_str() + text.size() && std::isfinite(out);
}

// Line and column (both from 1) of byte offset pos.
void LineColumn(const std::string& text, size_t pos, size_t& line, size_t& column)
{
  line = 1;
  column = 1;
  for (size_t i = 0; i < pos && i < text.size(); ++i)
  {
    if (text[i] == '\n')
    {
      ++line;
      column = 1;
    }
    else
      ++column;
  }
}
} // namespace

int64_t ParseTime(const std::string& text, int64_t totalFrames, double sampleRate,
                  const std::string& where)
{
  double v = 0.0, frames = 0.0;
  if (EndsWith(text, "ms") && Number(text.substr(0, text.size() - 2), v))
    frames = v * sampleRate / 1000.0;
  else if (EndsWith(text, "s") && Number(text.substr(0, text.size() - 1), v))
    frames = v * sampleRate;
  else if (EndsWith(text, "%") && Number(text.substr(0, text.size() - 1), v))
    frames = v * static_cast<double>(totalFrames) / 100.0;
  else if (Number(text, v))
  {
    if (v != std::floor(v)) Fail(where + ": a sample index must be whole, not " + text);
    frames = v;
  }
  else
    Fail(where + ": \"" + text + "\" is no time (a sample index, \"2.5s\", \"250ms\" or \"50%\")");
  if (v < 0) Fail(where + ": time " + text + " is before the start");
  if (frames > 9.0e15) Fail(where + ": time " + text + " is too far");
  return std::llround(frames);
}

std::vector<AutomationLane> ParseAutomation(const std::string& text, const std::string& name,
                                            int64_t totalFrames, double sampleRate)
{
  using nlohmann::json;
  json doc;
  try
  {
    doc = json::parse(text);
  }
  catch (const json::parse_error& e)
  {
    // nlohmann's byte is one past the character it stopped at.
    size_t line, column;
    LineColumn(text, e.byte > 0 ? e.byte - 1 : 0, line, column);
    std::string why = e.what();
    const size_t colon = why.find(": ");
    if (colon != std::string::npos) why = why.substr(colon + 2);
    Fail(name + ":" + std::to_string(line) + ":" + std::to_string(column) + ": invalid JSON (" +
         why + ")");
  }
  if (!doc.is_object())
    Fail(name + ": automation must be an object keyed by parameter, like {\"Swap\": [...]}");

  std::vector<AutomationLane> lanes;
  for (auto it = doc.begin(); it != doc.end(); ++it)
  {
    AutomationLane lane;
    lane.key = it.key();
    const std::string at = name + ": \"" + lane.key + "\"";
    if (!it->is_array()) Fail(at + " must be an array of {\"at\": T, \"value\": V} points");
    size_t n = 0;
    for (const json& p : *it)
    {
      ++n;
      AutomationPoint point;
      point.where = at + " point " + std::to_string(n);
      if (!p.is_object() || !p.contains("at") || !p.contains("value"))
        Fail(point.where + ": needs \"at\" and \"value\"");
      for (auto f = p.begin(); f != p.end(); ++f)
        if (f.key() != "at" && f.key() != "value")
          Fail(point.where + ": unknown field \"" + f.key() + "\"");
      const json& t = p["at"];
      if (t.is_number_integer() || t.is_number_unsigned() || t.is_number_float())
        point.frame = ParseTime(t.dump(), totalFrames, sampleRate, point.where);
      else if (t.is_string())
        point.frame = ParseTime(t.get<std::string>(), totalFrames, sampleRate, point.where);
      else
        Fail(point.where + ": \"at\" must be a number or a text like \"2.5s\"");
      const json& v = p["value"];
      if (v.is_number())
        point.value.number = v.get<double>();
      else if (v.is_string())
      {
        point.value.isText = true;
        point.value.text = v.get<std::string>();
      }
      else if (v.is_boolean())
        point.value.number = v.get<bool>() ? 1.0 : 0.0;
      else
        Fail(point.where + ": \"value\" must be a number or a display text");
      lane.points.push_back(point);
    }
    std::stable_sort(lane.points.begin(), lane.points.end(),
                     [](const AutomationPoint& a, const AutomationPoint& b)
                     { return a.frame < b.frame; });
    lanes.push_back(std::move(lane));
  }
  return lanes;
}

std::vector<AutomationLane> LoadAutomation(const std::string& path, int64_t totalFrames,
                                           double sampleRate)
{
  RequireInputFile(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(path + ": " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  return ParseAutomation(text.str(), path, totalFrames, sampleRate);
}
} // namespace aaxtool

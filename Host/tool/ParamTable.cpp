#include "ParamTable.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace aaxtool
{
namespace
{
std::vector<std::pair<double, std::string>> Texts(const PluginInstance& plug, const ParamInfo& p)
{
  std::vector<std::pair<double, std::string>> out;
  const int points = !p.continuous && p.steps >= 2 ? std::min(p.steps, 64) : 5;
  for (int i = 0; i < points; ++i)
  {
    const double v = double(i) / double(points - 1);
    out.emplace_back(v, plug.Text(p.id, v));
  }
  return out;
}

std::string Num(double v)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}
} // namespace

nlohmann::json ParamsJSON(const PluginInstance& plug, bool withTexts)
{
  nlohmann::json out = nlohmann::json::array();
  for (const ParamInfo& p : plug.Params())
  {
    nlohmann::json j{{"id", p.id}, {"name", p.name}, {"value", p.value}, {"text", p.valueText}};
    if (withTexts)
    {
      j["default"] = p.defaultValue;
      j["default_text"] = plug.Text(p.id, p.defaultValue);
      j["type"] = p.continuous ? "continuous" : "discrete";
      j["steps"] = p.steps;
      j["automatable"] = p.automatable;
      nlohmann::json texts = nlohmann::json::array();
      for (const auto& t : Texts(plug, p))
        texts.push_back({{"value", t.first}, {"text", t.second}});
      j["texts"] = texts;
    }
    out.push_back(j);
  }
  return out;
}

void PrintParams(std::ostream& os, const PluginInstance& plug, bool withTexts)
{
  for (const ParamInfo& p : plug.Params())
  {
    os << p.id << "  \"" << p.name << "\"  " << p.valueText << " (" << Num(p.value) << ")";
    if (withTexts)
    {
      os << "  " << (p.continuous ? "continuous" : "discrete") << ", " << p.steps << " steps, "
         << "default " << plug.Text(p.id, p.defaultValue) << " (" << Num(p.defaultValue) << "), "
         << (p.automatable ? "automatable" : "not automatable") << ", texts:";
      for (const auto& t : Texts(plug, p))
        os << " " << Num(t.first) << "=" << t.second;
    }
    os << "\n";
  }
}
} // namespace aaxtool

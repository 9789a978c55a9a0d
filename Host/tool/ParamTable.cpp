#include "ParamTable.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace aaxtool
{
namespace
{
// Texts as normalised value and label.
std::vector<std::pair<double, std::string>> Texts(const HostedPlugin& plug, const PluginParam& p)
{
  std::vector<std::pair<double, std::string>> out;
  if (!p.texts.empty())
  {
    for (const auto& t : p.texts)
      out.emplace_back(p.max > p.min ? (t.first - p.min) / (p.max - p.min) : 0.0, t.second);
    return out;
  }
  const int points = p.kind != ParamKind::kContinuous && p.steps >= 2 ? std::min(p.steps, 64) : 5;
  for (int i = 0; i < points; ++i)
  {
    const double v = double(i) / double(points - 1);
    out.emplace_back(v, plug.Text(p.id, v));
  }
  return out;
}

const char* KindName(ParamKind k)
{
  switch (k)
  {
  case ParamKind::kContinuous:
    return "continuous";
  case ParamKind::kDiscrete:
    return "discrete";
  case ParamKind::kInteger:
    return "integer";
  case ParamKind::kToggle:
    return "toggle";
  case ParamKind::kEnumeration:
    return "enumeration";
  }
  return "?";
}

std::string Num(double v)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}
} // namespace

nlohmann::json ParamsJSON(const HostedPlugin& plug, bool withTexts)
{
  nlohmann::json out = nlohmann::json::array();
  for (const PluginParam& p : plug.Params())
  {
    nlohmann::json j{
        {"id", p.id}, {"name", p.name}, {"value", p.normalized}, {"text", p.valueText}};
    if (withTexts)
    {
      j["default"] = p.defaultNormalized;
      j["default_text"] = plug.Text(p.id, p.defaultNormalized);
      j["type"] = p.kind == ParamKind::kContinuous ? "continuous" : "discrete";
      j["kind"] = KindName(p.kind);
      j["steps"] = p.steps;
      j["automatable"] = p.automatable;
      nlohmann::json texts = nlohmann::json::array();
      for (const auto& t : Texts(plug, p))
        texts.push_back({{"value", t.first}, {"text", t.second}});
      j["texts"] = texts;
    }
    // A port's real values beside the normalised ones.
    if (!p.symbol.empty())
    {
      j["symbol"] = p.symbol;
      j["real_value"] = p.value;
      if (withTexts)
      {
        j["real_default"] = p.defaultValue;
        j["minimum"] = p.min;
        j["maximum"] = p.max;
      }
    }
    out.push_back(j);
  }
  return out;
}

void PrintParams(std::ostream& os, const HostedPlugin& plug, bool withTexts)
{
  for (const PluginParam& p : plug.Params())
  {
    os << p.id << "  \"" << p.name << "\"  " << p.valueText << " (" << Num(p.normalized) << ")";
    if (withTexts)
    {
      os << "  " << KindName(p.kind) << ", " << p.steps << " steps, "
         << "default " << plug.Text(p.id, p.defaultNormalized) << " (" << Num(p.defaultNormalized)
         << "), " << (p.automatable ? "automatable" : "not automatable");
      if (!p.symbol.empty()) os << ", range " << Num(p.min) << " to " << Num(p.max);
      os << ", texts:";
      for (const auto& t : Texts(plug, p))
        os << " " << Num(t.first) << "=" << t.second;
    }
    os << "\n";
  }
}
} // namespace aaxtool

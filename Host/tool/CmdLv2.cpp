// aaxhost describe and params for LV2 plug-ins: the ports with their ranges
// and scale points, presets, features and UIs, as lilv reads them.
#include "CmdLv2.h"

#include "Lv2Plugin.h"
#include "ToolError.h"

#include <lv2/ui/ui.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <iostream>

namespace aaxtool
{
namespace
{
using json = nlohmann::json;

std::string Kind(const Lv2Port& p)
{
  std::string k = p.input ? "input " : p.output ? "output " : "";
  k += p.audio ? "audio" : p.control ? "control" : p.cv ? "cv" : p.atom ? "atom" : "other";
  return k;
}

json PortJSON(const Lv2Port& p)
{
  json j = {{"index", p.index}, {"symbol", p.symbol}, {"name", p.name}, {"kind", Kind(p)}};
  if (p.control)
  {
    if (p.hasMin) j["minimum"] = p.min;
    if (p.hasMax) j["maximum"] = p.max;
    if (p.hasDef) j["default"] = p.def;
    json props = json::array();
    if (p.integer) props.push_back("integer");
    if (p.toggled) props.push_back("toggled");
    if (p.enumeration) props.push_back("enumeration");
    if (p.logarithmic) props.push_back("logarithmic");
    if (p.latency) props.push_back("latency");
    j["properties"] = props;
    json points = json::array();
    for (const auto& sp : p.scalePoints)
      points.push_back({{"value", sp.first}, {"label", sp.second}});
    j["scale_points"] = points;
  }
  if (p.optional) j["connection_optional"] = true;
  return j;
}

json Uis(const Lv2World& w)
{
  json out = json::array();
  LilvUIs* uis = lilv_plugin_get_uis(w.Plugin());
  LILV_FOREACH(uis, i, uis)
  {
    const LilvUI* ui = lilv_uis_get(uis, i);
    json types = json::array();
    const LilvNodes* classes = lilv_ui_get_classes(ui);
    LILV_FOREACH(nodes, k, classes)
    types.push_back(lilv_node_as_string(lilv_nodes_get(classes, k)));
    char* bin = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
    out.push_back({{"uri", lilv_node_as_string(lilv_ui_get_uri(ui))},
                   {"types", types},
                   {"binary", bin ? bin : ""}});
    lilv_free(bin);
  }
  lilv_uis_free(uis);
  return out;
}

json Describe(Lv2World& w)
{
  json ports = json::array();
  for (const Lv2Port& p : w.Ports())
    ports.push_back(PortJSON(p));
  return {{"uri", w.Uri()},
          {"name", w.Name()},
          {"binary", w.BinaryPath()},
          {"audio_inputs", w.AudioIns()},
          {"audio_outputs", w.AudioOuts()},
          {"required_features", w.RequiredFeatures()},
          {"optional_features", w.OptionalFeatures()},
          {"missing_feature", Lv2MissingFeature(w)},
          {"ports", ports},
          {"presets", w.Presets()},
          {"uis", Uis(w)}};
}
} // namespace

int RunDescribeLv2(const DescribeOptions& o)
{
  Lv2World w(o.bundle);
  const json d = Describe(w);
  if (o.json)
  {
    std::cout << d.dump(2) << "\n";
    return kExitOK;
  }
  std::cout << "plug-in " << w.Uri() << "\nname " << w.Name() << "\nbinary " << w.BinaryPath()
            << "\naudio " << w.AudioIns() << " in, " << w.AudioOuts() << " out\n";
  for (const char* key : {"required_features", "optional_features"})
    for (const auto& f : d[key])
      std::cout << (key[0] == 'r' ? "requires " : "optional ") << f.get<std::string>() << "\n";
  if (!d["missing_feature"].get<std::string>().empty())
    std::cout << "cannot be hosted: requires " << d["missing_feature"].get<std::string>()
              << ", which the tool does not offer\n";
  for (const Lv2Port& p : w.Ports())
  {
    std::cout << "port " << p.index << " " << p.symbol << " \"" << p.name << "\" " << Kind(p);
    if (p.control) std::cout << " [" << p.min << ", " << p.max << "] default " << p.def;
    std::cout << "\n";
    for (const auto& sp : p.scalePoints)
      std::cout << "  " << sp.first << " = " << sp.second << "\n";
  }
  for (const auto& pr : d["presets"])
    std::cout << "preset " << pr.get<std::string>() << "\n";
  for (const auto& ui : d["uis"])
    std::cout << "ui " << ui["uri"].get<std::string>() << " " << ui["types"].dump() << "\n";
  return kExitOK;
}

int RunParamsLv2(const ParamsOptions& o)
{
  Lv2World w(o.bundle);
  std::map<std::string, float> set;
  for (const std::string& a : o.params)
  {
    const size_t eq = a.find('=');
    if (eq == std::string::npos) Usage("--param " + a + ": expected SYMBOL=VALUE");
    const std::string sym = a.substr(0, eq), text = a.substr(eq + 1);
    bool known = false;
    for (const Lv2Port& p : w.Ports())
      known = known || (p.control && p.input && p.symbol == sym);
    if (!known) Usage("--param " + a + ": no input control port \"" + sym + "\"");
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    if (text.empty() || *end) Usage("--param " + a + ": \"" + text + "\" is not a number");
    set[sym] = v;
  }
  json out = json::array();
  for (const Lv2Port& p : w.Ports())
  {
    if (!p.control || !p.input) continue;
    const float v = set.count(p.symbol) ? set[p.symbol] : p.def;
    if (o.json)
    {
      json j = PortJSON(p);
      j["value"] = v;
      out.push_back(j);
    }
    else
      std::cout << p.symbol << " = " << v << "  (" << p.name << ", " << p.min << " to " << p.max
                << ")\n";
  }
  if (o.json) std::cout << out.dump(2) << "\n";
  return kExitOK;
}
} // namespace aaxtool

// aaxhost params and aaxhost state: the parameter list of a fresh instance,
// and states saved from, shown in and loaded into one (AAX: chunk files;
// LV2: state folders).

#include "Commands.h"
#include "HostedPlugin.h"
#include "ParamTable.h"
#include "ToolError.h"

#include <iostream>

namespace aaxtool
{
namespace
{
// Instances that only answer questions still get a realistic rate.
constexpr double kQuerySampleRate = 48000.0;

nlohmann::json StateJSON(const std::string& file, const StateSummary& s, const HostedPlugin& plug)
{
  nlohmann::json out{{"file", file}, {"parameters", ParamsJSON(plug, false)}};
  for (const StateField& f : s.fields)
    out[f.key] = f.number ? nlohmann::json::parse(f.value) : nlohmann::json(f.value);
  return out;
}
} // namespace

int RunParams(const ParamsOptions& o)
{
  const std::unique_ptr<PluginType> type = OpenPlugin(o.bundle);
  const std::unique_ptr<HostedPlugin> plug = type->NewInstance(kQuerySampleRate, 512);
  for (const std::string& a : o.params)
    plug->ApplyAssignment(a);
  if (o.json)
    std::cout << ParamsJSON(*plug, true).dump(2) << "\n";
  else
    PrintParams(std::cout, *plug, true);
  return kExitOK;
}

int RunState(const StateOptions& o)
{
  const std::unique_ptr<PluginType> type = OpenPlugin(o.bundle);
  const bool save = o.action == "save";
  type->CheckStatePath(o.file, save, "state " + o.action);
  const std::unique_ptr<HostedPlugin> plug = type->NewInstance(kQuerySampleRate, 512);
  if (save)
  {
    for (const std::string& a : o.params)
      plug->ApplyAssignment(a);
    plug->SaveState(o.file);
  }
  else
    plug->LoadState(o.file);
  const StateSummary summary = plug->SummariseState(o.file);
  if (o.json)
  {
    std::cout << StateJSON(o.file, summary, *plug).dump(2) << "\n";
    return kExitOK;
  }
  std::cout << o.file << ": " << summary.text
            << (save                 ? ", saved:"
                : o.action == "load" ? ", restored:"
                                     : ", holds:")
            << "\n";
  PrintParams(std::cout, *plug, false);
  return kExitOK;
}
} // namespace aaxtool

// aaxhost describe: everything the module's registration described, its SDK
// version, and whether it unloads cleanly once the host lets go.

#include "CmdLv2.h"
#include "Lv2Plugin.h"
#include "Commands.h"
#include "Plugin.h"
#include "ToolError.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>

namespace aaxtool
{
namespace
{
using nlohmann::json;

std::string Hex(uint64_t v, int digits)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%0*llx", digits, static_cast<unsigned long long>(v));
  return buf;
}

json Properties(const aaxhost::DescribedProperties& p)
{
  json out = json::array();
  for (const auto& v : p.values)
  {
    json item{{"id", v.first}, {"value", v.second}};
    const std::string name = aaxhost::PropertyName(v.first);
    if (!name.empty()) item["name"] = name;
    if (aaxhost::IsFourCCProperty(v.first)) item["fourcc"] = aaxhost::FourCC(uint32_t(v.second));
    if (v.first == AAX_eProperty_InputStemFormat || v.first == AAX_eProperty_OutputStemFormat)
      item["stem_format"] = aaxhost::StemFormatText(v.second);
    out.push_back(item);
  }
  for (const auto& a : p.idArrays)
  {
    json triads = json::array();
    for (const AAX_SPlugInIdentifierTriad& t : a.second)
      triads.push_back({aaxhost::FourCC(t.mManufacturerID), aaxhost::FourCC(t.mProductID),
                        aaxhost::FourCC(t.mPlugInID)});
    json item{{"id", a.first}, {"identifiers", triads}};
    if (!aaxhost::PropertyName(a.first).empty()) item["name"] = aaxhost::PropertyName(a.first);
    out.push_back(item);
  }
  for (const auto& q : p.pointers)
  {
    json item{{"id", q.first}, {"pointer", q.second != nullptr}};
    if (!aaxhost::PropertyName(q.first).empty()) item["name"] = aaxhost::PropertyName(q.first);
    out.push_back(item);
  }
  return out;
}

json Field(const aaxhost::DescribedField& f)
{
  json out{{"index", f.index}, {"kind", f.kind}, {"arguments", f.numbers}};
  if (!f.name.empty()) out["name"] = f.name;
  if (!f.meterIDs.empty())
  {
    out["meters"] = json::array();
    for (AAX_CTypeID m : f.meterIDs)
      out["meters"].push_back(aaxhost::FourCC(m));
  }
  return out;
}

std::string Stem(int32_t stem)
{
  const uint32_t s = static_cast<uint32_t>(stem);
  return Hex(s, 8) + " (" + aaxhost::StemFormatText(stem) + ")";
}

json Describe(const aaxhost::Description& d)
{
  json effects = json::array();
  for (const aaxhost::DescribedEffect& e : d.effects)
  {
    json components = json::array();
    for (const aaxhost::DescribedComponent& c : e.components)
    {
      json fields = json::array(), procs = json::array();
      for (const aaxhost::DescribedField& f : c.fields)
        fields.push_back(Field(f));
      for (const aaxhost::DescribedProcessProc& p : c.processProcs)
      {
        json proc{{"id", p.id}, {"native", p.native}, {"properties", Properties(p.properties)}};
        if (p.properties.Has(AAX_eProperty_InputStemFormat))
          proc["input_stem_format"] = Stem(p.properties.Value(AAX_eProperty_InputStemFormat));
        if (p.properties.Has(AAX_eProperty_OutputStemFormat))
          proc["output_stem_format"] = Stem(p.properties.Value(AAX_eProperty_OutputStemFormat));
        for (auto [key, id] : {std::pair<const char*, AAX_EProperty>{"manufacturer_id",
                                                                     AAX_eProperty_ManufacturerID},
                               {"product_id", AAX_eProperty_ProductID},
                               {"plugin_id", AAX_eProperty_PlugInID_Native}})
          if (p.properties.Has(id)) proc[key] = aaxhost::FourCC(uint32_t(p.properties.Value(id)));
        if (!p.native)
          proc["ti"] = {p.tiDLLFileName, p.tiProcess, p.tiInstanceInit, p.tiBackground};
        procs.push_back(proc);
      }
      components.push_back({{"fields", fields}, {"process_procedures", procs}});
    }
    json creation = json::array();
    for (const auto& p : e.procPtrs)
      creation.push_back(p.first);
    json meters = json::array();
    for (const aaxhost::DescribedMeter& m : e.meters)
      meters.push_back({{"id", aaxhost::FourCC(m.id)},
                        {"name", m.name},
                        {"properties", Properties(m.properties)}});
    json resources = json::array();
    for (const auto& r : e.resources)
      resources.push_back({{"type", r.first}, {"name", r.second}});
    effects.push_back({{"id", e.id},
                       {"names", e.names},
                       {"categories", e.categories},
                       {"creation_procedures", creation},
                       {"properties", Properties(e.properties)},
                       {"resources", resources},
                       {"meters", meters},
                       {"components", components}});
  }
  json out{{"manufacturer", d.manufacturerNames},
           {"package", d.packageNames},
           {"properties", Properties(d.properties)},
           {"effects", effects}};
  if (d.hasPackageVersion) out["package_version"] = Hex(d.packageVersion, 8);
  return out;
}
} // namespace

int RunDescribe(const DescribeOptions& o)
{
  if (IsLv2Target(o.bundle)) return RunDescribeLv2(o);
  LoadedModule module(o.bundle);
  acfUInt64 sdk = 0;
  module.Module().EntryPoints().getSDKVersion(&sdk);
  const aaxhost::Description description = module.Description();
  const aaxhost::ModuleResult unload = module.Unload();
  const ACFRESULT live = unload.ok() ? 0 : module.Module().CanUnloadNow();
  if (o.json)
  {
    json out = Describe(description);
    out["bundle"] = o.bundle;
    out["sdk_version"] = Hex(sdk, 16);
    out["unloaded"] = unload.ok();
    out["live_objects_after_release"] = live;
    if (!unload.ok()) out["unload_message"] = unload.message;
    std::cout << out.dump(2) << "\n";
  }
  else
  {
    std::cout << "bundle " << o.bundle << "\n";
    std::cout << "sdk version " << Hex(sdk, 16) << "\n";
    std::cout << "audio " << module.Inputs() << " in, " << module.Outputs() << " out\n";
    aaxhost::Print(std::cout, description);
    if (unload.ok())
      std::cout << "unloaded cleanly (no live objects after release)\n";
    else
      std::cout << "did not unload: " << unload.message << "\n";
  }
  return unload.ok() ? kExitOK : kExitFailure;
}
} // namespace aaxtool

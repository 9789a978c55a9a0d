#include "AaxDriver.h"

#include "AAX_DescriptionTypes.h"
#include "AaxEditor.h"
#include "Paths.h"
#include "Plugin.h"
#include "ToolError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <ostream>

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

json DescriptionJSON(const aaxhost::Description& d)
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

class AaxPlugin final : public HostedPlugin
{
public:
  AaxPlugin(const LoadedModule& module, double sampleRate, int maxFrames)
      : mModule(module), mPlug(module, sampleRate, maxFrames)
  {
    // The stand-in host records every call for tests; a long render would
    // grow those records by megabytes for nothing.
    mPlug.Host().Controller()->Calls().SetEnabled(false);
    mPlug.Host().Transport()->Calls().SetEnabled(false);
    mPlug.Host().Automation()->Calls().SetEnabled(false);
  }

  std::vector<PluginParam> Params() const override
  {
    std::vector<PluginParam> out;
    for (const ParamInfo& i : mPlug.Params())
    {
      PluginParam p;
      p.id = i.id;
      p.name = i.name;
      p.kind = i.continuous ? ParamKind::kContinuous : ParamKind::kDiscrete;
      p.steps = i.continuous ? 0 : i.steps;
      p.automatable = i.automatable;
      p.value = p.normalized = i.value;
      p.defaultValue = p.defaultNormalized = i.defaultValue;
      p.valueText = i.valueText;
      // Every step of a discrete parameter, as far as a listing stays readable.
      if (!i.continuous && i.steps >= 2)
        for (int32_t s = 0, n = std::min(i.steps, 64); s < n; ++s)
        {
          const double v = double(s) / double(n - 1);
          p.texts.emplace_back(v, mPlug.Text(i.id, v));
        }
      out.push_back(std::move(p));
    }
    return out;
  }
  std::string Resolve(const std::string& key) const override { return mPlug.Resolve(key); }
  double ParseValue(const std::string& id, const ValueSpec& value,
                    const std::string& where) const override
  {
    return mPlug.ParseValue(id, value, where);
  }
  std::string Text(const std::string& id, double normalized) const override
  {
    return mPlug.Text(id, normalized);
  }
  void Set(const std::string& id, double normalized) override { mPlug.Update(id, normalized); }

  std::vector<std::string> Presets() const override { return {}; }
  void ApplyPreset(const std::string& key) override
  {
    Usage("preset \"" + key +
          "\": an AAX module offers no presets to the host (set its "
          "parameters with --param, or restore a chunk file with --state)");
  }

  int32_t Latency() const override { return mPlug.Latency(); }
  void Render(float** inputs, float** outputs, int32_t frames) override
  {
    mPlug.Render(inputs, outputs, frames);
  }

  void SaveState(const std::string& path) const override { SaveChunkFile(path, mPlug.SaveChunk()); }
  void LoadState(const std::string& path) override { mPlug.LoadChunk(LoadChunkFile(path), path); }
  StateSummary SummariseState(const std::string& path) const override
  {
    const ChunkFile chunk = LoadChunkFile(path);
    StateSummary s;
    const std::string id = aaxhost::FourCC(chunk.chunkID);
    s.text = "chunk '" + id + "' version " + std::to_string(chunk.version) + ", " +
             std::to_string(chunk.data.size()) + " bytes";
    s.fields = {{"chunk", id, false},
                {"version", std::to_string(chunk.version), true},
                {"bytes", std::to_string(chunk.data.size()), true}};
    return s;
  }

  void ShowEditor(const EditorRun& run, std::ostream& out) override
  {
    ShowAaxEditor(mModule, mPlug, run, out);
  }

private:
  const LoadedModule& mModule;
  PluginInstance mPlug;
};

class AaxType final : public PluginType
{
public:
  explicit AaxType(const std::string& bundle) : mModule(bundle) {}

  const char* Format() const override { return "AAX"; }
  std::string Name() const override
  {
    // A name per display length: the longest is the whole name.
    std::string best;
    for (const std::string& n : mModule.Effect().names)
      if (n.size() > best.size()) best = n;
    return best;
  }
  std::string Location() const override { return mModule.Path(); }
  int Inputs() const override { return mModule.Inputs(); }
  int Outputs() const override { return mModule.Outputs(); }
  bool HasEditor() const override { return mModule.CreateEditor() != nullptr; }
  std::unique_ptr<HostedPlugin> NewInstance(double sampleRate, int maxFrames) const override
  {
    return std::make_unique<AaxPlugin>(mModule, sampleRate, maxFrames);
  }

  int Describe(std::ostream& os, bool asJson) override
  {
    acfUInt64 sdk = 0;
    mModule.Module().EntryPoints().getSDKVersion(&sdk);
    const aaxhost::Description description = mModule.Description();
    const aaxhost::ModuleResult unload = mModule.Unload();
    const ACFRESULT live = unload.ok() ? 0 : mModule.Module().CanUnloadNow();
    if (asJson)
    {
      json out = DescriptionJSON(description);
      out["bundle"] = mModule.Path();
      out["sdk_version"] = Hex(sdk, 16);
      out["unloaded"] = unload.ok();
      out["live_objects_after_release"] = live;
      if (!unload.ok()) out["unload_message"] = unload.message;
      os << out.dump(2) << "\n";
    }
    else
    {
      os << "bundle " << mModule.Path() << "\n";
      os << "sdk version " << Hex(sdk, 16) << "\n";
      os << "audio " << mModule.Inputs() << " in, " << mModule.Outputs() << " out\n";
      aaxhost::Print(os, description);
      if (unload.ok())
        os << "unloaded cleanly (no live objects after release)\n";
      else
        os << "did not unload: " << unload.message << "\n";
    }
    return unload.ok() ? kExitOK : kExitFailure;
  }

  void CheckStatePath(const std::string& path, bool save, const std::string& option) const override
  {
    if (save)
      RequireOutputName(path, option);
    else
      RequireInputFile(path);
  }

private:
  LoadedModule mModule;
};
} // namespace

std::unique_ptr<PluginType> OpenAax(const std::string& bundle)
{
  return std::make_unique<AaxType>(bundle);
}
} // namespace aaxtool

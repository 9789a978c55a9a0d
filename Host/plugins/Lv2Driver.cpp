#include "Lv2Driver.h"

#include "Lv2Plugin.h"
#include "Lv2StateDir.h"
#include "Lv2UiSnapshot.h"
#include "Text.h"
#include "ToolError.h"

#include <lv2/core/lv2.h>
#include <nlohmann/json.hpp>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <ostream>

namespace aaxtool
{
namespace
{
using nlohmann::json;


std::string Num(double v)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

bool IsParam(const Lv2Port& p) { return p.control && p.input; }

ParamKind Kind(const Lv2Port& p)
{
  if (p.toggled) return ParamKind::kToggle;
  if (p.enumeration) return ParamKind::kEnumeration;
  if (p.integer) return ParamKind::kInteger;
  return ParamKind::kContinuous;
}

double ToNormalized(const Lv2Port& p, double v)
{
  if (!(p.max > p.min)) return 0.0;
  return std::clamp((v - p.min) / (double(p.max) - p.min), 0.0, 1.0);
}

// Stepped ports take the step nearest the normalised value: a toggle its
// minimum below one half and its maximum from there, as AAX's two-step
// parameters do; an enumeration the nearest scale point.
float FromNormalized(const Lv2Port& p, double n)
{
  n = std::clamp(n, 0.0, 1.0);
  const double v = p.min + n * (double(p.max) - p.min);
  switch (Kind(p))
  {
  case ParamKind::kToggle:
    return n >= 0.5 ? p.max : p.min;
  case ParamKind::kEnumeration:
    if (!p.scalePoints.empty())
    {
      float best = p.scalePoints.front().first;
      for (const auto& sp : p.scalePoints)
        if (std::fabs(sp.first - v) < std::fabs(best - v)) best = sp.first;
      return best;
    }
    return static_cast<float>(std::round(v));
  case ParamKind::kInteger:
    return static_cast<float>(std::round(v));
  default:
    return static_cast<float>(v);
  }
}

int32_t Steps(const Lv2Port& p)
{
  switch (Kind(p))
  {
  case ParamKind::kToggle:
    return 2;
  case ParamKind::kEnumeration:
    if (!p.scalePoints.empty()) return static_cast<int32_t>(p.scalePoints.size());
    [[fallthrough]];
  case ParamKind::kInteger:
  {
    const double n = std::floor(double(p.max)) - std::ceil(double(p.min)) + 1;
    return n >= 2 && n <= 1 << 20 ? static_cast<int32_t>(n) : 0;
  }
  default:
    return 0;
  }
}

std::string PortText(const Lv2Port& p, float v)
{
  for (const auto& sp : p.scalePoints)
    if (sp.first == v) return sp.second;
  return Num(v);
}

std::string PortKind(const Lv2Port& p)
{
  std::string k = p.input ? "input " : p.output ? "output " : "";
  k += p.audio ? "audio" : p.control ? "control" : p.cv ? "cv" : p.atom ? "atom" : "other";
  return k;
}

std::vector<std::string> PortProperties(const Lv2Port& p)
{
  std::vector<std::string> out;
  if (p.integer) out.push_back("integer");
  if (p.toggled) out.push_back("toggled");
  if (p.enumeration) out.push_back("enumeration");
  if (p.logarithmic) out.push_back("logarithmic");
  if (p.latency) out.push_back("latency");
  return out;
}

json PortJSON(const Lv2Port& p)
{
  json j = {{"index", p.index}, {"symbol", p.symbol}, {"name", p.name}, {"kind", PortKind(p)}};
  if (p.control)
  {
    if (p.hasMin) j["minimum"] = p.min;
    if (p.hasMax) j["maximum"] = p.max;
    if (p.hasDef) j["default"] = p.def;
    j["properties"] = PortProperties(p);
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

// The presets' URIs and labels (a preset without a label is named by its URI).
std::vector<std::pair<std::string, std::string>> PresetLabels(Lv2World& w)
{
  std::vector<std::pair<std::string, std::string>> out;
  LilvNode* label = lilv_new_uri(w.World(), "http://www.w3.org/2000/01/rdf-schema#label");
  for (const std::string& uri : w.Presets())
  {
    LilvNode* node = lilv_new_uri(w.World(), uri.c_str());
    LilvNode* l = lilv_world_get(w.World(), node, label, nullptr);
    out.emplace_back(uri, l ? lilv_node_as_string(l) : uri);
    lilv_node_free(l);
    lilv_node_free(node);
  }
  lilv_node_free(label);
  return out;
}

class Lv2Hosted final : public HostedPlugin
{
public:
  Lv2Hosted(Lv2World& w, std::mutex& lilvMutex, double rate, int maxFrames)
      : mWorld(w), mLilvMutex(lilvMutex)
  {
    {
      const std::lock_guard<std::mutex> lock(mLilvMutex);
      mInst = std::make_unique<Lv2Instance>(w, rate, maxFrames);
    }
    if (!mInst->Ok())
      Fail(w.Uri() + ": the plug-in refused to instantiate at " + Num(rate) + " Hz");
    for (const Lv2Port& p : w.Ports())
      if (IsParam(p)) mParams.push_back(&p);
    // lilv knows both ways a port reports latency: the designation and the
    // older port property.
    if (lilv_plugin_has_latency(w.Plugin()))
    {
      const uint32_t index = lilv_plugin_get_latency_port_index(w.Plugin());
      if (index < w.Ports().size() && w.Ports()[index].control && w.Ports()[index].output)
        mLatency = &w.Ports()[index];
    }
    const size_t frames = static_cast<size_t>(std::max(maxFrames, 1));
    mScratch.assign(static_cast<size_t>(w.AudioIns() + w.AudioOuts()),
                    std::vector<float>(frames, 0.0f));
    for (auto& b : mScratch)
      mScratchPtrs.push_back(b.data());
    mInst->Activate();
  }
  ~Lv2Hosted() override
  {
    const std::lock_guard<std::mutex> lock(mLilvMutex);
    mInst.reset();
  }

  std::vector<PluginParam> Params() const override
  {
    std::vector<PluginParam> out;
    for (const Lv2Port* port : mParams)
    {
      const Lv2Port& p = *port;
      PluginParam q;
      q.id = q.symbol = p.symbol;
      q.name = p.name;
      q.kind = Kind(p);
      q.steps = Steps(p);
      q.min = p.min;
      q.max = p.max;
      q.defaultValue = p.def;
      q.value = mInst->Control(p.index);
      q.normalized = ToNormalized(p, q.value);
      q.defaultNormalized = ToNormalized(p, q.defaultValue);
      q.valueText = PortText(p, static_cast<float>(q.value));
      for (const auto& sp : p.scalePoints)
        q.texts.emplace_back(sp.first, sp.second);
      // lilv gives scale points in no particular order.
      std::stable_sort(q.texts.begin(), q.texts.end(),
                       [](const auto& x, const auto& y) { return x.first < y.first; });
      out.push_back(std::move(q));
    }
    return out;
  }

  std::string Resolve(const std::string& key) const override
  {
    for (const Lv2Port* p : mParams)
      if (p->symbol == key) return p->symbol;
    for (const Lv2Port* p : mParams)
      if (p->name == key) return p->symbol;
    std::vector<const Lv2Port*> folded;
    for (const Lv2Port* p : mParams)
      if (SameLetters(p->symbol, key) || SameLetters(p->name, key)) folded.push_back(p);
    if (folded.size() == 1) return folded.front()->symbol;
    if (folded.size() > 1)
      Usage("parameter \"" + key + "\" is ambiguous: " + folded[0]->symbol + " (" +
            folded[0]->name + ") and " + folded[1]->symbol + " (" + folded[1]->name +
            ") differ only in case");
    std::string known;
    for (const Lv2Port* p : mParams)
      known += (known.empty() ? "" : ", ") + p->symbol + " (" + p->name + ")";
    Usage("unknown parameter \"" + key + "\" (this plug-in has " +
          (known.empty() ? std::string("none") : known) + ")");
  }

  double ParseValue(const std::string& id, const ValueSpec& value,
                    const std::string& where) const override
  {
    const Lv2Port& p = Port(id);
    double v = value.number;
    if (value.isText && !IsNumber(value.text, v))
    {
      const std::pair<float, std::string>* found = nullptr;
      int folded = 0;
      for (const auto& sp : p.scalePoints)
      {
        if (sp.second == value.text) return ToNormalized(p, sp.first);
        if (SameLetters(sp.second, value.text))
        {
          found = &sp;
          ++folded;
        }
      }
      if (folded == 1) return ToNormalized(p, found->first);
      Usage(where + ": \"" + value.text + "\" is no value of parameter " + id + " (give " +
            (p.scalePoints.empty()
                 ? std::string()
                 : "a scale point such as \"" + p.scalePoints.front().second + "\" or ") +
            "a number from 0 to 1, normalised over " + Num(p.min) + " to " + Num(p.max) + ")");
    }
    if (!(v >= 0.0 && v <= 1.0))
      Usage(where + ": value " + Num(v) + " of parameter " + id +
            " is outside 0..1 (normalised: 0 is " + Num(p.min) + ", 1 is " + Num(p.max) + ")");
    return v;
  }

  std::string Text(const std::string& id, double normalized) const override
  {
    const Lv2Port& p = Port(id);
    return PortText(p, FromNormalized(p, normalized));
  }

  void Set(const std::string& id, double normalized) override
  {
    const Lv2Port& p = Port(id);
    mInst->Control(p.index) = FromNormalized(p, normalized);
  }

  std::vector<std::string> Presets() const override
  {
    const std::lock_guard<std::mutex> lock(mLilvMutex);
    std::vector<std::string> out;
    for (const auto& pr : PresetLabels(mWorld))
      out.push_back(pr.second);
    return out;
  }

  void ApplyPreset(const std::string& key) override
  {
    const std::lock_guard<std::mutex> lock(mLilvMutex);
    const auto presets = PresetLabels(mWorld);
    const std::pair<std::string, std::string>* hit = nullptr;
    for (const auto& pr : presets)
      if (!hit && (pr.first == key || pr.second == key)) hit = &pr;
    if (!hit)
    {
      int folded = 0;
      for (const auto& pr : presets)
        if (SameLetters(pr.second, key)) hit = &pr, ++folded;
      if (folded != 1) hit = nullptr;
    }
    if (!hit)
    {
      std::string names;
      for (const auto& pr : presets)
        names += (names.empty() ? "\"" : ", \"") + pr.second + "\"";
      Usage("preset \"" + key + "\": no such preset of " + mWorld.Uri() + " (it has " +
            (names.empty() ? std::string("none") : names) + ")");
    }
    std::string why;
    if (!mInst->ApplyPreset(hit->first, &why))
      Fail("preset \"" + hit->second + "\" (" + hit->first + "): " + why);
  }

  int32_t Latency() const override
  {
    if (!mLatency) return 0;
    // The port holds the latency only after a run; a run of no frames
    // fills it without touching the audio.
    if (!mRan)
    {
      const size_t ins = static_cast<size_t>(mWorld.AudioIns());
      mInst->Run(mScratchPtrs.data(), mScratchPtrs.data() + ins, 0);
      mRan = true;
    }
    const float v = mInst->Control(mLatency->index);
    return std::isfinite(v) && v > 0 ? static_cast<int32_t>(std::lround(v)) : 0;
  }

  void Render(float** inputs, float** outputs, int32_t frames) override
  {
    mInst->Run(inputs, outputs, static_cast<uint32_t>(frames));
    mRan = true;
  }

  void SaveState(const std::string& path) const override
  {
    const std::lock_guard<std::mutex> lock(mLilvMutex);
    SaveLv2StateDir(mWorld, *mInst, path);
  }
  void LoadState(const std::string& path) override
  {
    const std::lock_guard<std::mutex> lock(mLilvMutex);
    LoadLv2StateDir(mWorld, *mInst, path);
  }
  StateSummary SummariseState(const std::string& path) const override
  {
    std::vector<std::string> files;
    if (DIR* d = opendir(path.c_str()))
    {
      while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') files.push_back(e->d_name);
      closedir(d);
    }
    else
      Fail(path + ": " + std::strerror(errno));
    std::sort(files.begin(), files.end());
    std::string list;
    for (const std::string& f : files)
      list += (list.empty() ? "" : ", ") + f;
    StateSummary s;
    s.text = "LV2 state folder, " + std::to_string(files.size()) + " file" +
             (files.size() == 1 ? "" : "s") + " (" + list + ")";
    s.fields = {{"files", std::to_string(files.size()), true}};
    return s;
  }

  void ShowEditor(const EditorRun& run, std::ostream& out) override
  {
    // An LV2 UI is drawn once into a PNG (Lv2UiSnapshot); clicks and a
    // window left open are the AAX editor's alone so far.
    if (!run.clicks.empty() || run.interactive)
      Usage(std::string("editor ") + (run.interactive ? "--interactive" : "--click") +
            ": LV2 editors support --snapshot only (set values with --param)");
    const std::lock_guard<std::mutex> lock(mLilvMutex);
    SnapshotLv2Ui(mWorld, *mInst, run.snapshot);
    out << run.snapshot << ": UI snapshot of " << mWorld.Uri() << "\n";
  }

private:
  const Lv2Port& Port(const std::string& id) const
  {
    for (const Lv2Port* p : mParams)
      if (p->symbol == id) return *p;
    Usage("unknown parameter \"" + id + "\"");
  }

  Lv2World& mWorld;
  std::mutex& mLilvMutex;
  std::unique_ptr<Lv2Instance> mInst;
  std::vector<const Lv2Port*> mParams;
  const Lv2Port* mLatency = nullptr;
  // Audio for the run that fills the latency port before the first render.
  std::vector<std::vector<float>> mScratch;
  std::vector<float*> mScratchPtrs;
  mutable bool mRan = false;
};

class Lv2Type final : public PluginType
{
public:
  explicit Lv2Type(const std::string& target) : mWorld(*new Lv2World(target)) {}
  ~Lv2Type() override
  {
    // Freeing a world of every installed bundle takes milliseconds, which a
    // process about to end need not spend: the tool leaves its worlds to the
    // end of the process, still reachable, so leak checkers stay quiet.
    if (gLeaveWorlds)
      Leftovers().push_back(&mWorld);
    else
      delete &mWorld;
  }
  Lv2Type(const Lv2Type&) = delete;
  Lv2Type& operator=(const Lv2Type&) = delete;

  const char* Format() const override { return "LV2"; }
  std::string Name() const override { return mWorld.Name(); }
  std::string Location() const override { return mWorld.Uri(); }
  int Inputs() const override { return mWorld.AudioIns(); }
  int Outputs() const override { return mWorld.AudioOuts(); }
  bool HasEditor() const override
  {
    LilvUIs* uis = lilv_plugin_get_uis(mWorld.Plugin());
    const bool any = uis && lilv_uis_size(uis) > 0;
    lilv_uis_free(uis);
    return any;
  }
  std::unique_ptr<HostedPlugin> NewInstance(double sampleRate, int maxFrames) const override
  {
    const std::string missing = Lv2MissingFeature(mWorld);
    if (!missing.empty())
      Fail(mWorld.Uri() + ": requires " + missing + ", which the tool does not offer");
    return std::make_unique<Lv2Hosted>(mWorld, mLilvMutex, sampleRate, maxFrames);
  }

  int Describe(std::ostream& os, bool asJson) override
  {
    Lv2World& w = mWorld;
    json ports = json::array();
    for (const Lv2Port& p : w.Ports())
      ports.push_back(PortJSON(p));
    const json d = {{"uri", w.Uri()},
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
    if (asJson)
    {
      os << d.dump(2) << "\n";
      return kExitOK;
    }
    os << "plug-in " << w.Uri() << "\nname " << w.Name() << "\nbinary " << w.BinaryPath()
       << "\naudio " << w.AudioIns() << " in, " << w.AudioOuts() << " out\n";
    for (const char* key : {"required_features", "optional_features"})
      for (const auto& f : d[key])
        os << (key[0] == 'r' ? "requires " : "optional ") << f.get<std::string>() << "\n";
    if (!d["missing_feature"].get<std::string>().empty())
      os << "cannot be hosted: requires " << d["missing_feature"].get<std::string>()
         << ", which the tool does not offer\n";
    for (const Lv2Port& p : w.Ports())
    {
      os << "port " << p.index << " " << p.symbol << " \"" << p.name << "\" " << PortKind(p);
      if (p.control)
      {
        os << " [" << (p.hasMin ? Num(p.min) : "?") << ", " << (p.hasMax ? Num(p.max) : "?") << "]";
        if (p.hasDef) os << " default " << Num(p.def);
        for (const std::string& prop : PortProperties(p))
          os << " " << prop;
      }
      if (p.optional) os << " connection-optional";
      os << "\n";
      for (const auto& sp : p.scalePoints)
        os << "  " << Num(sp.first) << " = " << sp.second << "\n";
    }
    for (const auto& pr : PresetLabels(w))
      os << "preset " << pr.first << " \"" << pr.second << "\"\n";
    for (const auto& ui : d["uis"])
      os << "ui " << ui["uri"].get<std::string>() << " " << ui["types"].dump() << " "
         << ui["binary"].get<std::string>() << "\n";
    return kExitOK;
  }

  void CheckStatePath(const std::string& path, bool save, const std::string& option) const override
  {
    struct stat st;
    const bool exists = stat(path.c_str(), &st) == 0;
    if (save && exists && !S_ISDIR(st.st_mode))
      Usage(option + " " + path + ": is a file; an LV2 state is a folder (give a folder name)");
    if (!save && !exists) Fail(path + ": " + std::strerror(errno));
    if (!save && !S_ISDIR(st.st_mode))
      Fail(path + ": not a folder; an LV2 state is a folder as jalv and aaxhost save it");
  }

private:
  static std::vector<Lv2World*>& Leftovers()
  {
    static auto* kept = new std::vector<Lv2World*>;
    return *kept;
  }
  // lilv's world is not safe to use from several threads: instances are
  // made and freed one at a time.
  Lv2World& mWorld;
  mutable std::mutex mLilvMutex;
};
} // namespace

bool gLeaveWorlds = false;

std::unique_ptr<PluginType> OpenLv2(const std::string& target)
{
  return std::make_unique<Lv2Type>(target);
}
} // namespace aaxtool

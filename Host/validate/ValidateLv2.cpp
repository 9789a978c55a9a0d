// The checks of aaxhost validate for LV2 plug-ins, by level: 1 the data and
// the binary, 2 instances, presets and state, 3 rendering, 6 values out of
// range, 7 three threads, 8 damaged state, 9 real-time rules for plug-ins
// that declare hardRTCapable. A failure quotes the LV2 rule it breaks.
#include "ValidateLv2.h"

#include "Probes.h"
#include "ToolError.h"
#include "ValidateSupport.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <thread>

namespace aaxtool
{
namespace
{
std::unique_ptr<Lv2World> gWorld;

constexpr double kLv2Rates[] = {22050.0, 44100.0, 48000.0, 96000.0, 192000.0};
constexpr int kLv2Blocks[] = {1, 7, 64, 512, kAnnounced};
constexpr int kLv2Frames = 2048;

const char* kRuleRun0 = "\"Plugins MUST NOT crash when `sample_count` is 0.\"";
const char* kRuleSoftLimit = "(lv2:minimum, lv2:maximum: \"This is a soft limit: the plugin is "
                             "required to gracefully accept all values in the range of a port's "
                             "data type.\")";
const char* kRuleBounded =
    " (lv2:hardRTCapable: \"The maximum amount of time for a `run()` call is bounded by some "
    "expression of the form `A + B * sample_count`\")";
const char* kRuleRT =
    "(lv2:hardRTCapable: \"There is no use of `malloc()`, `free()` or any other heap memory "
    "management functions.\")";

Lv2World& World(CheckContext& ctx)
{
  if (!gWorld) gWorld = std::make_unique<Lv2World>(ctx.bundle);
  return *gWorld;
}

// The skip reason when the plug-in needs a feature the tool lacks, or
// (binary true) its binary cannot be loaded, or empty. A binary the loader
// refuses is one failure, lv2-instantiate's with the loader's words, not one
// per check.
std::string Unhostable(const Lv2World& w, bool binary = true)
{
  if (binary)
  {
    if (void* h = dlopen(w.BinaryPath().c_str(), RTLD_NOW | RTLD_LOCAL))
      dlclose(h);
    else
      return "skipped: the plug-in binary cannot be loaded (lv2-instantiate says why)";
  }
  const std::string f = Lv2MissingFeature(w);
  return f.empty() ? "" : "skipped: requires the feature " + f + ", which the tool does not offer";
}

std::unique_ptr<Lv2Instance> NewLv2(Lv2World& w, double rate = 48000.0)
{
  auto p = std::make_unique<Lv2Instance>(w, rate, kAnnounced);
  if (!p->Ok())
  {
    // lilv answers NULL for a binary the loader refuses too: say which.
    if (void* h = dlopen(w.BinaryPath().c_str(), RTLD_NOW | RTLD_LOCAL))
      dlclose(h);
    else
      Fail("the plug-in binary cannot be loaded (lv2core: a plugin library is \"suitable for "
           "dynamic loading\"): " +
           std::string(dlerror()));
    Fail("instantiate returned NULL at " + Num(rate) +
         " Hz with every feature it requires offered");
  }
  return p;
}

// Renders in blocks; before the block at frame f, atFrame(f) may change
// controls. probes count the audio-class calls (connect_port and run).
Signal RenderLv2(Lv2Instance& plug, const Signal& input, int outputs, int block,
                 const std::function<void(int)>& atFrame = nullptr, unsigned probes = kProbeNone,
                 bool inPlace = false)
{
  const int frames = input.empty() ? kLv2Frames : static_cast<int>(input[0].size());
  Signal out(static_cast<size_t>(outputs), std::vector<float>(static_cast<size_t>(frames)));
  if (inPlace)
    for (size_t c = 0; c < out.size() && c < input.size(); ++c)
      out[c] = input[c];
  std::vector<float*> in(input.size() + 1), o(out.size() + 1);
  for (int f = 0; f < frames; f += block)
  {
    const int n = std::min(block, frames - f);
    if (atFrame) atFrame(f);
    for (size_t c = 0; c < input.size(); ++c)
      in[c] =
          inPlace && c < out.size() ? out[c].data() + f : const_cast<float*>(input[c].data()) + f;
    for (size_t c = 0; c < out.size(); ++c)
      o[c] = out[c].data() + f;
    if (probes & kProbeAllocations) CountAllocations(true);
    if (probes & kProbeLocks) WatchLocks(LockWatch::kRender);
    if (probes & kProbeSystemCalls) CountSystemCalls(true);
    // The worker's side is not real-time: under the counters it runs
    // after them, and its responses reach the next run.
    plug.Run(in.data(), o.data(), static_cast<uint32_t>(n), probes == kProbeNone);
    if (probes & kProbeSystemCalls) CountSystemCalls(false);
    if (probes & kProbeLocks) WatchLocks(LockWatch::kOff);
    if (probes & kProbeAllocations) CountAllocations(false);
    if (probes != kProbeNone) plug.ServeWork();
  }
  return out;
}

// Largest difference between two signals relative to full scale.
double Difference(const Signal& a, const Signal& b, size_t* at = nullptr)
{
  double worst = 0.0;
  for (size_t c = 0; c < a.size() && c < b.size(); ++c)
    for (size_t i = 0; i < a[c].size() && i < b[c].size(); ++i)
    {
      const double d = std::fabs(double(a[c][i]) - double(b[c][i]));
      if (d > worst || (std::isnan(d) && !std::isnan(worst)))
      {
        worst = d;
        if (at) *at = i;
      }
    }
  return worst;
}
constexpr double kSame = 1e-4;

// The first NaN or infinity in out, described, or empty; denormals are
// valid samples no LV2 rule forbids.
std::string NonFinite(const Signal& out, const std::string& where)
{
  for (size_t c = 0; c < out.size(); ++c)
    for (size_t i = 0; i < out[c].size(); ++i)
      if (!std::isfinite(out[c][i]))
        return where + ": " + (std::isnan(out[c][i]) ? "NaN" : "infinity") + " at output " +
               std::to_string(c) + " frame " + std::to_string(i) + " for finite input";
  return {};
}

// NaN or infinity out for finite input breaks no LV2 rule, yet hosts and
// users want to know: a check notes the first one and goes on to its end (a
// crash further on still fails it), then warns instead of passing.
class FiniteWatch
{
public:
  void Look(const Signal& out, const std::string& where)
  {
    if (mFirst.empty()) mFirst = NonFinite(out, where);
  }
  bool Clean() const { return mFirst.empty(); }
  std::string Pass(const std::string& result) const
  {
    if (!mFirst.empty()) Warn(mFirst + " (no LV2 rule requires finite output)");
    return result;
  }

private:
  std::string mFirst;
};

// Whether two fresh instances give the same output for the same input: a
// plug-in with noise or free-running time (an LFO, a clock) is exempt from
// the comparisons.
bool Deterministic(Lv2World& w, const Signal& input, int block)
{
  auto a = NewLv2(w), b = NewLv2(w);
  a->Activate();
  b->Activate();
  return Difference(RenderLv2(*a, input, w.AudioOuts(), block),
                    RenderLv2(*b, input, w.AudioOuts(), block)) <= kSame;
}

bool ValidSymbol(const std::string& s)
{
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  return std::all_of(s.begin(), s.end(),
                     [](char c)
                     { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

std::vector<const Lv2Port*> InputControls(const Lv2World& w)
{
  std::vector<const Lv2Port*> out;
  for (const Lv2Port& p : w.Ports())
    if (p.control && p.input) out.push_back(&p);
  return out;
}

// ---- Level 1 ----

std::string CheckData(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  ctx.Step("verifying the plug-in's data");
  if (!lilv_plugin_verify(w.Plugin()))
    Fail("lilv_plugin_verify rejects the data (\"All ports on a plugin MUST be fully specified "
         "lv2:Port instances.\")");
  if (w.Name().empty())
    Fail("no name (\"A plugin MUST have at least one untranslated doap:name.\")");
  std::set<std::string> symbols;
  int latency = 0;
  // A range that does not hold its default is doubtful data, but lv2core
  // makes both soft hints: the first such port is a warning.
  std::string doubtful;
  for (const Lv2Port& p : w.Ports())
  {
    const std::string where = "port " + std::to_string(p.index) + " \"" + p.symbol + "\"";
    if (!ValidSymbol(p.symbol))
      Fail(where + ": the symbol is not a C identifier (\"The value of this property MUST be a "
                   "valid lv2:Symbol\")");
    if (!symbols.insert(p.symbol).second)
      Fail(where + ": two ports have this symbol (lv2:symbol: \"A symbol is a unique identifier "
                   "with respect to the parent\")");
    if (p.latency) ++latency;
    if (!p.control) continue;
    if (doubtful.empty() && p.hasMin && p.hasMax && p.min > p.max)
      doubtful = where + ": minimum " + Num(p.min) + " above maximum " + Num(p.max);
    if (doubtful.empty() && p.hasDef &&
        ((p.hasMin && p.def < p.min) || (p.hasMax && p.def > p.max)))
      doubtful = where + ": default " + Num(p.def) + " outside its range [" + Num(p.min) + ", " +
                 Num(p.max) + "]";
    std::set<float> values;
    for (const auto& sp : p.scalePoints)
      if (!values.insert(sp.first).second)
        Fail(where + ": two scale points have the value " + Num(sp.first) +
             " (\"A Point MUST have exactly one rdf:value\")");
  }
  if (latency > 1)
    Fail(std::to_string(latency) + " latency ports (\"If a plugin introduces latency it MUST "
                                   "provide EXACTLY ONE port with this property set.\")");
  if (!doubtful.empty())
    Warn(doubtful + " (no LV2 rule forbids it: lv2:minimum and lv2:maximum are \"a soft "
                    "limit\", lv2:default a value the host \"SHOULD\" set)");
  return std::to_string(w.Ports().size()) + " port(s), symbols unique, ranges hold their defaults";
}

std::string CheckExports(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string path = w.BinaryPath();
  ctx.Step("reading the dynamic symbols of " + path);
  const std::vector<std::string> extra = ExtraExports(path);
  if (extra.empty()) return "only the descriptor function";
  std::string names;
  for (size_t i = 0; i < extra.size() && i < 3; ++i)
    names += (i ? ", " : "") + extra[i];
  Warn(std::to_string(extra.size()) + " dynamic symbol(s) besides the descriptor functions, " +
       names + (extra.size() > 3 ? ", ..." : "") +
       " (no LV2 rule requires hiding them; they can clash between plug-ins loaded into one "
       "host)");
}

std::string CheckInstantiate(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w, false);
  if (!skip.empty()) return skip;
  const Signal input = Noise(ctx, w.AudioIns(), 256);
  FiniteWatch finite;
  {
    // A host may free an instance it never activated (lv2.h: "If a host
    // calls instantiate(), it MUST call cleanup() at some point in the
    // future"; activate is only due before run).
    ctx.Step("instantiate, then cleanup without activate (lv2.h: \"If a host calls "
             "instantiate(), it MUST call cleanup() at some point in the future\"; activate is "
             "due only before run)");
    NewLv2(w);
  }
  {
    ctx.Step("instantiating with every feature offered");
    auto p = NewLv2(w);
    p->Activate();
    finite.Look(RenderLv2(*p, input, w.AudioOuts(), 64), "the first blocks");
  }
  ctx.Step("instantiating with no feature at all (\"The plugin MUST fail to instantiate if a "
           "required feature is not supported by the host.\")");
  Lv2Instance bare(w, 48000.0, kAnnounced, false);
  const bool needs = !w.RequiredFeatures().empty();
  std::string needed;
  for (const std::string& f : w.RequiredFeatures())
    if (f != LV2_CORE__hardRTCapable && f != LV2_CORE__isLive && f != LV2_CORE__inPlaceBroken)
      needed = f;
  if (needed.empty() && !bare.Ok())
    Fail("instantiate returned NULL without optional features (\"The plugin MUST NOT fail to "
         "instantiate if an optional feature is not supported by the host.\")");
  if (!needed.empty() && bare.Ok())
  {
    // Accepted without a required feature: it must at least run.
    bare.Activate();
    RenderLv2(bare, input, w.AudioOuts(), 64);
    return finite.Pass("instantiated with every feature; without " + needed +
                       " it was accepted all the same and ran");
  }
  (void)needs;
  if (bare.Ok())
  {
    bare.Activate();
    finite.Look(RenderLv2(bare, input, w.AudioOuts(), 64), "with no feature offered");
  }
  return finite.Pass("instantiated with every feature and with none" +
                     std::string(bare.Ok() ? "" : " (refused, as it requires " + needed + ")"));
}

// ---- Level 2 ----

std::string Instances(CheckContext& ctx, int count)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  const Signal input = Noise(ctx, w.AudioIns(), 512);
  FiniteWatch finite;
  for (int round = 0; round < 2; ++round)
  {
    ctx.Step("creating " + std::to_string(count) + " instance(s), round " +
             std::to_string(round + 1));
    std::vector<std::unique_ptr<Lv2Instance>> all;
    for (int i = 0; i < count; ++i)
      all.push_back(NewLv2(w));
    for (auto& p : all)
    {
      p->Activate();
      finite.Look(RenderLv2(*p, input, w.AudioOuts(), 128), "rendering");
    }
    for (auto& p : all)
      p->Deactivate();
  }
  return finite.Pass(std::to_string(count) + " at once, created, run and freed twice");
}

std::string CheckPresets(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  const std::vector<std::string> presets = w.Presets();
  if (presets.empty()) return "skipped: no presets";
  const Signal input = Noise(ctx, w.AudioIns(), 512);
  FiniteWatch finite;
  for (const std::string& uri : presets)
  {
    ctx.Step("preset " + uri);
    auto p = NewLv2(w);
    std::string why;
    if (!p->ApplyPreset(uri, &why)) Fail("preset " + uri + ": " + why);
    p->Activate();
    finite.Look(RenderLv2(*p, input, w.AudioOuts(), 128), "preset " + uri);
  }
  return finite.Pass(std::to_string(presets.size()) + " preset(s) load and render");
}

void SetRandomControls(CheckContext& ctx, const Lv2World& w, Lv2Instance& p)
{
  for (const Lv2Port* c : InputControls(w))
  {
    double v = c->min + ctx.Uniform() * (c->max - c->min);
    if (c->integer || c->enumeration) v = std::round(v);
    if (c->toggled) v = ctx.Uniform() < 0.5 ? c->min : c->max;
    if (!c->scalePoints.empty() && c->enumeration)
      v = c->scalePoints[static_cast<size_t>(ctx.Uniform() * c->scalePoints.size()) %
                         c->scalePoints.size()]
              .first;
    p.Control(c->index) = static_cast<float>(v);
  }
}

std::string CheckStateRoundTrip(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  ctx.Step("asking for the state interface");
  auto a = NewLv2(w);
  a->Activate();
  if (!a->HasState()) return "skipped: no state interface";
  const Signal input = Noise(ctx, w.AudioIns(), 1024);
  ctx.Step("saving a fresh instance");
  a->Activate();
  RenderLv2(*a, input, w.AudioOuts(), 256);
  const Lv2State s1 = a->Save();
  ctx.Step("restoring into a fresh instance");
  auto b = NewLv2(w);
  // A plug-in that saved nothing (a convolver with no file loaded) may
  // answer that the property it looks for is missing.
  if (const int st = b->Restore(s1); st && !(s1.empty() && st == LV2_STATE_ERR_NO_PROPERTY))
    Fail("restoring its own saved state returned status " + std::to_string(st));
  ctx.Step("saving the restored instance");
  const Lv2State s2 = b->Save();
  if (!(s1 == s2))
    Fail("the state saved after a restore differs from the state restored (" +
         std::to_string(s1.size()) + " value(s) saved, " + std::to_string(s2.size()) +
         " after restoring)");
  // The same state in two fresh instances gives the same sound.
  auto c = NewLv2(w);
  c->Restore(s1);
  b->Activate();
  c->Activate();
  ctx.Step("rendering both");
  const Signal ob = RenderLv2(*b, input, w.AudioOuts(), 256);
  const Signal oc = RenderLv2(*c, input, w.AudioOuts(), 256);
  FiniteWatch finite;
  finite.Look(ob, "after restoring");
  return finite.Pass(std::to_string(s1.size()) + " value(s), the same after a round trip" +
                     (Difference(ob, oc) <= kSame ? ", the same output" : ""));
}

// ---- Level 3 ----

std::string CheckRender(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  const Signal input = Noise(ctx, w.AudioIns(), kLv2Frames);
  FiniteWatch finite;
  for (double rate : kLv2Rates)
  {
    ctx.Step("instantiating at " + Num(rate) + " Hz");
    auto p = NewLv2(w, rate);
    p->Activate();
    for (int block : kLv2Blocks)
    {
      const std::string where = Num(rate) + " Hz, block " + std::to_string(block);
      ctx.Step(where);
      finite.Look(RenderLv2(*p, input, w.AudioOuts(), block), where);
    }
  }
  return finite.Pass(std::to_string(std::size(kLv2Rates)) + " rates x " +
                     std::to_string(std::size(kLv2Blocks)) + " block sizes, clean");
}

std::string CheckBlockSizes(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  if (w.AudioOuts() == 0) return "skipped: no audio output";
  const Signal input = Noise(ctx, w.AudioIns(), kLv2Frames);
  ctx.Step("two instances at block 512");
  if (!Deterministic(w, input, 512))
    return "skipped: two fresh instances differ (noise or free-running time)";
  auto ref = NewLv2(w);
  ref->Activate();
  const Signal want = RenderLv2(*ref, input, w.AudioOuts(), 512);
  for (int block : kLv2Blocks)
  {
    ctx.Step("block " + std::to_string(block));
    auto p = NewLv2(w);
    p->Activate();
    size_t at = 0;
    const double d = Difference(want, RenderLv2(*p, input, w.AudioOuts(), block), &at);
    if (!(d <= kSame))
      Warn("block " + std::to_string(block) + ": the output differs from block 512 by " + Num(d) +
           " at frame " + std::to_string(at) +
           " (no LV2 rule requires it; many plug-ins update coefficients once per run)");
  }
  return "the same output at every block size";
}

std::string CheckInPlace(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  if (w.Requires(LV2_CORE__inPlaceBroken)) return "skipped: the plug-in requires inPlaceBroken";
  if (w.AudioIns() == 0 || w.AudioOuts() == 0) return "skipped: no audio input and output";
  const Signal input = Noise(ctx, w.AudioIns(), kLv2Frames);
  ctx.Step("two instances at block 64");
  const bool same = Deterministic(w, input, 64);
  auto a = NewLv2(w), b = NewLv2(w);
  a->Activate();
  b->Activate();
  ctx.Step("rendering in place");
  const Signal apart = RenderLv2(*a, input, w.AudioOuts(), 64);
  const Signal inPlace = RenderLv2(*b, input, w.AudioOuts(), 64, nullptr, kProbeNone, true);
  FiniteWatch finite;
  finite.Look(inPlace, "in place");
  size_t at = 0;
  const double d = Difference(apart, inPlace, &at);
  if (same && !(d <= kSame))
    Fail("in place the output differs by " + Num(d) + " at frame " + std::to_string(at) +
         " (\"Plugins that will fail to work correctly if ANY input port is connected to the "
         "same location as ANY output port MUST require this feature.\")");
  return finite.Pass(same ? "the same output in place" : "clean in place");
}

std::string CheckRunZero(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  const Signal input = Noise(ctx, w.AudioIns(), 256);
  auto p = NewLv2(w);
  p->Activate();
  Signal out(static_cast<size_t>(w.AudioOuts()), std::vector<float>(256));
  std::vector<float*> in(input.size() + 1), o(out.size() + 1);
  for (size_t c = 0; c < input.size(); ++c)
    in[c] = const_cast<float*>(input[c].data());
  for (size_t c = 0; c < out.size(); ++c)
    o[c] = out[c].data();
  ctx.Step("run(0) before any other block " + std::string(kRuleRun0));
  p->Run(in.data(), o.data(), 0);
  ctx.Step("run(0) between blocks " + std::string(kRuleRun0));
  p->Run(in.data(), o.data(), 128);
  p->Run(in.data(), o.data(), 0);
  p->Run(in.data(), o.data(), 128);
  FiniteWatch finite;
  finite.Look(out, "around run(0)");
  return finite.Pass("run(0) survived");
}

std::string CheckSweep(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  const std::vector<const Lv2Port*> controls = InputControls(w);
  if (controls.empty()) return "skipped: no input control";
  const Signal input = Noise(ctx, w.AudioIns(), kLv2Frames);
  auto p = NewLv2(w);
  p->Activate();
  // Plug-ins with hundreds of controls get those 8 s allow, in a random
  // order so that repeated runs reach the others.
  std::vector<const Lv2Port*> order = controls;
  std::shuffle(order.begin(), order.end(), ctx.rng);
  const auto start = std::chrono::steady_clock::now();
  size_t swept = 0;
  FiniteWatch finite;
  for (const Lv2Port* c : order)
  {
    if (swept > 0 && std::chrono::steady_clock::now() - start > std::chrono::seconds(8)) break;
    ++swept;
    ctx.Step("sweeping \"" + c->symbol + "\"");
    const int steps = kLv2Frames / 32;
    const Signal out = RenderLv2(*p, input, w.AudioOuts(), 32,
                                 [&](int f)
                                 {
                                   double v = c->min + (c->max - c->min) * (f / 32) / (steps - 1);
                                   if (c->integer || c->toggled || c->enumeration)
                                     v = std::round(v);
                                   p->Control(c->index) = static_cast<float>(v);
                                 });
    finite.Look(out, "sweeping \"" + c->symbol + "\"");
    p->Control(c->index) = c->def;
  }
  return finite.Pass(std::to_string(swept) + " of " + std::to_string(controls.size()) +
                     " control(s) swept over their range");
}

std::string CheckActivateCycles(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  const Signal input = Noise(ctx, w.AudioIns(), 1024);
  auto p = NewLv2(w);
  FiniteWatch finite;
  for (int i = 0; i < 3; ++i)
  {
    ctx.Step("activate, run, deactivate, cycle " + std::to_string(i + 1));
    p->Activate();
    finite.Look(RenderLv2(*p, input, w.AudioOuts(), 256), "cycle " + std::to_string(i + 1));
    p->Deactivate();
  }
  return finite.Pass("3 cycles");
}

// ---- Level 6 ----

std::string CheckOutOfRange(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  const std::vector<const Lv2Port*> controls = InputControls(w);
  if (controls.empty()) return "skipped: no input control";
  const Signal input = Noise(ctx, w.AudioIns(), 64);
  const float inf = std::numeric_limits<float>::infinity();
  // One instance takes every odd value in turn (a fresh one per value costs
  // seconds on plug-ins with hundreds of controls). The soft-limit rule asks
  // that every value be accepted gracefully: a crash or a hang fails; NaN out
  // is a warning, as everywhere. What the odd values left behind must go with
  // the reset of deactivate and activate, if the defaults render clean.
  auto p = NewLv2(w);
  p->Activate();
  FiniteWatch finite, atDefaults;
  for (int i = 0; i < 2; ++i) // as many blocks as after the reset below
    atDefaults.Look(RenderLv2(*p, input, w.AudioOuts(), 64), "at the defaults");
  int values = 0;
  for (const Lv2Port* c : controls)
  {
    const float span = std::max(1.0f, c->max - c->min);
    const std::pair<float, const char*> odd[] = {{c->min - 0.01f * span, "just below its minimum"},
                                                 {c->max + 0.01f * span, "just above its maximum"},
                                                 {std::nanf(""), "NaN"},
                                                 {inf, "+infinity"},
                                                 {-inf, "-infinity"}};
    for (const auto& v : odd)
    {
      const std::string where = "\"" + c->symbol + "\" at " + v.second;
      ctx.Step(where + " " + kRuleSoftLimit +
               std::string(w.HasFeature(LV2_CORE__hardRTCapable) ? kRuleBounded : ""));
      p->Control(c->index) = v.first;
      const Signal out = RenderLv2(*p, input, w.AudioOuts(), 64);
      if (std::isfinite(v.first)) finite.Look(out, where);
      ++values;
    }
    p->Control(c->index) = c->def;
  }
  ctx.Step("deactivate and activate after the odd values");
  p->Deactivate();
  p->Activate();
  RenderLv2(*p, input, w.AudioOuts(), 64);
  const Signal out = RenderLv2(*p, input, w.AudioOuts(), 64);
  if (atDefaults.Clean() && !NonFinite(out, "").empty())
    Fail("after NaN and infinite control values, deactivate and activate left the output "
         "not finite (lv2.h, activate: \"the plugin instance MUST reset all state information "
         "dependent on the history of the plugin instance\")");
  return finite.Pass(std::to_string(values) + " odd values survived");
}

// ---- Level 7 ----

std::string CheckThreeThreads(CheckContext& ctx)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  ctx.Step("asking for the state interface");
  auto p = NewLv2(w);
  p->Activate();
  if (!p->HasState()) return "skipped: no state interface";
  const Signal input = Noise(ctx, w.AudioIns(), 64);
  const std::vector<const Lv2Port*> controls = InputControls(w);
  p->Activate();
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::string renderError;
  FiniteWatch finite; // the render thread's alone until it is joined
  ctx.Step("rendering while another thread saves state and a third changes controls (state.h, "
           "save: \"it may be called concurrently with functions in any other class\")");
  // Control values are "fixed and valid for the duration of the call to
  // run()" (lv2core): the third thread sets the values the render thread
  // puts into the ports before each run, as a host's UI thread does.
  std::vector<std::atomic<float>> pending(w.Ports().size());
  for (const Lv2Port* c : controls)
    pending[c->index].store(p->Control(c->index));
  std::thread render(
      [&]
      {
        try
        {
          auto take = [&](int)
          {
            for (const Lv2Port* c : controls)
              p->Control(c->index) = pending[c->index].load(std::memory_order_relaxed);
          };
          while (!stop.load())
          {
            finite.Look(RenderLv2(*p, input, w.AudioOuts(), 64, take), "rendering");
            ++blocks;
          }
        }
        catch (const std::exception& e)
        {
          renderError = e.what();
        }
      });
  std::thread controlsThread(
      [&]
      {
        std::mt19937 rng(7);
        while (!stop.load())
          for (const Lv2Port* c : controls)
          {
            const float u = std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
            pending[c->index].store(c->min + u * (c->max - c->min), std::memory_order_relaxed);
          }
      });
  // Saves go on until the render thread has run beside them too: 200 saves
  // alone can end before that thread rendered its first block.
  int saves = 0;
  std::string saveError;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  try
  {
    for (; (saves < 200 || blocks.load() < 200) && std::chrono::steady_clock::now() < until;
         ++saves)
      p->Save();
  }
  catch (const std::exception& e)
  {
    saveError = e.what();
  }
  stop = true;
  render.join();
  controlsThread.join();
  if (!renderError.empty()) Fail(renderError);
  if (!saveError.empty()) Fail(saveError);
  return finite.Pass(std::to_string(saves) + " saves beside " + std::to_string(blocks.load()) +
                     " blocks");
}

// ---- Level 8 ----

// missing false: each value damaged (a crash there is a warning, since
// state.h lets a plug-in "assume a restored value was set by a previous call
// to save()"); true: the empty state, then each value left out, which a
// plug-in "MUST gracefully fall back to a default value" for.
std::string DamagedState(CheckContext& ctx, bool missing)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  ctx.Step("saving a fresh instance");
  auto a = NewLv2(w);
  a->Activate();
  if (!a->HasState()) return "skipped: no state interface";
  const Lv2State good = a->Save();
  if (good.empty()) return "skipped: the state holds no value";
  // Each case is one value damaged one way; the states are built only for
  // the cases tried (a plug-in with thousands of values would otherwise
  // need gigabytes).
  const uint32_t types[] = {
      w.Map("http://lv2plug.in/ns/ext/atom#Int"), w.Map("http://lv2plug.in/ns/ext/atom#String"),
      w.Map("http://lv2plug.in/ns/ext/atom#Float"), w.Map("http://lv2plug.in/ns/ext/atom#Chunk")};
  constexpr int kKinds = 5 + 4; // four damages, missing, four other types
  std::vector<std::pair<size_t, int>> cases;
  if (missing) cases.emplace_back(good.size(), 4); // every value: the empty state
  for (size_t i = 0; i < good.size(); ++i)
    for (int k = 0; k < kKinds; ++k)
      if ((k == 4) == missing && (k < 5 || types[k - 5] != good[i].type)) cases.emplace_back(i, k);
  // At most 40 cases, chosen by the seed, so plug-ins with many values
  // stay within the run's time.
  std::shuffle(cases.begin() + (missing ? 1 : 0), cases.end(), ctx.rng);
  if (cases.size() > 40) cases.resize(40);
  const Signal input = Noise(ctx, w.AudioIns(), 256);
  // Plug-ins that take a second to instantiate get the cases 8 s allow.
  const auto start = std::chrono::steady_clock::now();
  size_t tried = 0;
  for (const auto& [i, kind] : cases)
  {
    if (tried > 0 && std::chrono::steady_clock::now() - start > std::chrono::seconds(8)) break;
    ++tried;
    Lv2State s = good;
    if (i == good.size())
    {
      ctx.Step("restoring the empty state (state.h, restore: \"The plugin MUST gracefully fall "
               "back to a default value when a value can not be retrieved.\")");
      auto p = NewLv2(w);
      p->Restore({});
      p->Activate();
      RenderLv2(*p, input, w.AudioOuts(), 128);
      continue;
    }
    Lv2StateValue& v = s[i];
    const std::string key = w.Unmap(v.key) ? w.Unmap(v.key) : "?";
    std::string what;
    switch (kind)
    {
    case 0:
      v.bytes.resize(1);
      what = "truncated to 1 byte";
      break;
    case 1:
      v.bytes.resize(std::max<size_t>(1, v.bytes.size() / 2));
      what = "truncated to half";
      break;
    case 2:
      v.bytes.resize(v.bytes.size() + 64, 0xAB);
      what = "extended by 64 bytes";
      break;
    case 3:
      for (auto& b : v.bytes)
        b = static_cast<unsigned char>(ctx.rng());
      what = "random bytes";
      break;
    case 4:
      s.erase(s.begin() + static_cast<long>(i));
      what = "missing (state.h, restore: \"The plugin MUST gracefully fall back to a default "
             "value when a value can not be retrieved.\")";
      break;
    default:
      v.type = types[kind - 5];
      what = std::string("as type ") + w.Unmap(v.type);
    }
    ctx.Step("restoring state with " + key + " " + what);
    auto p = NewLv2(w);
    p->Restore(s);
    p->Activate();
    RenderLv2(*p, input, w.AudioOuts(), 128);
  }
  return std::to_string(tried) +
         (missing ? " state(s) with values left out" : " damaged state(s)") + " survived";
}

// ---- Level 9 ----

std::string RealTime(CheckContext& ctx, unsigned probe)
{
  Lv2World& w = World(ctx);
  const std::string skip = Unhostable(w);
  if (!skip.empty()) return skip;
  if (!w.HasFeature(LV2_CORE__hardRTCapable))
    // A misspelling turns these checks off as surely as no claim at all;
    // the skip says so, lv2-vocabulary warns about it.
    return w.HasFeature(LV2_CORE_PREFIX "hardRtCapable")
               ? "skipped: the plug-in declares lv2:hardRtCapable, which LV2 does not define, "
                 "not lv2:hardRTCapable (lv2-vocabulary)"
               : "skipped: the plug-in does not declare lv2:hardRTCapable";
  if (probe == kProbeAllocations && !AllocationsCountable())
    return "skipped: the allocator cannot be counted in this build";
  if (probe == kProbeLocks && !LocksCountable())
    return "skipped: locks cannot be counted in this build";
  if (probe == kProbeSystemCalls && !SystemCallsCountable())
    return "skipped: system calls cannot be trapped in this build";
  const char* blocking =
      " (lv2:hardRTCapable: \"There is no access to files, devices, pipes, sockets, system calls, "
      "or any other mechanism that might result in the process or thread blocking.\")";
  const Signal input = Noise(ctx, w.AudioIns(), kLv2Frames);
  int calls = 0;
  std::string tried; // the first lock only tried, never waited for
  // One instance for the three sizes: creating one costs more than the
  // runs on large plug-ins. Every run from the first after activate counts:
  // the rules bind the first run as much as the others, so whatever a
  // plug-in sets up belongs in instantiate or activate.
  auto p = NewLv2(w);
  p->Activate();
  for (int block : {1, 64, kAnnounced})
  {
    ctx.Step("block " + std::to_string(block));
    ResetAllocations();
    ResetLocks();
    ResetSystemCalls();
    // RenderLv2 changes controls before it turns the probes on for a run,
    // and serves the worker after it turns them off: only the plug-in's
    // run and connect_port are counted.
    auto change = [&](int f)
    {
      if (f % 512 == 0) SetRandomControls(ctx, w, *p);
    };
    if (probe == kProbeSystemCalls)
      RunTrappingSystemCalls([&] { RenderLv2(*p, input, w.AudioOuts(), block, change, probe); });
    else
      RenderLv2(*p, input, w.AudioOuts(), block, change, probe);
    const int runs = (kLv2Frames + block - 1) / block;
    calls += runs;
    const std::string where = "block " + std::to_string(block) + ": ";
    const std::string over = " over " + std::to_string(runs) + " run calls";
    if (probe == kProbeAllocations && Allocations())
    {
      const std::string site = FirstAllocationSite();
      Fail(where + std::to_string(Allocations()) + " allocation(s) in run/connect_port" + over +
           (site.empty() ? "" : ", the first in " + site) + " " + kRuleRT);
    }
    if (probe == kProbeLocks)
    {
      // Unlike a module's render call, which may take the plug-in mutex,
      // run may take no lock at all: one that nothing else holds here is
      // one another thread of a host may hold when run comes.
      const LockReport r = Locks();
      auto site = [](const void* caller)
      {
        void* frame = const_cast<void*>(caller);
        const std::string s = NameFrames(&frame, 1);
        return s.empty() ? std::string("an unnamed caller") : s;
      };
      if (r.waits)
        Fail(where + std::to_string(r.waits) + " lock wait(s) in run/connect_port" + over +
             ", the first in " + r.firstWait.op + " from " + site(r.firstWait.caller) + blocking);
      const LockUse* held = nullptr;
      for (const LockUse& u : r.render)
        if (u.blocking && !held) held = &u;
      if (held)
      {
        const size_t others = r.render.size() - 1;
        Fail(where + "a lock in run/connect_port: " + held->op + " from " + site(held->caller) +
             ", taken " + std::to_string(held->count) + " time(s)" + over +
             (others ? " (and " + std::to_string(others) + " other lock(s))" : "") + blocking);
      }
      // A try never waits: it answers at once whether the lock is free. No
      // rule forbids it; it is named, after every block size had its say.
      if (!r.render.empty() && tried.empty())
      {
        const LockUse& u = r.render.front();
        tried = where + u.op + " from " + site(u.caller) + ", taken " + std::to_string(u.count) +
                " time(s)" + over;
      }
    }
    if (probe == kProbeSystemCalls && SystemCalls())
      Fail(where + std::to_string(SystemCalls()) + " system call(s) in run/connect_port" + over +
           ", the first " + FirstSystemCall() + blocking);
  }
  if (!tried.empty())
    Warn(tried + ", only ever tried, never waited for (a try cannot block, so no LV2 rule "
                 "forbids it; a run that finds the lock taken must do without what it guards)");
  return "none in " + std::to_string(calls) + " run calls at 3 block sizes";
}
} // namespace

Lv2World* LoadedLv2Target() { return gWorld.get(); }

std::vector<std::string> ExtraExports(const std::string& path)
{
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail(path + ": cannot open the plug-in binary");
  struct stat st;
  fstat(fd, &st);
  const size_t size = static_cast<size_t>(st.st_size);
  void* map = size ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
  close(fd);
  if (map == MAP_FAILED) Fail(path + ": cannot read the plug-in binary");
  const auto* base = static_cast<const unsigned char*>(map);
  std::vector<std::string> out;
  std::string error;
  auto inside = [&](size_t off, size_t len) { return off <= size && len <= size - off; };
  const auto* eh = reinterpret_cast<const Elf64_Ehdr*>(base);
  if (!inside(0, sizeof(Elf64_Ehdr)) || std::memcmp(eh->e_ident, ELFMAG, SELFMAG) != 0 ||
      eh->e_ident[EI_CLASS] != ELFCLASS64 ||
      !inside(eh->e_shoff, size_t(eh->e_shnum) * sizeof(Elf64_Shdr)))
    error = path + ": not a 64-bit ELF shared object";
  else
  {
    const auto* sh = reinterpret_cast<const Elf64_Shdr*>(base + eh->e_shoff);
    for (int i = 0; i < eh->e_shnum; ++i)
    {
      if (sh[i].sh_type != SHT_DYNSYM || sh[i].sh_link >= eh->e_shnum) continue;
      const Elf64_Shdr& strs = sh[sh[i].sh_link];
      if (!inside(sh[i].sh_offset, sh[i].sh_size) || !inside(strs.sh_offset, strs.sh_size)) break;
      const auto* sym = reinterpret_cast<const Elf64_Sym*>(base + sh[i].sh_offset);
      const size_t n = sh[i].sh_size / sizeof(Elf64_Sym);
      for (size_t k = 0; k < n; ++k)
      {
        const Elf64_Sym& s = sym[k];
        const int type = ELF64_ST_TYPE(s.st_info), bind = ELF64_ST_BIND(s.st_info);
        if (s.st_shndx == SHN_UNDEF ||
            (type != STT_FUNC && type != STT_OBJECT && type != STT_GNU_IFUNC && type != STT_TLS))
          continue;
        if (bind == STB_LOCAL || ELF64_ST_VISIBILITY(s.st_other) != STV_DEFAULT) continue;
        if (s.st_name >= strs.sh_size) continue;
        const char* name = reinterpret_cast<const char*>(base + strs.sh_offset + s.st_name);
        const std::string nm(name, strnlen(name, strs.sh_size - s.st_name));
        if (nm == "lv2_descriptor" || nm == "lv2_lib_descriptor" || nm == "lv2ui_descriptor" ||
            nm == "_init" || nm == "_fini")
          continue;
        out.push_back(nm);
      }
    }
  }
  munmap(map, size);
  if (!error.empty()) Fail(error);
  return out;
}

namespace
{
// Fails with one line when the target is not found.
void LoadLv2Target(const std::string& target) { gWorld = std::make_unique<Lv2World>(target); }

const std::vector<Check>& Lv2Checks()
{
  static const std::vector<Check> checks = []
  {
    std::vector<Check> all = {
        {"lv2-data", 1, CheckData},
        {"lv2-exports", 1, CheckExports},
        {"lv2-instantiate", 1, CheckInstantiate},
        {"lv2-instances-1", 2, [](CheckContext& c) { return Instances(c, 1); }},
        {"lv2-instances-8", 2, [](CheckContext& c) { return Instances(c, 8); }},
        {"lv2-presets", 2, CheckPresets},
        {"lv2-state-round-trip", 2, CheckStateRoundTrip},
        {"lv2-render-rates-blocks", 3, CheckRender},
        {"lv2-block-sizes-agree", 3, CheckBlockSizes},
        {"lv2-in-place", 3, CheckInPlace},
        {"lv2-run-zero", 3, CheckRunZero},
        {"lv2-control-sweep", 3, CheckSweep},
        {"lv2-activate-cycles", 3, CheckActivateCycles},
        {"lv2-out-of-range", 6, CheckOutOfRange},
        {"lv2-three-threads", 7, CheckThreeThreads},
        {"lv2-missing-state", 8, [](CheckContext& c) { return DamagedState(c, true); }},
        {"lv2-damaged-state", 8, [](CheckContext& c) { return DamagedState(c, false); },
         "(no LV2 rule forbids it: state.h, restore: \"The plugin MAY assume a restored value "
         "was set by a previous call to LV2_State_Interface.save()\")"},
        {"lv2-no-run-allocation", 9,
         [](CheckContext& c) { return RealTime(c, kProbeAllocations); }},
        {"lv2-no-run-lock", 9, [](CheckContext& c) { return RealTime(c, kProbeLocks); }},
        {"lv2-no-run-system-call", 9,
         [](CheckContext& c) { return RealTime(c, kProbeSystemCalls); }},
    };
    for (const std::vector<Check>& more : {Lv2DeclarationChecks(), Lv2NoteChecks(), Lv2UiChecks()})
      all.insert(all.end(), more.begin(), more.end());
    // Checks run and are reported by level; the UI checks' levels sit
    // between the rendering checks' and the out-of-range one's.
    std::stable_sort(all.begin(), all.end(),
                     [](const Check& a, const Check& b) { return a.level < b.level; });
    return all;
  }();
  return checks;
}
} // namespace

CheckFormat Lv2CheckFormat() { return {"LV2", IsLv2Target, LoadLv2Target, Lv2Checks}; }
} // namespace aaxtool

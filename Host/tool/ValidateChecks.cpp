// The checks of aaxhost validate, by level: 1 the module's life, 2 instances,
// parameters and state, 3 rendering, 4 the editor while audio renders, 5 a
// second thread while rendering, 8 malformed chunks. Each check loads the
// bundle itself, so each runs alone in its process.
#include "Plugin.h"
#include "Snapshot.h"
#include "Validate.h"

#include "AAX_CString.h"
#include "AAX_DescriptionTypes.h"
#include "AAX_Errors.h"
#include "AAX_SPlugInChunk.h"
#include "ToolError.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <thread>
#include <utility>

namespace aaxtool
{
namespace
{
const double kRates[] = {44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
const int kBlocks[] = {1, 32, 64, 100, 512, 1024};
constexpr int kAnnounced = 1024; // the block size announced to the plug-in
constexpr int kFrames = 4096;    // frames rendered per configuration

std::string Num(double v)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

using Signal = std::vector<std::vector<float>>; // per channel

// Finite, full-scale noise with a few exact zeros and full-scale samples.
Signal Noise(CheckContext& ctx, int channels, int frames)
{
  Signal s(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames)));
  std::uniform_real_distribution<float> d(-1.0f, 1.0f);
  for (auto& ch : s)
    for (int i = 0; i < frames; ++i)
      ch[static_cast<size_t>(i)] = i % 97 == 0 ? 0.0f : i % 101 == 0 ? 1.0f : d(ctx.rng);
  return s;
}

// Renders input through plug in blocks of block frames; before the block
// that starts at frame f, atFrame(f) may change parameters.
// With count, the render calls' allocations are counted.
Signal Render(PluginInstance& plug, const Signal& input, int outputs, int block,
              const std::function<void(int)>& atFrame = nullptr, bool count = false)
{
  const int frames = input.empty() ? 0 : static_cast<int>(input[0].size());
  Signal out(static_cast<size_t>(outputs), std::vector<float>(static_cast<size_t>(frames)));
  std::vector<float*> in(input.size() + 1), o(static_cast<size_t>(outputs) + 1);
  for (int f = 0; f < frames; f += block)
  {
    const int n = std::min(block, frames - f);
    if (atFrame) atFrame(f);
    for (size_t c = 0; c < input.size(); ++c)
      in[c] = const_cast<float*>(input[c].data()) + f;
    for (size_t c = 0; c < out.size(); ++c)
      o[c] = out[c].data() + f;
    CountAllocations(count);
    plug.Render(in.data(), o.data(), n);
    CountAllocations(false);
  }
  return out;
}

// Fails naming where the first NaN, infinity or denormal is.
void ExpectClean(const Signal& out, const std::string& where)
{
  for (size_t c = 0; c < out.size(); ++c)
    for (size_t i = 0; i < out[c].size(); ++i)
    {
      const float v = out[c][i];
      const char* what = std::isnan(v)                        ? "NaN"
                         : std::isinf(v)                      ? "infinity"
                         : std::fpclassify(v) == FP_SUBNORMAL ? "denormal"
                                                              : nullptr;
      if (what)
        Fail(where + ": " + what + " at output " + std::to_string(c) + " frame " +
             std::to_string(i));
    }
}

void ExpectEqual(const Signal& a, const Signal& b, const std::string& where)
{
  for (size_t c = 0; c < a.size(); ++c)
    for (size_t i = 0; i < a[c].size(); ++i)
      if (std::memcmp(&a[c][i], &b[c][i], sizeof(float)) != 0)
        Fail(where + ": output " + std::to_string(c) + " frame " + std::to_string(i) + " is " +
             Num(b[c][i]) + ", expected " + Num(a[c][i]));
}

// The host's bypass parameter: random values leave it off, or half of the
// rendering checks would never reach the plug-in's processing.
const char kBypassID[] = "MasterBypassID";

// Random normalised values for every automatable parameter, by identifier.
std::map<std::string, double> RandomValues(CheckContext& ctx, const PluginInstance& plug)
{
  std::map<std::string, double> v;
  for (const ParamInfo& p : plug.Params())
  {
    if (!p.automatable || p.id == kBypassID) continue;
    double x = ctx.Uniform();
    if (!p.continuous && p.steps > 1) x = std::round(x * (p.steps - 1)) / (p.steps - 1);
    v[p.id] = x;
  }
  return v;
}

void Apply(PluginInstance& plug, const std::map<std::string, double>& values)
{
  for (const auto& v : values)
    plug.Update(v.first, v.second);
}

std::vector<char> Bytes(const ChunkFile& c)
{
  std::vector<char> b(c.data.begin(), c.data.end());
  const char* id = reinterpret_cast<const char*>(&c.chunkID);
  b.insert(b.end(), id, id + sizeof c.chunkID);
  return b;
}

bool HasChunk(const PluginInstance& plug)
{
  int32_t n = 0;
  return plug.Parameters()->GetNumberOfChunks(&n) == AAX_SUCCESS && n > 0;
}

std::unique_ptr<LoadedModule> Load(CheckContext& ctx)
{
  ctx.Step("loading the module");
  return std::make_unique<LoadedModule>(ctx.bundle);
}

std::unique_ptr<PluginInstance> NewInstance(CheckContext& ctx, const LoadedModule& m,
                                            double rate = 48000.0)
{
  ctx.Step("creating and initialising an instance at " + Num(rate) + " Hz");
  return std::make_unique<PluginInstance>(m, rate, kAnnounced);
}

// ---- Level 1 ----

std::string CheckDescription(CheckContext& ctx)
{
  ctx.Step("loading the module");
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const aaxhost::Description& d = m.Description();
  std::set<int32_t> nativeIDs;
  for (const aaxhost::DescribedEffect& e : d.effects)
  {
    const std::string where = "effect \"" + e.id + "\"";
    if (e.id.empty()) Fail("an effect has no identifier");
    if (e.names.empty() || e.names[0].empty()) Fail(where + " has no name");
    if (e.components.empty()) Fail(where + " has no processing component");
    for (const auto& pp : e.procPtrs)
      if (!pp.second) Fail(where + ": creation procedure " + std::to_string(pp.first) + " is null");
    for (const aaxhost::DescribedComponent& c : e.components)
    {
      if (c.processProcs.empty()) Fail(where + ": a component has no process procedure");
      if (!c.Field(aaxhost::kFieldAudioIn) && !c.Field(aaxhost::kFieldAudioOut))
        Fail(where + ": a component has no audio field");
      for (const aaxhost::DescribedProcessProc& p : c.processProcs)
      {
        if (!p.native) continue;
        const bool hasProc =
            p.process || p.properties.pointers.count(AAX_eProperty_NativeProcessProc);
        if (!hasProc) Fail(where + ": a native process procedure has no function");
        if (!p.properties.Has(AAX_eProperty_PlugInID_Native))
          Fail(where + ": a native configuration has no plug-in identifier");
        const int32_t id = p.properties.Value(AAX_eProperty_PlugInID_Native);
        if (!nativeIDs.insert(id).second)
          Fail(where + ": plug-in identifier '" + aaxhost::FourCC(static_cast<uint32_t>(id)) +
               "' is described by two configurations");
      }
    }
  }
  const aaxhost::ModuleEntryPoints& ep = m.Module().EntryPoints();
  if (!ep.getSDKVersion || !ep.canUnloadNow || !ep.getClassFactory || !ep.registerComponent)
    Fail("an entry point is missing");
  return std::to_string(d.effects.size()) + " effect(s), " + std::to_string(nativeIDs.size()) +
         " native configuration(s)";
}

std::string CheckUnloadReload(CheckContext& ctx)
{
  for (int round = 1; round <= 2; ++round)
  {
    const std::string r = round == 1 ? "first load" : "second load";
    ctx.Step(r);
    const std::unique_ptr<LoadedModule> module = Load(ctx);
    LoadedModule& m = *module;
    {
      ctx.Step(r + ": one instance");
      PluginInstance plug(m, 48000.0, kAnnounced);
    }
    ctx.Step(r + ": ACFCanUnloadNow");
    const ACFRESULT live = m.Module().CanUnloadNow();
    if (live != 0)
      Fail(r + ": ACFCanUnloadNow is " + std::to_string(live) + " after every object was released");
    ctx.Step(r + ": unloading");
    const aaxhost::ModuleResult u = m.Unload();
    if (!u.ok()) Fail(r + ": " + u.message);
  }
  return "";
}

// ---- Level 2 ----

std::string Instances(CheckContext& ctx, int count)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  {
    std::vector<std::unique_ptr<PluginInstance>> all;
    for (int i = 0; i < count; ++i)
    {
      ctx.Step("creating and initialising instance " + std::to_string(i + 1));
      all.push_back(std::make_unique<PluginInstance>(m, 48000.0, kAnnounced));
    }
    ctx.Step("uninitialising and releasing " + std::to_string(count) + " instance(s)");
  }
  const ACFRESULT live = m.Module().CanUnloadNow();
  if (live != 0)
    Fail("ACFCanUnloadNow is " + std::to_string(live) + " after " + std::to_string(count) +
         " instance(s) were released (an object leaked)");
  return "";
}

std::string CheckParameters(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  AAX_IACFEffectParameters* p = plug.Parameters();
  int32_t n = 0;
  if (p->GetNumberOfParameters(&n) != AAX_SUCCESS || n < 0) Fail("GetNumberOfParameters failed");
  std::vector<int32_t> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::vector<int32_t> shuffled = order;
  std::shuffle(shuffled.begin(), shuffled.end(), ctx.rng);
  std::set<std::string> ids;
  for (const std::vector<int32_t>* pass : {&order, &shuffled})
    for (int32_t i : *pass)
    {
      ctx.Step("parameter index " + std::to_string(i));
      AAX_CString id;
      if (p->GetParameterIDFromIndex(i, &id) != AAX_SUCCESS)
        Fail("parameter index " + std::to_string(i) + " has no identifier");
      const std::string where = "parameter " + id.StdString();
      int32_t back = -1;
      if (p->GetParameterIndex(id.Get(), &back) != AAX_SUCCESS || back != i)
        Fail(where + ": its identifier leads to index " + std::to_string(back) + ", not " +
             std::to_string(i));
      if (pass == &order && !ids.insert(id.StdString()).second)
        Fail(where + ": the identifier is used twice");
    }
  for (const ParamInfo& info : plug.Params())
  {
    const std::string where = "parameter " + info.id;
    if (info.name.empty()) Fail(where + " has no name");
    if (!info.continuous && info.steps < 2)
      Fail(where + " is discrete with " + std::to_string(info.steps) + " step(s)");
    if (!(info.defaultValue >= 0.0 && info.defaultValue <= 1.0))
      Fail(where + ": default " + Num(info.defaultValue) + " is outside 0..1");
    if (std::fabs(info.value - info.defaultValue) > 1e-9)
      Fail(where + ": a new instance holds " + Num(info.value) + ", not its default " +
           Num(info.defaultValue));
  }
  AAX_CString unknown;
  int32_t index = 0;
  if (p->GetParameterIndex("no such parameter", &index) == AAX_SUCCESS && index >= 0 && index < n)
    Fail("an unknown identifier leads to index " + std::to_string(index));
  return std::to_string(n) + " parameter(s)";
}

std::string CheckValueStrings(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  AAX_IACFEffectParameters* p = plug.Parameters();
  int tried = 0;
  for (const ParamInfo& info : plug.Params())
  {
    std::vector<double> points;
    if (info.continuous || info.steps > 256)
      points = {0.0, 0.25, 0.5, 0.75, 1.0, ctx.Uniform()};
    else
      for (int32_t k = 0; k < info.steps; ++k)
        points.push_back(static_cast<double>(k) / (info.steps - 1));
    for (double v : points)
    {
      const std::string where = "parameter " + info.id + " at " + Num(v);
      ctx.Step(where);
      AAX_CString text;
      if (p->GetParameterStringFromValue(info.id.c_str(), v, &text, 64) != AAX_SUCCESS)
        Fail(where + ": no display text");
      double back = -1.0;
      if (p->GetParameterValueFromString(info.id.c_str(), &back, text) != AAX_SUCCESS)
        Fail(where + ": its own text \"" + text.StdString() + "\" is refused");
      AAX_CString again;
      p->GetParameterStringFromValue(info.id.c_str(), back, &again, 64);
      if (again.StdString() != text.StdString())
        Fail(where + ": \"" + text.StdString() + "\" reads back as " + Num(back) + ", shown \"" +
             again.StdString() + "\"");
      if (!info.continuous && info.steps <= 256 && std::fabs(back - v) > 1e-6)
        Fail(where + ": \"" + text.StdString() + "\" reads back as " + Num(back));
      ++tried;
    }
  }
  return std::to_string(tried) + " value(s)";
}

std::string CheckChunkRoundTrip(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  if (!HasChunk(plug)) return "skipped: the plug-in keeps no state chunk";
  ctx.Step("GetChunk of the defaults");
  const ChunkFile a = plug.SaveChunk();
  const std::map<std::string, double> values = RandomValues(ctx, plug);
  ctx.Step("random values");
  Apply(plug, values);
  const ChunkFile b = plug.SaveChunk();
  ctx.Step("SetChunk of the defaults");
  plug.LoadChunk(a, "the defaults' chunk");
  if (Bytes(plug.SaveChunk()) != Bytes(a))
    Fail("the defaults' chunk, set and got again, is not byte-identical");
  ctx.Step("SetChunk of the random values");
  plug.LoadChunk(b, "the random values' chunk");
  if (Bytes(plug.SaveChunk()) != Bytes(b))
    Fail("the random values' chunk, set and got again, is not byte-identical");
  for (const ParamInfo& info : plug.Params())
  {
    const auto it = values.find(info.id);
    if (it != values.end() && std::fabs(info.value - it->second) > 1e-6)
      Fail("parameter " + info.id + " is " + Num(info.value) +
           " after its chunk was restored, not " + Num(it->second));
  }
  return std::to_string(a.data.size()) + " bytes";
}

// ---- Level 3 ----

std::string CheckRenderRates(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  std::map<std::string, double> values;
  for (double rate : kRates)
  {
    Signal reference;
    for (int block : kBlocks)
    {
      const std::string where =
          Num(rate) + " Hz, block " + std::to_string(block) + " of " + std::to_string(kAnnounced);
      ctx.Step(where);
      PluginInstance plug(m, rate, kAnnounced);
      if (values.empty()) values = RandomValues(ctx, plug);
      Apply(plug, values);
      const Signal out = Render(plug, input, m.Outputs(), block);
      ExpectClean(out, where);
      if (reference.empty())
        reference = out;
      else
        ExpectEqual(reference, out, where + " differs from block " + std::to_string(kBlocks[0]));
    }
  }
  return std::to_string(std::size(kRates) * std::size(kBlocks)) + " configurations";
}

std::string CheckAutomation(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  std::vector<std::map<std::string, double>> points;
  Signal reference;
  for (int block : {32, 1, 8})
  {
    const std::string where = "block " + std::to_string(block);
    ctx.Step("automation every 32 frames, " + where);
    PluginInstance plug(m, 48000.0, kAnnounced);
    if (points.empty())
      for (int f = 0; f < kFrames; f += 32)
        points.push_back(RandomValues(ctx, plug));
    const Signal out = Render(plug, input, m.Outputs(), block,
                              [&](int f)
                              {
                                if (f % 32 == 0) Apply(plug, points[static_cast<size_t>(f / 32)]);
                              });
    ExpectClean(out, "automation, " + where);
    if (reference.empty())
      reference = out;
    else
      ExpectEqual(reference, out, "automation, " + where + " differs from block 32");
  }
  return std::to_string(points.empty() ? 0 : points[0].size()) + " parameter(s) automated";
}

std::string CheckBypass(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  std::string bypass;
  for (const ParamInfo& p : plug.Params())
    if (p.id == kBypassID) bypass = p.id;
  if (bypass.empty()) return std::string("skipped: no ") + kBypassID + " parameter";
  Apply(plug, RandomValues(ctx, plug));
  ctx.Step("rendering bypassed");
  plug.Update(bypass, 1.0);
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  const Signal out = Render(plug, input, m.Outputs(), 512);
  ExpectClean(out, "bypassed");
  if (m.Inputs() == m.Outputs() && plug.Latency() == 0)
    ExpectEqual(input, out, "bypassed, the output is not the input");
  return "";
}

std::string CheckZeroFrames(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  const Signal expected = Render(*NewInstance(ctx, m), input, m.Outputs(), 256);
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  const Signal out = Render(plug, input, m.Outputs(), 256,
                            [&](int)
                            {
                              ctx.Step("a 0-frame render");
                              std::vector<float*> none(8, nullptr);
                              Signal scratch = Signal(static_cast<size_t>(m.Outputs()),
                                                      std::vector<float>(1, 7.0f));
                              std::vector<float*> o;
                              for (auto& c : scratch)
                                o.push_back(c.data());
                              plug.Render(none.data(), o.data(), 0);
                              for (auto& c : scratch)
                                if (c[0] != 7.0f) Fail("a 0-frame render wrote to its output");
                            });
  ExpectEqual(expected, out, "with 0-frame renders between blocks");
  return "";
}

// ---- Level 4 and 5 ----

// Renders on a thread of its own until stopped; fails (after join) with the
// first unclean block.
class RenderThread
{
public:
  RenderThread(PluginInstance& plug, const Signal& input, int outputs)
      : mThread(
            [this, &plug, &input, outputs]
            {
              while (!mStop.load())
              {
                const Signal out = Render(plug, input, outputs, 64);
                try
                {
                  ExpectClean(out, "rendering");
                }
                catch (const std::exception& e)
                {
                  mError = e.what();
                  return;
                }
                mBlocks.fetch_add(1);
              }
            })
  {
  }
  // Joins without reporting: a failure elsewhere is already on its way.
  ~RenderThread()
  {
    mStop = true;
    if (mThread.joinable()) mThread.join();
  }
  // Joins and fails with the render thread's failure, if any.
  void Stop()
  {
    mStop = true;
    if (mThread.joinable()) mThread.join();
    if (!mError.empty()) Fail(std::exchange(mError, std::string()));
  }
  int Blocks() const { return mBlocks.load(); }

private:
  std::atomic<bool> mStop{false};
  std::atomic<int> mBlocks{0};
  std::string mError;
  std::thread mThread;
};

std::string CheckEditorHeadless(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  if (!m.CreateEditor()) return "skipped: the effect has no editor";
  PluginInstance plug(m, 48000.0, kAnnounced);
  plug.Instance().EchoAutomation(true);
  const Signal input = Noise(ctx, m.Inputs(), 512);
  RenderThread render(plug, input, m.Outputs());
  for (int round = 0; round < 3; ++round)
  {
    ctx.Step("opening the editor while rendering");
    AAX_Result r = plug.Instance().OpenEditor(m.CreateEditor());
    if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor did not open", r));
    r = plug.Instance().AttachView(aaxhost::HostInstance::HeadlessView());
    if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor refused the headless view", r));
    AAX_Point size{0, 0};
    plug.Instance().Editor()->GetViewSize(&size);
    if (size.horz <= 0 || size.vert <= 0) Fail("the editor reports no size");
    ctx.Step("host changes reaching the open editor");
    for (const auto& v : RandomValues(ctx, plug))
    {
      plug.Update(v.first, v.second);
      plug.Instance().Editor()->ParameterUpdated(v.first.c_str());
      plug.Instance().Editor()->TimerWakeup();
    }
    ctx.Step("closing the editor while rendering");
    plug.Instance().CloseEditor();
  }
  render.Stop();
  return "";
}

std::string CheckThreadParams(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  const Signal input = Noise(ctx, m.Inputs(), 512);
  std::vector<std::map<std::string, double>> sets;
  for (int i = 0; i < 200; ++i)
    sets.push_back(RandomValues(ctx, plug));
  ctx.Step("parameter changes from a second thread while rendering");
  RenderThread render(plug, input, m.Outputs());
  std::thread changer(
      [&]
      {
        for (const auto& s : sets)
          Apply(plug, s);
      });
  changer.join();
  render.Stop();
  return std::to_string(render.Blocks()) + " signal(s) rendered";
}

std::string CheckThreadChunks(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  if (!HasChunk(plug)) return "skipped: the plug-in keeps no state chunk";
  std::vector<ChunkFile> chunks;
  for (int i = 0; i < 8; ++i)
  {
    Apply(plug, RandomValues(ctx, plug));
    chunks.push_back(plug.SaveChunk());
  }
  const Signal input = Noise(ctx, m.Inputs(), 512);
  ctx.Step("state restores from a second thread while rendering");
  RenderThread render(plug, input, m.Outputs());
  std::thread restorer(
      [&]
      {
        for (int i = 0; i < 200; ++i)
          plug.LoadChunk(chunks[static_cast<size_t>(i) % chunks.size()], "restore");
      });
  restorer.join();
  render.Stop();
  if (Bytes(plug.SaveChunk()) != Bytes(chunks[199 % chunks.size()]))
    Fail("after the restores the plug-in's chunk is not the last one restored");
  return "";
}

// ---- Level 8 ----

// Sets a raw chunk record; AAX result.
AAX_Result SetRaw(PluginInstance& plug, AAX_CTypeID id, const std::vector<char>& data,
                  int32_t claimedSize)
{
  std::vector<char> record(kAAX_SPlugInChunkHeaderSize + data.size() + 1, 0);
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  chunk->fSize = claimedSize;
  chunk->fChunkID = id;
  if (!data.empty()) std::memcpy(chunk->fData, data.data(), data.size());
  return plug.Parameters()->SetChunk(id, chunk);
}

std::string CheckMalformedChunks(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  if (!HasChunk(plug)) return "skipped: the plug-in keeps no state chunk";
  Apply(plug, RandomValues(ctx, plug));
  const ChunkFile good = plug.SaveChunk();
  Apply(plug, RandomValues(ctx, plug));
  const ChunkFile current = plug.SaveChunk();
  struct Case
  {
    std::string name;
    AAX_CTypeID id;
    std::vector<char> data;
  };
  std::vector<Case> cases;
  for (size_t cut : {size_t(0), size_t(1), good.data.size() / 2, good.data.size() - 1})
    if (cut < good.data.size())
      cases.push_back({"truncated to " + std::to_string(cut) + " bytes", good.chunkID,
                       std::vector<char>(good.data.begin(), good.data.begin() + cut)});
  std::vector<char> longer = good.data;
  longer.resize(longer.size() + 64, '\x5a');
  cases.push_back({"extended by 64 bytes", good.chunkID, longer});
  for (int i = 0; i < 32; ++i)
  {
    std::vector<char> bytes(good.data.size() + static_cast<size_t>(ctx.rng() % 32));
    for (char& b : bytes)
      b = static_cast<char>(ctx.rng());
    cases.push_back({"random bytes #" + std::to_string(i + 1), good.chunkID, bytes});
  }
  std::vector<char> flipped = good.data;
  for (size_t i = 0; i < flipped.size(); i += 3)
    flipped[i] = static_cast<char>(flipped[i] ^ 0xFF);
  cases.push_back({"every third byte flipped", good.chunkID, flipped});
  cases.push_back({"another plug-in's identifier", 0x58585858, good.data});
  int refused = 0;
  for (const Case& c : cases)
  {
    ctx.Step("SetChunk of a chunk " + c.name);
    plug.LoadChunk(current, "the plug-in's own chunk");
    const AAX_Result r = SetRaw(plug, c.id, c.data, static_cast<int32_t>(c.data.size()));
    const std::vector<char> after = Bytes(plug.SaveChunk());
    if (r != AAX_SUCCESS)
    {
      ++refused;
      if (after != Bytes(current))
        Fail("a chunk " + c.name + " was refused, yet the state changed");
    }
    else if (c.id != good.chunkID)
      Fail("a chunk " + c.name + " was accepted");
    else
    {
      // Applied: the state must be a whole one, which restores to itself.
      ctx.Step("restoring the state a chunk " + c.name + " left");
      const ChunkFile now = plug.SaveChunk();
      plug.LoadChunk(now, "the plug-in's own chunk");
      if (Bytes(plug.SaveChunk()) != Bytes(now))
        Fail("a chunk " + c.name + " was accepted and left a state that does not restore itself");
    }
    ctx.Step("CompareActiveChunk of a chunk " + c.name);
    std::vector<char> record(kAAX_SPlugInChunkHeaderSize + c.data.size() + 1, 0);
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    chunk->fSize = static_cast<int32_t>(c.data.size());
    chunk->fChunkID = c.id;
    if (!c.data.empty()) std::memcpy(chunk->fData, c.data.data(), c.data.size());
    AAX_CBoolean same = 0;
    plug.Parameters()->CompareActiveChunk(chunk, &same);
  }
  return std::to_string(cases.size()) + " chunks, " + std::to_string(refused) + " refused";
}
std::string CheckEditorX11(CheckContext& ctx)
{
  if (ctx.skipGui) return "skipped: --skip-gui";
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  if (!m.CreateEditor()) return "skipped: the effect has no editor";
  std::unique_ptr<XSession> x;
  try
  {
    ctx.Step("connecting to a display or starting Xvfb");
    x = std::make_unique<XSession>();
  }
  catch (const std::exception& e)
  {
    return std::string("skipped: ") + e.what();
  }
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  // The editor's changes come back to the plug-in as a workstation sends them.
  plug.Instance().EchoAutomation(true);
  const Signal input = Noise(ctx, m.Inputs(), 512);
  RenderThread render(plug, input, m.Outputs());
  ctx.Step("opening the editor in an X11 window while rendering");
  AAX_Result r = plug.Instance().OpenEditor(m.CreateEditor());
  if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor did not open", r));
  AAX_Point size{0, 0};
  plug.Instance().Editor()->GetViewSize(&size);
  const int w = static_cast<int>(size.horz), h = static_cast<int>(size.vert);
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) Fail("the editor reports no usable size");
  x->OpenWindow(w, h, "validate");
  r = plug.Instance().AttachView(x->NativeView());
  if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor refused the window", r));
  if (!x->WaitForEditor(5000)) Fail("the editor showed no window within 5 s");
  x->Pump(200);
  // Without knowing where the controls are, click a grid over the whole view;
  // a parameter counts once the host saw a click change it.
  std::vector<ParamInfo> last = plug.Params();
  std::set<std::string> reached;
  const int stepX = std::max(1, w / 12), stepY = std::max(1, h / 8);
  int clicks = 0;
  for (int y = stepY / 2; y < h; y += stepY)
    for (int cx = stepX / 2; cx < w; cx += stepX)
    {
      ctx.Step("a click at " + std::to_string(cx) + "," + std::to_string(y));
      x->Click(cx, y);
      x->Pump(20);
      ++clicks;
      const std::vector<ParamInfo> now = plug.Params();
      for (size_t i = 0; i < now.size() && i < last.size(); ++i)
        if (now[i].value != last[i].value) reached.insert(now[i].id);
      last = now;
    }
  const int changed = static_cast<int>(reached.size());
  const bool any = !last.empty();
  ctx.Step("closing the editor while rendering");
  plug.Instance().CloseEditor();
  render.Stop();
  if (changed == 0 && any)
    Fail(std::to_string(clicks) + " clicks over the editor changed no parameter");
  return std::to_string(clicks) + " clicks, " + std::to_string(changed) + " parameter(s) changed";
}

// ---- Level 6 ----

std::string CheckFuzzedValues(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  AAX_IACFEffectParameters* p = plug.Parameters();
  const Signal input = Noise(ctx, m.Inputs(), 256);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  int refused = 0, tried = 0;
  for (const ParamInfo& info : plug.Params())
  {
    if (info.id == kBypassID) continue;
    for (double v : {0.0, 1.0, -1e-9, 1.0 + 1e-9, -0.5, 2.0, nan, inf, -inf, ctx.Uniform()})
    {
      const std::string where = "parameter " + info.id + " set to " + Num(v);
      ctx.Step(where);
      if (p->UpdateParameterNormalizedValue(info.id.c_str(), v, AAX_EUpdateSource(0)) !=
          AAX_SUCCESS)
        ++refused;
      ++tried;
      double now = -1.0;
      p->GetParameterNormalizedValue(info.id.c_str(), &now);
      if (!(now >= 0.0 && now <= 1.0)) Fail(where + ": it now holds " + Num(now));
      ExpectClean(Render(plug, input, m.Outputs(), 256), where);
    }
    for (int i = 0; i < 50; ++i)
    {
      std::string text(ctx.rng() % 24, ' ');
      for (char& c : text)
        c = static_cast<char>(32 + ctx.rng() % 95);
      if (i % 5 == 0) text = Num(ctx.Uniform() * 1e12 - 5e11);
      const std::string where = "parameter " + info.id + " from text \"" + text + "\"";
      ctx.Step(where);
      double v = -1.0;
      if (p->GetParameterValueFromString(info.id.c_str(), &v, AAX_CString(text)) == AAX_SUCCESS &&
          !(v >= 0.0 && v <= 1.0))
        Fail(where + ": read as " + Num(v));
      ++tried;
    }
  }
  return std::to_string(tried) + " value(s) and texts, " + std::to_string(refused) + " refused";
}

std::string CheckEditorOpenClose(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  if (!m.CreateEditor()) return "skipped: the effect has no editor";
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  const Signal input = Noise(ctx, m.Inputs(), 256);
  RenderThread render(plug, input, m.Outputs());
  for (int round = 1; round <= 20; ++round)
  {
    ctx.Step("opening and closing the editor while rendering, round " + std::to_string(round));
    const AAX_Result r = plug.Instance().OpenEditor(m.CreateEditor());
    if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor did not open", r));
    if (round % 2) plug.Instance().AttachView(aaxhost::HostInstance::HeadlessView());
    plug.Instance().CloseEditor();
  }
  render.Stop();
  return "";
}

// ---- Level 7 ----

std::string CheckThreeThreads(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
  PluginInstance& plug = *instance;
  const bool chunks = HasChunk(plug);
  const bool editor = m.CreateEditor() != nullptr;
  if (editor)
  {
    const AAX_Result r = plug.Instance().OpenEditor(m.CreateEditor());
    if (r != AAX_SUCCESS) Fail(aaxhost::WithCode("the editor did not open", r));
    plug.Instance().AttachView(aaxhost::HostInstance::HeadlessView());
  }
  std::vector<std::map<std::string, double>> sets;
  for (int i = 0; i < 64; ++i)
    sets.push_back(RandomValues(ctx, plug));
  const Signal input = Noise(ctx, m.Inputs(), 64);
  std::atomic<bool> stop{false};
  std::string failure;
  std::mutex failureMutex;
  auto guard = [&](const std::function<void()>& body)
  {
    return [&, body]
    {
      try
      {
        body();
      }
      catch (const std::exception& e)
      {
        std::lock_guard<std::mutex> lock(failureMutex);
        if (failure.empty()) failure = e.what();
      }
    };
  };
  ctx.Step("500 blocks with host updates, editor notifications and chunks from three threads");
  std::thread host(guard(
      [&]
      {
        for (size_t i = 0; !stop.load(); ++i)
        {
          for (const auto& v : sets[i % sets.size()])
          {
            plug.Update(v.first, v.second);
            if (editor) plug.Instance().Editor()->ParameterUpdated(v.first.c_str());
          }
        }
      }));
  std::thread state(guard(
      [&]
      {
        while (chunks && !stop.load())
          plug.LoadChunk(plug.SaveChunk(), "the plug-in's own chunk");
      }));
  try
  {
    for (int block = 0; block < 500; ++block)
      ExpectClean(Render(plug, input, m.Outputs(), 64), "block " + std::to_string(block + 1));
  }
  catch (...)
  {
    stop = true;
    host.join();
    state.join();
    throw;
  }
  stop = true;
  host.join();
  state.join();
  if (!failure.empty()) Fail(failure);
  if (editor) plug.Instance().CloseEditor();
  if (chunks)
  {
    const ChunkFile now = plug.SaveChunk();
    plug.LoadChunk(now, "the plug-in's own chunk");
    if (Bytes(plug.SaveChunk()) != Bytes(now))
      Fail("after the three threads the state does not restore itself");
  }
  return "";
}

// ---- Level 8 (frames) ----

std::string CheckOversizedAndMissing(CheckContext& ctx)
{
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  ctx.Step("creating an instance announced 256 frames");
  PluginInstance plug(m, 48000.0, 256);
  const Signal input = Noise(ctx, m.Inputs(), 4096);
  for (int block : {257, 1024, 4096})
  {
    ctx.Step("a render of " + std::to_string(block) + " frames, 256 announced");
    ExpectClean(Render(plug, input, m.Outputs(), block),
                std::to_string(block) + " frames with 256 announced");
  }
  ctx.Step("a render without input and output buffers");
  plug.Render(nullptr, nullptr, 64);
  ExpectClean(Render(plug, input, m.Outputs(), 256), "after renders without buffers");
  return "";
}

// ---- Level 9 ----

std::string CheckNoAllocation(CheckContext& ctx)
{
  if (!AllocationsCountable()) return "skipped: the allocator cannot be counted in this build";
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  std::string counts;
  for (int block : kBlocks)
  {
    const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
    PluginInstance& plug = *instance;
    const std::vector<std::map<std::string, double>> points = {RandomValues(ctx, plug),
                                                               RandomValues(ctx, plug)};
    ctx.Step("counting allocations at block " + std::to_string(block));
    ResetAllocations();
    Render(
        plug, input, m.Outputs(), block,
        [&](int f)
        {
          if (f % 512 == 0) Apply(plug, points[static_cast<size_t>(f / 512) % 2]);
        },
        true);
    const unsigned long made = Allocations();
    if (made)
    {
      const std::string site = FirstAllocationSite();
      Fail("block " + std::to_string(block) + ": " + std::to_string(made) +
           " allocation(s) on the render thread in " + std::to_string(kFrames / block) +
           " render calls" + (site.empty() ? std::string() : ", the first in " + site));
    }
  }
  return "";
}
} // namespace

const std::vector<Check>& ValidateChecks()
{
  static const std::vector<Check> checks = {
      {"description", 1, CheckDescription},
      {"unload-and-reload", 1, CheckUnloadReload},
      {"instance-life-1", 2, [](CheckContext& c) { return Instances(c, 1); }},
      {"instance-life-8", 2, [](CheckContext& c) { return Instances(c, 8); }},
      {"parameters", 2, CheckParameters},
      {"value-strings", 2, CheckValueStrings},
      {"chunk-round-trip", 2, CheckChunkRoundTrip},
      {"render-rates-blocks", 3, CheckRenderRates},
      {"automation", 3, CheckAutomation},
      {"bypass", 3, CheckBypass},
      {"zero-frame-renders", 3, CheckZeroFrames},
      {"editor-headless", 4, CheckEditorHeadless},
      {"editor-x11", 5, CheckEditorX11},
      {"thread-parameters", 5, CheckThreadParams},
      {"thread-state-restore", 5, CheckThreadChunks},
      {"fuzzed-values", 6, CheckFuzzedValues},
      {"editor-open-close", 6, CheckEditorOpenClose},
      {"three-threads", 7, CheckThreeThreads},
      {"oversized-and-missing", 8, CheckOversizedAndMissing},
      {"malformed-chunks", 8, CheckMalformedChunks},
      {"no-render-allocation", 9, CheckNoAllocation},
  };
  return checks;
}
} // namespace aaxtool

// The checks of aaxhost validate for AAX modules, by level, and their table:
// 1 the module's life, 2 instances, parameters and state, 3 rendering, 5 a
// second thread while rendering, 6 fuzzed values, 7 three threads, 8
// oversized renders and malformed chunks (the editor's are in
// ValidateEditor.cpp, level 9's in ValidateRealtime.cpp). Each check loads
// the bundle itself, so each runs alone in its process.
#include "ValidateAax.h"

#include "AAX_CString.h"
#include "AAX_DescriptionTypes.h"
#include "AAX_Errors.h"
#include "AAX_SPlugInChunk.h"
#include "ToolError.h"

#include <sys/stat.h>

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

// ---- Level 5 ----

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

// ---- Level 8 ----

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

const std::vector<Check>& AaxChecks()
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
      {"no-render-lock", 9, CheckNoLock},
      {"no-render-system-call", 9, CheckNoSystemCall},
  };
  return checks;
}

bool AcceptsAny(const std::string&) { return true; }

// A path that is not there is the command line's mistake, not a failing check.
void RequireBundle(const std::string& target)
{
  struct stat st;
  if (stat(target.c_str(), &st) != 0) Fail(target + ": no such bundle or module");
}
} // namespace

CheckFormat AaxCheckFormat() { return {"AAX", AcceptsAny, RequireBundle, AaxChecks}; }
} // namespace aaxtool

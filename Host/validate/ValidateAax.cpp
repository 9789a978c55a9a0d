// What the checks of AAX modules share.
#include "ValidateAax.h"

#include "AAX_Errors.h"
#include "Probes.h"
#include "ToolError.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace aaxtool
{
Signal Render(PluginInstance& plug, const Signal& input, int outputs, int block,
              const std::function<void(int)>& atFrame, unsigned probes)
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
    if (probes & kProbeAllocations) CountAllocations(true);
    if (probes & kProbeLocks) WatchLocks(LockWatch::kRender);
    if (probes & kProbeSystemCalls) CountSystemCalls(true);
    plug.Render(in.data(), o.data(), n);
    if (probes & kProbeSystemCalls) CountSystemCalls(false);
    if (probes & kProbeLocks) WatchLocks(LockWatch::kOff);
    if (probes & kProbeAllocations) CountAllocations(false);
  }
  return out;
}

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

std::unique_ptr<PluginInstance> NewInstance(CheckContext& ctx, const LoadedModule& m, double rate)
{
  ctx.Step("creating and initialising an instance at " + Num(rate) + " Hz");
  return std::make_unique<PluginInstance>(m, rate, kAnnounced);
}

RenderThread::RenderThread(PluginInstance& plug, const Signal& input, int outputs)
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

RenderThread::~RenderThread()
{
  mStop = true;
  if (mThread.joinable()) mThread.join();
}

void RenderThread::Stop()
{
  mStop = true;
  if (mThread.joinable()) mThread.join();
  if (!mError.empty()) Fail(std::exchange(mError, std::string()));
}
} // namespace aaxtool

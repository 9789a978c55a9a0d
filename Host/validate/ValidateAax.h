// The validate checks for AAX modules: what they share (the rates and block
// sizes, rendering in blocks, optionally counting what the render calls do,
// random parameter values, a render thread that runs beside a check), the
// checks kept in files of their own, and the format's entry in the table.
#pragma once

#include "Plugin.h"
#include "ValidateSupport.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace aaxtool
{
inline constexpr double kRates[] = {44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
inline constexpr int kBlocks[] = {1, 32, 64, 100, 512, 1024};
inline constexpr int kFrames = 4096; // frames rendered per configuration
// The host's bypass parameter: random values leave it off, or half of the
// rendering checks would never reach the plug-in's processing.
inline constexpr char kBypassID[] = "MasterBypassID";

// Renders input through plug in blocks of block frames; before the block
// that starts at frame f, atFrame(f) may change parameters (not counted).
Signal Render(PluginInstance& plug, const Signal& input, int outputs, int block,
              const std::function<void(int)>& atFrame = nullptr, unsigned probes = kProbeNone);

// Random normalised values for every automatable parameter but the bypass,
// by identifier; discrete ones on their steps.
std::map<std::string, double> RandomValues(CheckContext& ctx, const PluginInstance& plug);
void Apply(PluginInstance& plug, const std::map<std::string, double>& values);

// A chunk's bytes with its identifier, to compare whole states.
std::vector<char> Bytes(const ChunkFile& c);
bool HasChunk(const PluginInstance& plug);

std::unique_ptr<LoadedModule> Load(CheckContext& ctx);
std::unique_ptr<PluginInstance> NewInstance(CheckContext& ctx, const LoadedModule& m,
                                            double rate = 48000.0);

// Renders 64-frame blocks on a thread of its own until stopped; fails
// (after join) with the first unclean block.
class RenderThread
{
public:
  RenderThread(PluginInstance& plug, const Signal& input, int outputs);
  // Joins without reporting: a failure elsewhere is already on its way.
  ~RenderThread();
  // Joins and fails with the render thread's failure, if any.
  void Stop();
  int Blocks() const { return mBlocks.load(); }

private:
  std::atomic<bool> mStop{false};
  std::atomic<int> mBlocks{0};
  std::string mError;
  std::thread mThread;
};

// Checks kept in files of their own.
std::string CheckEditorHeadless(CheckContext& ctx);
std::string CheckEditorX11(CheckContext& ctx);
std::string CheckEditorOpenClose(CheckContext& ctx);
std::string CheckNoAllocation(CheckContext& ctx);
std::string CheckNoLock(CheckContext& ctx);
std::string CheckNoSystemCall(CheckContext& ctx);

// Any target no other format accepts is taken for a module bundle or its .so.
CheckFormat AaxCheckFormat();
} // namespace aaxtool

// The real-time checks of validate (level 9): what the render thread does
// while it renders, at every block size. Nothing there may allocate, take a
// lock other than the plug-in mutex, wait, or make a system call.
#include "ValidateAax.h"

#include "Probes.h"
#include "ToolError.h"

#include <iterator>
#include <thread>

namespace aaxtool
{
namespace
{
int CallsAt(int block) { return (kFrames + block - 1) / block; }
std::string Calls(int block) { return std::to_string(CallsAt(block)) + " render calls"; }
// The render calls of a check over every block size.
std::string AllCalls()
{
  int n = 0;
  for (int block : kBlocks)
    n += CallsAt(block);
  return std::to_string(n) + " render calls at " + std::to_string(std::size(kBlocks)) +
         " block sizes";
}

// Renders the check's signal through plug at block, with one of two sets of
// random values applied every 512 frames between the calls; probes count
// what the render calls themselves do.
void RenderWithChanges(CheckContext& ctx, const LoadedModule& m, PluginInstance& plug,
                       const Signal& input, int block, unsigned probes)
{
  const std::vector<std::map<std::string, double>> points = {RandomValues(ctx, plug),
                                                             RandomValues(ctx, plug)};
  Render(
      plug, input, m.Outputs(), block,
      [&](int f)
      {
        if (f % 512 == 0) Apply(plug, points[static_cast<size_t>(f / 512) % 2]);
      },
      probes);
}

std::string Site(const void* caller)
{
  void* frame = const_cast<void*>(caller);
  const std::string s = NameFrames(&frame, 1);
  return s.empty() ? "an unnamed caller" : s;
}

// The plug-in mutex among the locks the render calls took: the first mutex
// the plug-in also took when the host called in from another thread, or
// else the first mutex at all. Null when no mutex was taken.
const LockUse* PluginMutex(const LockReport& r)
{
  for (const LockUse& u : r.render)
    for (const LockUse& h : r.host)
      if (u.mutex && u.lock == h.lock) return &u;
  for (const LockUse& u : r.render)
    if (u.mutex) return &u;
  return nullptr;
}
} // namespace

std::string CheckNoAllocation(CheckContext& ctx)
{
  if (!AllocationsCountable()) return "skipped: the allocator cannot be counted in this build";
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  for (int block : kBlocks)
  {
    const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
    ctx.Step("counting allocations at block " + std::to_string(block));
    ResetAllocations();
    RenderWithChanges(ctx, m, *instance, input, block, kProbeAllocations);
    const unsigned long made = Allocations();
    if (made)
    {
      const std::string site = FirstAllocationSite();
      Fail("block " + std::to_string(block) + ": " + std::to_string(made) +
           " allocation(s) on the render thread in " + Calls(block) +
           (site.empty() ? std::string() : ", the first in " + site));
    }
  }
  return "none in " + AllCalls();
}

std::string CheckNoLock(CheckContext& ctx)
{
  if (!LocksCountable()) return "skipped: locks cannot be counted in this build";
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  unsigned long taken = 0;
  bool hostToo = false;
  for (int block : kBlocks)
  {
    const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
    PluginInstance& plug = *instance;
    ResetLocks();
    // The plug-in mutex is the one the plug-in takes when the host calls in
    // from another thread, as a workstation's control thread does.
    ctx.Step("host calls from another thread, block " + std::to_string(block));
    const std::map<std::string, double> values = RandomValues(ctx, plug);
    std::exception_ptr error;
    std::thread host(
        [&]
        {
          WatchLocks(LockWatch::kHostCall);
          try
          {
            Apply(plug, values);
            if (HasChunk(plug)) plug.LoadChunk(plug.SaveChunk(), "the plug-in's own chunk");
          }
          catch (...)
          {
            error = std::current_exception();
          }
          WatchLocks(LockWatch::kOff);
        });
    host.join();
    if (error) std::rethrow_exception(error);
    ctx.Step("counting locks at block " + std::to_string(block));
    RenderWithChanges(ctx, m, plug, input, block, kProbeLocks);
    const LockReport r = Locks();
    const std::string where = "block " + std::to_string(block) + ": ";
    if (r.waits)
      Fail(where + std::to_string(r.waits) + " lock wait(s) on the render thread in " +
           Calls(block) + " with nothing else running, the first in " + r.firstWait.op + " from " +
           Site(r.firstWait.caller));
    const LockUse* mutex = PluginMutex(r);
    for (const LockUse& u : r.render)
      if (&u != mutex)
        Fail(where + "a lock on the render thread besides the plug-in mutex: " + u.op + " from " +
             Site(u.caller) + ", " + std::to_string(u.count) + " time(s) in " + Calls(block));
    if (mutex)
    {
      taken += mutex->count;
      for (const LockUse& h : r.host)
        if (h.lock == mutex->lock) hostToo = true;
    }
  }
  if (!taken) return "none in " + AllCalls();
  return std::string("the plug-in's one mutex") +
         (hostToo ? " (the one host calls take too)" : "") + " " + std::to_string(taken) +
         " time(s) without a wait, nothing else in " + AllCalls();
}

std::string CheckNoSystemCall(CheckContext& ctx)
{
  if (!SystemCallsCountable()) return "skipped: system calls cannot be trapped in this build";
  const std::unique_ptr<LoadedModule> module = Load(ctx);
  LoadedModule& m = *module;
  const Signal input = Noise(ctx, m.Inputs(), kFrames);
  for (int block : kBlocks)
  {
    const std::unique_ptr<PluginInstance> instance = NewInstance(ctx, m);
    ctx.Step("counting system calls at block " + std::to_string(block));
    ResetSystemCalls();
    RunTrappingSystemCalls(
        [&] { RenderWithChanges(ctx, m, *instance, input, block, kProbeSystemCalls); });
    if (const unsigned long made = SystemCalls())
      Fail("block " + std::to_string(block) + ": " + std::to_string(made) +
           " system call(s) on the render thread in " + Calls(block) + ", the first " +
           FirstSystemCall());
  }
  return "none in " + AllCalls();
}
} // namespace aaxtool

// aaxhost validate: what a plug-in developer runs before shipping. Checks,
// each with the lowest level where it makes sense, run one at a time in a
// child process so a crash, a hang or an abort of the plug-in becomes a
// failed check naming what was running, not a crash of the tool.
#pragma once

#include "ToolError.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace CLI
{
class App;
}

namespace aaxtool
{
struct ValidateOptions
{
  std::string bundle;
  int level = 5;
  uint64_t seed = 0;
  bool seedGiven = false;
  int repeat = 0; // 0: once, or 10 times at level 10
  bool skipGui = false;
  bool inProcess = false;
  bool json = false;
  bool strict = false;          // warnings fail the run
  std::vector<std::string> only; // these checks alone, whatever their level
  double timeoutSeconds = 30.0; // per check
};
int RunValidate(const ValidateOptions& o);
// The validate subcommand on app, filling o when parsed.
CLI::App* AddValidate(CLI::App& app, ValidateOptions& o);

// What a check sees. Step() names what runs now: a crash or a hang is
// reported with the last step named. Random choices come from rng only.
struct CheckContext
{
  std::string bundle;
  bool skipGui = false;
  std::mt19937_64 rng;
  std::function<void(const std::string&)> step;
  void Step(const std::string& what) const
  {
    if (step) step(what);
  }
  double Uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng); }
};

// What a check found that no rule of the plug-in format forbids (extra
// exported symbols, output that depends on the block size): printed as a
// warning that leaves the run passing, a failure under --strict. [any]
class Advisory : public ToolError
{
public:
  using ToolError::ToolError;
};
[[noreturn]] inline void Warn(const std::string& what) { throw Advisory(what); }

struct Check
{
  const char* name;
  int level;
  // Throws ToolError with what failed; a check that cannot apply (no editor,
  // no display) returns "skipped: why"; an advisory finding throws Advisory.
  std::function<std::string(CheckContext&)> run;
  // Set where the plug-in format allows a plug-in to crash on what the check
  // gives it: a crash, hang or exit of the check's process is then a
  // warning, with this note after the line.
  const char* crashNote = nullptr;
};
const std::vector<Check>& ValidateChecks();

// Allocations made by threads while they count (the tool interposes the
// allocator; false in sanitizer builds, which keep their own). [any]
bool AllocationsCountable();
void CountAllocations(bool on); // for the calling thread
unsigned long Allocations();
void ResetAllocations();
// The function that made the first allocation counted since the reset (the
// first named frame above the allocator), or empty.
std::string FirstAllocationSite();

// Up to three frames of a call stack from frames[from] on, named for the
// reader: "function" when the symbol is visible, else "file+0xoffset" (for
// addr2line), joined by " < ". Frames in the C library are left out. [any]
std::string NameFrames(void* const* frames, int depth, int from = 0);

// Lock operations (pthread mutexes, read-write and spin locks, condition and
// semaphore waits) made by anything but the tool itself, on threads that
// watch (the tool interposes the functions; false in sanitizer builds).
bool LocksCountable();
enum class LockWatch
{
  kOff,
  kRender,   // the render thread while it renders
  kHostCall, // a host thread calling into the plug-in
};
void WatchLocks(LockWatch what); // for the calling thread [any]
struct LockUse
{
  const void* lock = nullptr; // the lock object
  const char* op = nullptr;   // the first function that took it
  unsigned long count = 0;
  const void* caller = nullptr; // where that first call came from
  bool mutex = false;
};
constexpr int kMaxLocksSeen = 16; // distinct lock objects per kind of thread
struct LockReport
{
  std::vector<LockUse> render, host; // distinct locks, in the order first taken
  unsigned long waits = 0;           // render-thread calls that had to wait
  LockUse firstWait;
};
void ResetLocks();
LockReport Locks(); // allocates: not while watching

// System calls of a thread, trapped by a seccomp filter of its own (the
// tool's trap handler performs each one and goes on). False in sanitizer
// builds and where the kernel offers no filters.
bool SystemCallsCountable();
// Runs body on a new thread under the trap and joins it; body's exception
// comes back. Fails when the filter cannot be installed. [host]
void RunTrappingSystemCalls(const std::function<void()>& body);
// On the trapping thread: counts its system calls, except those the tool
// itself makes (the first frame outside the C library is the tool's).
void CountSystemCalls(bool on);
unsigned long SystemCalls();
void ResetSystemCalls();
// "name (number) in site" for the first counted call since the reset.
std::string FirstSystemCall();
} // namespace aaxtool

// What a plug-in does on a thread while it is watched: allocations, lock
// operations and system calls. The executable interposes the allocator and
// the lock functions (its definitions win over the C library's for a loaded
// plug-in too, once exported: probes.cmake) and traps system calls with a
// seccomp filter. Sanitizer builds keep their own allocator and lock
// functions, so nothing is countable there.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace aaxtool
{
// Allocations made by threads while they count (false in sanitizer builds,
// which keep their own allocator). [any]
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
// semaphore waits) made by anything but the executable itself, on threads
// that watch (false in sanitizer builds).
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
  bool blocking = false; // taken at least once by a call that may block (not a try)
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
// trap handler performs each one and goes on). False in sanitizer builds
// and where the kernel offers no filters.
bool SystemCallsCountable();
// Runs body on a new thread under the trap and joins it; body's exception
// comes back. Fails when the filter cannot be installed. [host]
void RunTrappingSystemCalls(const std::function<void()>& body);
// On the trapping thread: counts its system calls, except those the
// executable itself makes (the first frame outside the C library is its).
void CountSystemCalls(bool on);
unsigned long SystemCalls();
void ResetSystemCalls();
// "name (number) in site" for the first counted call since the reset.
std::string FirstSystemCall();
} // namespace aaxtool

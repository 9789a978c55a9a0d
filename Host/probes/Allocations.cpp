// Allocation counting for validate: the tool's own malloc family, in front of
// the C library's, so allocations of a loaded plug-in are seen too. Only the
// thread that turned counting on is counted, so a check counts exactly what
// its render calls allocate. Sanitizer builds keep their own allocator.
#include "Probes.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QV_VALIDATE_NO_INTERPOSE 1
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QV_VALIDATE_NO_INTERPOSE 1
#endif
#endif

namespace
{
std::atomic<unsigned long> gAllocations{0};
// Initial-exec thread-local storage: reading it never allocates.
__thread bool tCounting = false;

// Where the first counted allocation came from, to name it in the failure.
constexpr int kFrames = 10;
void* gFirst[kFrames];
int gFirstDepth = 0;

bool InRuntime(const char* file)
{
  return std::strstr(file, "libstdc++") || std::strstr(file, "libc.so") ||
         std::strstr(file, "libgcc_s") || std::strstr(file, "libm.so");
}

// Counts an allocation unless the tool itself made it: a plug-in calling
// back into the host (a controller query, a trace) may make the host
// allocate, which is the host's doing, not the plug-in's. The first frame
// above the allocator and the C++ runtime decides.
inline void Count()
{
  if (!tCounting) return;
  tCounting = false; // backtrace and dladdr must not count
  void* frames[kFrames];
  const int depth = backtrace(frames, kFrames);
  Dl_info self{};
  dladdr(reinterpret_cast<void*>(&InRuntime), &self);
  bool plugins = true;
  for (int i = 1; i < depth; ++i)
  {
    Dl_info info{};
    if (!dladdr(frames[i], &info) || !info.dli_fname) continue;
    if (InRuntime(info.dli_fname)) continue;
    if (info.dli_fbase == self.dli_fbase)
    {
      // The allocator functions themselves are the tool's too.
      if (info.dli_saddr == reinterpret_cast<void*>(&malloc) ||
          info.dli_saddr == reinterpret_cast<void*>(&calloc) ||
          info.dli_saddr == reinterpret_cast<void*>(&realloc))
        continue;
      plugins = false;
    }
    break;
  }
  if (plugins && gAllocations.fetch_add(1, std::memory_order_relaxed) == 0)
  {
    for (int i = 0; i < depth; ++i)
      gFirst[i] = frames[i];
    gFirstDepth = depth;
  }
  tCounting = true;
}
} // namespace

namespace aaxtool
{
bool AllocationsCountable()
{
#ifdef QV_VALIDATE_NO_INTERPOSE
  return false;
#else
  return true;
#endif
}
void CountAllocations(bool on)
{
  static const bool warm = []
  {
    // The first backtrace loads the unwinder, which allocates.
    void* frames[2];
    return backtrace(frames, 2) > 0;
  }();
  (void)warm;
  tCounting = on;
}
unsigned long Allocations() { return gAllocations.load(); }
void ResetAllocations()
{
  gAllocations = 0;
  gFirstDepth = 0;
}

std::string FirstAllocationSite()
{
  // Frame 0 is Count's caller (malloc); NameFrames skips the allocator.
  return NameFrames(gFirst, gFirstDepth, 1);
}

std::string NameFrames(void* const* frames, int depth, int from)
{
  std::string out;
  int named = 0;
  for (int i = from; i < depth && named < 3; ++i)
  {
    Dl_info info{};
    if (!dladdr(frames[i], &info) || !info.dli_fname) continue;
    const std::string file = info.dli_fname;
    if (file.find("/libc.so") != std::string::npos) continue;
    if (!info.dli_sname)
    {
      // A hidden function: its binary and offset, for addr2line.
      char offset[32];
      std::snprintf(offset, sizeof offset, "+0x%lx",
                    static_cast<unsigned long>(static_cast<char*>(frames[i]) -
                                               static_cast<char*>(info.dli_fbase)));
      out += (out.empty() ? "" : " < ") + file.substr(file.rfind('/') + 1) + offset;
      ++named;
      continue;
    }
    int status = 0;
    char* name = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
    std::string n = status == 0 && name ? name : info.dli_sname;
    std::free(name);
    if (n == "malloc" || n == "calloc" || n == "realloc" || n.rfind("operator new", 0) == 0)
      continue;
    out += (out.empty() ? "" : " < ") + n;
    ++named;
  }
  return out;
}
} // namespace aaxtool

#ifndef QV_VALIDATE_NO_INTERPOSE
extern "C"
{
  void* __libc_malloc(size_t);
  void* __libc_calloc(size_t, size_t);
  void* __libc_realloc(void*, size_t);
  void* __libc_memalign(size_t, size_t);

  void* malloc(size_t n)
  {
    Count();
    return __libc_malloc(n);
  }
  void* calloc(size_t n, size_t size)
  {
    Count();
    return __libc_calloc(n, size);
  }
  void* realloc(void* p, size_t n)
  {
    Count();
    return __libc_realloc(p, n);
  }
  void* aligned_alloc(size_t alignment, size_t n)
  {
    Count();
    return __libc_memalign(alignment, n);
  }
  void* memalign(size_t alignment, size_t n)
  {
    Count();
    return __libc_memalign(alignment, n);
  }
  int posix_memalign(void** out, size_t alignment, size_t n)
  {
    Count();
    void* p = __libc_memalign(alignment, n);
    if (!p) return 12; // ENOMEM
    *out = p;
    return 0;
  }
}
#endif

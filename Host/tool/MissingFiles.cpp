#include "MissingFiles.h"

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace aaxtool
{
namespace
{
std::atomic<bool> sWatching{false};
std::mutex sMutex;
std::vector<std::string>* sMissing = nullptr; // under sMutex; never destroyed

#ifdef QV_MISSING_FILES_HOOK
void Remember(const char* path)
{
  if (!path || !std::strstr(path, "/Resources/")) return;
  std::lock_guard<std::mutex> lock(sMutex);
  if (!sMissing) sMissing = new std::vector<std::string>;
  if (std::find(sMissing->begin(), sMissing->end(), path) == sMissing->end())
    sMissing->push_back(path);
}

using OpenFn = FILE* (*)(const char*, const char*);

FILE* Open(const char* name, const char* path, const char* mode)
{
  static const OpenFn fopenNext = reinterpret_cast<OpenFn>(dlsym(RTLD_NEXT, "fopen"));
  static const OpenFn fopen64Next = reinterpret_cast<OpenFn>(dlsym(RTLD_NEXT, "fopen64"));
  const OpenFn next = name[5] == '6' ? fopen64Next : fopenNext;
  FILE* f = next(path, mode);
  if (!f && errno == ENOENT && sWatching.load(std::memory_order_relaxed))
  {
    Remember(path);
    errno = ENOENT;
  }
  return f;
}
#endif
} // namespace

bool CanWatchMissingFiles()
{
#ifdef QV_MISSING_FILES_HOOK
  return true;
#else
  return false;
#endif
}

void WatchMissingFiles(bool on) { sWatching.store(on); }

std::vector<std::string> MissingFiles()
{
  std::lock_guard<std::mutex> lock(sMutex);
  return sMissing ? *sMissing : std::vector<std::string>{};
}
} // namespace aaxtool

#ifdef QV_MISSING_FILES_HOOK
extern "C" FILE* fopen(const char* path, const char* mode)
{
  return aaxtool::Open("fopen", path, mode);
}
extern "C" FILE* fopen64(const char* path, const char* mode)
{
  return aaxtool::Open("fopen64", path, mode);
}
#endif

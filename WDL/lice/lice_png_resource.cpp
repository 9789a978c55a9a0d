// Pictures from the bundle's resources: Resources/<name> beside the folder
// of the module file this code was loaded from.

#include "lice.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace
{
constexpr size_t kPathMax = 1536;
constexpr size_t kNameMax = 400;

// The file this library's code was loaded from: the module when linked into
// one, else the program itself.
bool ModulePath(char* out, size_t size)
{
  Dl_info info;
  std::memset(&info, 0, sizeof(info));
  if (dladdr(reinterpret_cast<void*>(&LICE_LoadPNGFromNamedResource), &info) && info.dli_fname &&
      std::strchr(info.dli_fname, '/'))
  {
    if (std::strlen(info.dli_fname) >= size) return false;
    std::strcpy(out, info.dli_fname);
    return true;
  }
  // The main program may be reported by the bare name it was started with.
  const ssize_t n = readlink("/proc/self/exe", out, size - 1);
  if (n <= 0) return false;
  out[n] = '\0';
  return true;
}
} // namespace

LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp)
{
  if (!name || std::strlen(name) > kNameMax) return nullptr;
  char path[kPathMax];
  if (!ModulePath(path, sizeof(path))) return nullptr;
  char* slash = std::strrchr(path, '/');
  if (!slash) return nullptr;
  slash[1] = '\0';
  const size_t used = std::strlen(path);
  const int n = std::snprintf(path + used, sizeof(path) - used, "../Resources/%s", name);
  if (n < 0 || static_cast<size_t>(n) >= sizeof(path) - used) return nullptr;
  return LICE_LoadPNG(path, bmp);
}

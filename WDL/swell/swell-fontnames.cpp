// Requested font names to font files, through fontconfig.

#include "swell-font.h"
#include "swell-utf8.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>

namespace
{
struct Resolved
{
  bool mOk;
  std::string mFile;
  int mIndex;
};

// fontconfig is only ever called under this mutex, so its configuration is
// loaded once and the cache and the library see one caller at a time.
std::mutex sNameLock;
std::map<std::string, Resolved>& NameCache()
{
  static std::map<std::string, Resolved> cache;
  return cache;
}

bool StripSuffix(std::string& s, const char* suffix)
{
  const std::string suf(suffix);
  if (s.size() < suf.size() || s.compare(s.size() - suf.size(), suf.size(), suf) != 0)
    return false;
  s.erase(s.size() - suf.size());
  return true;
}

Resolved Match(const std::string& requested)
{
  // The family is added as a plain string, never parsed as a fontconfig
  // pattern, so names with ':' or '-' cannot smuggle in other properties.
  std::string family = requested;
  const bool italic = StripSuffix(family, " Italic");
  const bool bold = StripSuffix(family, " Bold");
  if (family.empty()) family = "sans-serif";

  Resolved r{false, std::string(), 0};
  FcPattern* pat = FcPatternCreate();
  if (!pat) return r;
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (bold) FcPatternAddInteger(pat, FC_WEIGHT, FC_WEIGHT_BOLD);
  if (italic) FcPatternAddInteger(pat, FC_SLANT, FC_SLANT_ITALIC);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult res = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pat, &res);
  if (match)
  {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
    {
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
      r = Resolved{true, reinterpret_cast<const char*>(file), index};
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pat);
  return r;
}
} // namespace

bool SWELL_ResolveFontName(const std::string& name, std::string* file, int* index)
{
  std::lock_guard<std::mutex> lock(sNameLock);
  auto& cache = NameCache();
  auto it = cache.find(name);
  if (it == cache.end())
    it = cache.emplace(name, Match(SWELL_ToUTF8(name.data(), name.size()))).first;
  if (!it->second.mOk) return false;
  *file = it->second.mFile;
  *index = it->second.mIndex;
  return true;
}

#include "Module.h"

#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "ElfCheck.h"
#include "HostCollection.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <set>
#include <vector>

namespace aaxhost
{
namespace
{
// Binaries loaded in this process (by real path): the dynamic loader would hand
// a second load the same instance, whose start-up and registration already ran.
std::mutex sLoadedMutex;
std::set<std::string> sLoaded;

bool IsDirectory(const std::string& p)
{
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& p)
{
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string RealPath(const std::string& p)
{
  char buf[PATH_MAX];
  return ::realpath(p.c_str(), buf) ? std::string(buf) : p;
}

// The binary of a bundle folder: Contents/x86_64-linux/<folder name without .aaxplugin>.so
std::string BinaryOfBundle(std::string folder)
{
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  std::string name = folder.substr(folder.find_last_of('/') + 1);
  const std::string ext = ".aaxplugin";
  if (name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
    name.resize(name.size() - ext.size());
  return folder + "/Contents/x86_64-linux/" + name + ".so";
}

bool EndsWith(std::string s, const std::string& tail)
{
  while (s.size() > 1 && s.back() == '/')
    s.pop_back();
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Folder(const std::string& file) { return file.substr(0, file.find_last_of('/')); }

// The regular files named *.so in folder, sorted.
std::vector<std::string> SharedObjectsIn(const std::string& folder)
{
  std::vector<std::string> out;
  if (DIR* d = ::opendir(folder.c_str()))
  {
    while (const dirent* e = ::readdir(d))
    {
      const std::string name = e->d_name;
      if (name[0] != '.' && EndsWith(name, ".so") && IsFile(folder + "/" + name))
        out.push_back(folder + "/" + name);
    }
    ::closedir(d);
  }
  std::sort(out.begin(), out.end());
  return out;
}

ModuleResult Fail(const std::string& what, ACFRESULT code) { return {code, WithCode(what, code)}; }
} // namespace

std::string WithCode(const std::string& what, ACFRESULT code)
{
  return what + " (" + AAX::AsStringResult(code) + ", " + std::to_string(code) + ")";
}

Module::Module(StandInHost& host) : mHost(host) {}

Module::~Module()
{
  if (!mHandle) return;
  if (Unload().ok()) return;
  // Objects of the module are still alive: their code must stay mapped, so
  // only the start-up is undone and the binary stays loaded (and registered
  // as loaded, so it cannot be started a second time).
  mEntry.shutdown(mHost.Unknown());
  Close(false);
}

ModuleResult Module::Load(const std::string& path)
{
  if (mHandle)
    return Fail("a module is already loaded here: " + mBinaryPath, AAX_ERROR_INVALID_ARGUMENT);

  std::string binary;
  if (IsDirectory(path) && !EndsWith(path, ".so"))
  {
    binary = BinaryOfBundle(path);
    if (!IsFile(binary))
    {
      // A renamed bundle folder still holds its one binary under the old name.
      const std::vector<std::string> found = SharedObjectsIn(Folder(binary));
      if (found.size() != 1)
        return Fail("bundle " + path + " has no module binary " + binary +
                        (found.empty() ? std::string()
                                       : " (and " + std::to_string(found.size()) +
                                             " others there, so none is chosen)"),
                    AAX_ERROR_INVALID_PATH);
      binary = found.front();
    }
    mBundlePath = path;
  }
  else if (IsFile(path) || IsDirectory(path))
    binary = path;
  else
    return Fail("no such bundle or module: " + path, AAX_ERROR_INVALID_PATH);

  // dlopen of a damaged binary can crash inside the loader: look first.
  const std::string damage = CheckElfModule(binary);
  if (!damage.empty()) return Fail(binary + ": " + damage, AAX_ERROR_INVALID_PATH);

  const std::string key = RealPath(binary);
  {
    std::lock_guard<std::mutex> lock(sLoadedMutex);
    if (!sLoaded.insert(key).second)
      return Fail("module already loaded in this process: " + key, AAX_ERROR_INVALID_ARGUMENT);
  }
  mKey = key;
  mBinaryPath = binary;

  mHandle = ::dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHandle)
  {
    const char* why = ::dlerror();
    const std::string text = why ? why : "unknown loader error";
    Close(false);
    return Fail("cannot load " + binary + ": " + text, AAX_ERROR_INVALID_PATH);
  }

  struct Needed
  {
    const char* name;
    void** slot;
  };
  const Needed needed[] = {
      {"ACFRegisterPlugin", reinterpret_cast<void**>(&mEntry.registerPlugin)},
      {"ACFRegisterComponent", reinterpret_cast<void**>(&mEntry.registerComponent)},
      {"ACFGetClassFactory", reinterpret_cast<void**>(&mEntry.getClassFactory)},
      {"ACFCanUnloadNow", reinterpret_cast<void**>(&mEntry.canUnloadNow)},
      {"ACFStartup", reinterpret_cast<void**>(&mEntry.startup)},
      {"ACFShutdown", reinterpret_cast<void**>(&mEntry.shutdown)},
      {"ACFGetSDKVersion", reinterpret_cast<void**>(&mEntry.getSDKVersion)},
  };
  for (const Needed& n : needed)
  {
    *n.slot = ::dlsym(mHandle, n.name);
    if (!*n.slot)
    {
      Close(true);
      return Fail(binary + " is not an AAX module: entry point " + n.name + " is missing",
                  AAX_ERROR_UNKNOWN_PLUGIN);
    }
  }

  ACFRESULT r = mEntry.startup(mHost.Unknown());
  if (r != 0)
  {
    Close(true);
    return Fail("ACFStartup of " + binary + " failed", r);
  }

  IACFPluginDefinition* definition = nullptr;
  r = mEntry.registerPlugin(mHost.Unknown(), &definition);
  if (r != 0 || !definition)
  {
    if (definition) definition->Release();
    mEntry.shutdown(mHost.Unknown());
    Close(true);
    return Fail("ACFRegisterPlugin of " + binary + " failed", r ? r : AAX_ERROR_NULL_OBJECT);
  }
  mDefinition = Ref<IACFPluginDefinition>(definition);
  HostCollection* collection = HostComponentOf<HostCollection>(definition);
  if (collection) mDescription = collection->Snapshot();
  return {};
}

ACFRESULT Module::CanUnloadNow() const
{
  return mEntry.canUnloadNow ? mEntry.canUnloadNow(mHost.Unknown()) : 0;
}

ModuleResult Module::Create(size_t effectIndex, AAX_CProcPtrID procID,
                            IACFUnknown** outObject) const
{
  if (!outObject) return Fail("no place for the new object", AAX_ERROR_NULL_ARGUMENT);
  *outObject = nullptr;
  if (!mHandle) return Fail("no module loaded", AAX_ERROR_NOT_INITIALIZED);
  if (effectIndex >= mDescription.effects.size())
    return Fail("the module describes no effect " + std::to_string(effectIndex),
                AAX_ERROR_INVALID_ARGUMENT);
  const DescribedEffect& effect = mDescription.effects[effectIndex];
  auto it = effect.procPtrs.find(procID);
  if (it == effect.procPtrs.end())
    return Fail("effect " + effect.id + " has no creation procedure " + std::to_string(procID),
                AAX_ERROR_UNKNOWN_ID);
  const auto create = reinterpret_cast<AAX_CCreateObjectProc>(it->second);
  *outObject = create();
  if (!*outObject)
    return Fail("creation procedure " + std::to_string(procID) + " of " + effect.id +
                    " made nothing",
                AAX_ERROR_NULL_OBJECT);
  return {};
}

ModuleResult Module::Unload()
{
  if (!mHandle) return Fail("no module loaded", AAX_ERROR_NOT_INITIALIZED);
  // The host's own reference to the definition goes first: it is a host
  // object and counts nothing in the module.
  mDefinition = Ref<IACFPluginDefinition>();
  const ACFRESULT live = CanUnloadNow();
  if (live != 0)
    return Fail(mBinaryPath + " cannot be unloaded: " + std::to_string(live) +
                    " of its objects are still alive",
                AAX_ERROR_INVALID_ARGUMENT);
  const ACFRESULT r = mEntry.shutdown(mHost.Unknown());
  Close(true);
  if (r != 0) return Fail("ACFShutdown failed", r);
  return {};
}

void Module::Close(bool unmap)
{
  const bool forget = unmap || !mHandle;
  if (mHandle && unmap) ::dlclose(mHandle);
  mHandle = nullptr;
  mEntry = ModuleEntryPoints();
  mDefinition = Ref<IACFPluginDefinition>();
  mDescription = Description();
  if (forget && !mKey.empty())
  {
    std::lock_guard<std::mutex> lock(sLoadedMutex);
    sLoaded.erase(mKey);
  }
  mKey.clear();
}
} // namespace aaxhost

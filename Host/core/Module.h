// aaxhost::Module: loads an AAX module bundle the way a workstation does and
// runs the host's side of its life: start-up, registration into the host's
// description components, creation of objects through the registered
// creation procedures, the unload check, shut-down and unloading.
#pragma once

#include "AAX_Init.h"
#include "Description.h"
#include "StandInHost.h"

#include <string>

namespace aaxhost
{
// 0 and an empty message on success; otherwise the failing code and a
// message naming what failed, ending in the code's name and number.
struct ModuleResult
{
  ACFRESULT code = 0;
  std::string message;
  bool ok() const { return code == 0; }
};

// The seven entry points as resolved from the binary.
struct ModuleEntryPoints
{
  ACFRegisterPluginProc registerPlugin = nullptr;
  ACFRegisterComponentProc registerComponent = nullptr;
  ACFGetClassFactoryProc getClassFactory = nullptr;
  ACFCanUnloadNowProc canUnloadNow = nullptr;
  ACFStartupProc startup = nullptr;
  ACFShutdownProc shutdown = nullptr;
  ACFGetSDKVersionProc getSDKVersion = nullptr;
};

// One loaded module. Not copyable; the host must outlive it. [host]
class Module
{
public:
  explicit Module(StandInHost& host);
  // Unloads; when objects of the module are still alive the binary stays
  // mapped (their code must stay callable) and only the start-up is undone.
  ~Module();

  // path: a bundle folder (<Name>.aaxplugin, binary at
  // Contents/x86_64-linux/<Name>.so, or the folder's only .so when the
  // bundle was renamed) or the binary itself. Opens it, resolves every entry
  // point, calls ACFStartup and ACFRegisterPlugin, and keeps what was
  // described. Fails (and leaves nothing loaded) for a missing path, a
  // bundle without binary, a damaged binary (see CheckElfModule: refused
  // before dlopen), a file that does not load, a missing entry point, a
  // module already loaded in this process, or a failing registration.
  ModuleResult Load(const std::string& path);
  // ACFCanUnloadNow must answer 0 (otherwise nothing changes and the live
  // count is reported); then ACFShutdown and dlclose.
  ModuleResult Unload();

  bool Loaded() const { return mHandle != nullptr; }
  const std::string& BinaryPath() const { return mBinaryPath; }
  const std::string& BundlePath() const { return mBundlePath; }
  const ModuleEntryPoints& EntryPoints() const { return mEntry; }
  // What the registration described.
  const Description& GetDescription() const { return mDescription; }

  // Calls creation procedure procID of effect number effectIndex; the new
  // object (one reference, the caller's) goes to *outObject.
  ModuleResult Create(size_t effectIndex, AAX_CProcPtrID procID, IACFUnknown** outObject) const;
  // The module's live-object count (ACFCanUnloadNow).
  ACFRESULT CanUnloadNow() const;

  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

private:
  void Close(bool unmap);

  StandInHost& mHost;
  void* mHandle = nullptr;
  std::string mBinaryPath, mBundlePath, mKey;
  ModuleEntryPoints mEntry;
  Ref<IACFPluginDefinition> mDefinition;
  Description mDescription;
};

// "<what> (<name>, <code>)", for example "no such file (AAX_ERROR_INVALID_PATH, -20040)".
std::string WithCode(const std::string& what, ACFRESULT code);
} // namespace aaxhost

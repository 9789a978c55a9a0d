// The module's entry points (exported, unmangled) and the AAX-level functions
// behind them, plus GetEffectDescriptions, which every module defines.
#pragma once

#include "ACF/acfdefinition.h"
#include "ACF/acfunknown.h"
#include "AAX.h"

class AAX_ICollection;

// Describes the module's effects into the collection. Defined by the module
// (not by the support library). 0, or the failing results ORed. [host]
AAX_Result GetEffectDescriptions(AAX_ICollection* outCollection);

// Entry points. Each runs its AAX-level function inside a catch-all guard: an
// exception that escapes it becomes 0x8000FFFF. Thread: [host].
extern "C"
{
  // Describes the module into a host collection and stores the collection's
  // plug-in definition (one reference, the host's) in *ppPluginDefinition.
  // 0, or the failure code; the out pointer stays null on failure.
  ACF_EXPORT ACFRESULT ACFRegisterPlugin(IACFUnknown* pUnkHost,
                                         IACFPluginDefinition** ppPluginDefinition);
  // Stores null; 0.
  ACF_EXPORT ACFRESULT ACFRegisterComponent(IACFUnknown* pUnkHost, acfUInt32 index,
                                            IACFComponentDefinition** ppComponentDefinition);
  // Stores null; -20009 (the module has no class factory).
  ACF_EXPORT ACFRESULT ACFGetClassFactory(IACFUnknown* pUnkHost, const acfCLSID& clsid,
                                          const acfIID& iid, void** ppOut);
  // The number of live module objects: 0 when the module may be unloaded.
  ACF_EXPORT ACFRESULT ACFCanUnloadNow(IACFUnknown* pUnkHost);
  // Start-up and shut-down of the process-wide host services; 0.
  ACF_EXPORT ACFRESULT ACFStartup(IACFUnknown* pUnkHost);
  ACF_EXPORT ACFRESULT ACFShutdown(IACFUnknown* pUnkHost);
  // Stores 0x0000020300D5E5B4; 0.
  ACF_EXPORT ACFRESULT ACFGetSDKVersion(acfUInt64* oSDKVersion);
}

// The entry points' types, for hosts that resolve them by name.
typedef ACFRESULT (*ACFRegisterPluginProc)(IACFUnknown*, IACFPluginDefinition**);
typedef ACFRESULT (*ACFRegisterComponentProc)(IACFUnknown*, acfUInt32, IACFComponentDefinition**);
typedef ACFRESULT (*ACFGetClassFactoryProc)(IACFUnknown*, const acfCLSID&, const acfIID&, void**);
typedef ACFRESULT (*ACFCanUnloadNowProc)(IACFUnknown*);
typedef ACFRESULT (*ACFStartupProc)(IACFUnknown*);
typedef ACFRESULT (*ACFShutdownProc)(IACFUnknown*);
typedef ACFRESULT (*ACFGetSDKVersionProc)(acfUInt64*);

// The version ACFGetSDKVersion reports.
constexpr acfUInt64 AAX_kSDKVersion = 0x0000020300D5E5B4ull;

// The AAX-level functions (same arguments and results). AAXRegisterPlugin maps
// its own exceptions to AAX codes and traces them; the others do not throw.
ACFRESULT AAXRegisterPlugin(IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition);
ACFRESULT AAXRegisterComponent(IACFUnknown* pUnkHost, acfUInt32 index,
                               IACFComponentDefinition** ppComponentDefinition);
ACFRESULT AAXGetClassFactory(IACFUnknown* pUnkHost, const acfCLSID& clsid, const acfIID& iid,
                             void** ppOut);
ACFRESULT AAXCanUnloadNow(IACFUnknown* pUnkHost);
ACFRESULT AAXStartup(IACFUnknown* pUnkHost);
ACFRESULT AAXShutdown(IACFUnknown* pUnkHost);
ACFRESULT AAXGetSDKVersion(acfUInt64* oSDKVersion);

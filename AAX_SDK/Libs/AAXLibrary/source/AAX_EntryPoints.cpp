// The exported entry points: no exception ever leaves the module.
#include "AAX_Init.h"

#define QV_GUARDED(call)                                                                           \
  try                                                                                              \
  {                                                                                                \
    return call;                                                                                   \
  }                                                                                                \
  catch (...)                                                                                      \
  {                                                                                                \
    return ACF_E_UNEXPECTED;                                                                       \
  }

ACFRESULT ACFRegisterPlugin(IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition)
{
  QV_GUARDED(AAXRegisterPlugin(pUnkHost, ppPluginDefinition));
}

ACFRESULT ACFRegisterComponent(IACFUnknown* pUnkHost, acfUInt32 index,
                               IACFComponentDefinition** ppComponentDefinition)
{
  QV_GUARDED(AAXRegisterComponent(pUnkHost, index, ppComponentDefinition));
}

ACFRESULT ACFGetClassFactory(IACFUnknown* pUnkHost, const acfCLSID& clsid, const acfIID& iid,
                             void** ppOut)
{
  QV_GUARDED(AAXGetClassFactory(pUnkHost, clsid, iid, ppOut));
}

ACFRESULT ACFCanUnloadNow(IACFUnknown* pUnkHost) { QV_GUARDED(AAXCanUnloadNow(pUnkHost)); }

ACFRESULT ACFStartup(IACFUnknown* pUnkHost) { QV_GUARDED(AAXStartup(pUnkHost)); }

ACFRESULT ACFShutdown(IACFUnknown* pUnkHost) { QV_GUARDED(AAXShutdown(pUnkHost)); }

ACFRESULT ACFGetSDKVersion(acfUInt64* oSDKVersion) { QV_GUARDED(AAXGetSDKVersion(oSDKVersion)); }

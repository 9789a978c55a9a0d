#include "AAX_Init.h"

#include "ACF/CACFUnknown.h"
#include "ACF/acfuids.h"
#include "AAX_CHostServices.h"
#include "AAX_Exception.h"
#include "AAX_VCollection.h"

#include <exception>

ACFRESULT AAXRegisterPlugin(IACFUnknown* pUnkHost, IACFPluginDefinition** ppPluginDefinition)
{
  // Nowhere to put the answer: refuse before describing anything.
  if (!ppPluginDefinition) return AAX_ERROR_NULL_ARGUMENT;
  // Null from the start, so no failure path leaves the host's pointer unset.
  *ppPluginDefinition = nullptr;
  try
  {
    AAX_CheckedResult result;
    AAX_VCollection collection(pUnkHost);
    result = GetEffectDescriptions(&collection);

    *ppPluginDefinition = nullptr;
    IACFUnknown* hostCollection = collection.GetIUnknown();
    const ACFRESULT answer =
        hostCollection ? hostCollection->QueryInterface(
                             IID_IACFPluginDefinition, reinterpret_cast<void**>(ppPluginDefinition))
                       : ACF_E_NOINTERFACE;
    if (answer != ACF_OK) result = AAX_ERROR_NULL_OBJECT;
    return AAX_SUCCESS;
  }
  catch (const AAX::Exception::ResultError& e)
  {
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "AAXRegisterPlugin exception caught: %s",
                             e.What().c_str());
    return e.Result();
  }
  catch (const AAX::Exception::Any& e)
  {
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "AAXRegisterPlugin exception caught: %s",
                             e.What().c_str());
    return AAX_ERROR_UNKNOWN_EXCEPTION;
  }
  catch (const std::exception& e)
  {
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High, "AAXRegisterPlugin exception caught: %s",
                             e.what());
    return AAX_ERROR_UNKNOWN_EXCEPTION;
  }
  catch (...)
  {
    AAX_CHostServices::Trace(AAX_eTracePriorityHost_High,
                             "AAXRegisterPlugin exception caught: unknown");
    return AAX_ERROR_UNKNOWN_EXCEPTION;
  }
}

ACFRESULT AAXRegisterComponent(IACFUnknown*, acfUInt32,
                               IACFComponentDefinition** ppComponentDefinition)
{
  if (ppComponentDefinition) *ppComponentDefinition = nullptr;
  return ACF_OK;
}

ACFRESULT AAXGetClassFactory(IACFUnknown*, const acfCLSID&, const acfIID&, void** ppOut)
{
  if (ppOut) *ppOut = nullptr;
  return AAX_ERROR_UNIMPLEMENTED;
}

ACFRESULT AAXCanUnloadNow(IACFUnknown*)
{
  return static_cast<ACFRESULT>(CACFUnknown::GetActiveObjectCount());
}

ACFRESULT AAXStartup(IACFUnknown* pUnkHost)
{
  AAX_CHostServices::Set(pUnkHost);
  return ACF_OK;
}

ACFRESULT AAXShutdown(IACFUnknown*)
{
  AAX_CHostServices::Set(nullptr);
  return ACF_OK;
}

ACFRESULT AAXGetSDKVersion(acfUInt64* oSDKVersion)
{
  if (!oSDKVersion) return AAX_ERROR_NULL_ARGUMENT;
  *oSDKVersion = AAX_kSDKVersion;
  return ACF_OK;
}

#include "AAX_IEffectParameters.h"

#include "AAX_UIDs.h"

ACFRESULT AAX_IEffectParameters::InternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
  if (!ppvObjOut) return ACF_E_UNEXPECTED;
  // Every version is answered by the same table: V4 extends V1..V3 in place.
  if (riid == IID_IAAXEffectParametersV1 || riid == IID_IAAXEffectParametersV2 ||
      riid == IID_IAAXEffectParametersV3 || riid == IID_IAAXEffectParametersV4)
  {
    *ppvObjOut = static_cast<AAX_IACFEffectParameters_V4*>(this);
    AddRef();
    return ACF_OK;
  }
  return CACFUnknown::InternalQueryInterface(riid, ppvObjOut);
}

#include "AAX_IEffectGUI.h"

#include "AAX_UIDs.h"

ACFRESULT AAX_IEffectGUI::InternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
  if (!ppvObjOut) return ACF_E_UNEXPECTED;
  if (riid == IID_IAAXEffectGUIV1)
  {
    *ppvObjOut = static_cast<AAX_IACFEffectGUI*>(this);
    AddRef();
    return ACF_OK;
  }
  return CACFUnknown::InternalQueryInterface(riid, ppvObjOut);
}

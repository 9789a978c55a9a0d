// AAX_IEffectGUI: the host's editor interface plus the component's reference
// counting.
#pragma once

#include "ACF/CACFUnknown.h"
#include "AAX_IACFEffectGUI.h"

// QueryInterface / AddRef / Release forward to the outer unknown (CACFUnknown).
// InternalQueryInterface answers IID_IAAXEffectGUIV1 with this object (one added
// reference); anything else goes to CACFUnknown's rule.
class AAX_IEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown
{
public:
  ACF_DECLARE_STANDARD_UNKNOWN()

  ACFRESULT InternalQueryInterface(const acfIID& riid, void** ppvObjOut) override;

protected:
  AAX_IEffectGUI() = default;
  ~AAX_IEffectGUI() override = default;
};

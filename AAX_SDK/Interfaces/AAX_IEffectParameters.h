// AAX_IEffectParameters: the host's effect-parameters interface (all four
// versions) plus the component's reference counting.
#pragma once

#include "ACF/CACFUnknown.h"
#include "AAX_IACFEffectParameters.h"

// QueryInterface / AddRef / Release forward to the outer unknown (CACFUnknown).
// InternalQueryInterface answers IID_IAAXEffectParametersV1..V4 with this
// object's interface pointer (one added reference, through the public AddRef);
// anything else goes to CACFUnknown's rule.
class AAX_IEffectParameters : public AAX_IACFEffectParameters_V4, public CACFUnknown
{
public:
  ACF_DECLARE_STANDARD_UNKNOWN()

  ACFRESULT InternalQueryInterface(const acfIID& riid, void** ppvObjOut) override;

protected:
  AAX_IEffectParameters() = default;
  ~AAX_IEffectParameters() override = default;
};

// Host description-host interface, version 1: what the host tells a module
// about itself while the module describes its effects.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// Thread: [host] (registration only).
class AAX_IACFDescriptionHost : public IACFUnknown
{
public:
  // Stores the host's feature-info object for inFeatureID in *outFeatureInfo
  // (one reference, the caller's) and returns 0; or null and a failure code.
  virtual AAX_Result AcquireFeatureProperties(const acfUID& inFeatureID,         //
                                              IACFUnknown** outFeatureInfo) = 0; // 3

protected:
  ~AAX_IACFDescriptionHost() = default;
};

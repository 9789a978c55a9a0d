// Host feature-info interface, version 1: whether the host supports one
// feature, and the feature's properties.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_DescriptionTypes.h"

// Thread: [host] (registration only).
class AAX_IACFFeatureInfo : public IACFUnknown
{
public:
  // 0 and the host's support level, or a failure code.
  virtual AAX_Result SupportLevel(AAX_ESupportLevel* outSupportLevel) const = 0; // 3
  // The feature's property map (one reference, the caller's) and 0; or null
  // and a failure code when the feature has none.
  virtual AAX_Result AcquireProperties(IACFUnknown** outProperties) = 0; // 4

protected:
  ~AAX_IACFFeatureInfo() = default;
};

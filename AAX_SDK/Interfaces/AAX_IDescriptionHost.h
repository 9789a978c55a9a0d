// AAX_IDescriptionHost: what the host offers a module while it describes its
// effects; AAX_VDescriptionHost implements it.
#pragma once

#include "ACF/acfdefinition.h"
#include "AAX_IFeatureInfo.h"

#include <memory>

// Thread: [host] (registration only).
class AAX_IDescriptionHost
{
public:
  virtual ~AAX_IDescriptionHost() {}

  // The host's feature information for inFeatureID, owned by the caller; null
  // when the host has none.
  virtual std::unique_ptr<const AAX_IFeatureInfo>
  AcquireFeatureProperties(const acfUID& inFeatureID) const = 0;
  // The host's definition interface (borrowed), or null.
  virtual IACFDefinition* HostDefinition() const = 0;
};

// AAX_IFeatureInfo: what the host says about one feature; AAX_VFeatureInfo
// implements it.
#pragma once

#include "AAX.h"
#include "AAX_DescriptionTypes.h"
#include "AAX_IPropertyMap.h"

#include <memory>

// Thread: [host] (registration only).
class AAX_IFeatureInfo
{
public:
  virtual ~AAX_IFeatureInfo() {}

  // 0 and the host's support level; -20004 without the host interface.
  virtual AAX_Result SupportLevel(AAX_ESupportLevel& oSupportLevel) const = 0;
  // The feature's properties, owned by the caller; null when it has none.
  virtual std::unique_ptr<const AAX_IPropertyMap> AcquireProperties() const = 0;
  // The feature identifier this object was made for.
  virtual const acfUID& ID() const = 0;
};

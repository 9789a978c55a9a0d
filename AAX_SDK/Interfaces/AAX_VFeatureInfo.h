// AAX_VFeatureInfo: forwards AAX_IFeatureInfo to the host's feature-info
// interface, version 1 (missing → -20004). Thread: [host] (registration only).
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFFeatureInfo.h"
#include "AAX_IFeatureInfo.h"

class AAX_VFeatureInfo : public AAX_IFeatureInfo
{
public:
  // Asks inFeatureInfo (borrowed) for the interface; keeps its own reference.
  AAX_VFeatureInfo(IACFUnknown* inFeatureInfo, const acfUID& inFeatureID);
  ~AAX_VFeatureInfo() override;

  AAX_Result SupportLevel(AAX_ESupportLevel& oSupportLevel) const override;
  // A property map wrapping the feature's own, owned by the caller; null when
  // the host gives none.
  std::unique_ptr<const AAX_IPropertyMap> AcquireProperties() const override;
  const acfUID& ID() const override { return mFeatureID; }

  AAX_VFeatureInfo(const AAX_VFeatureInfo&) = delete;
  AAX_VFeatureInfo& operator=(const AAX_VFeatureInfo&) = delete;

private:
  ACFPtr<AAX_IACFFeatureInfo> mIACFFeatureInfo;
  acfUID mFeatureID;
};

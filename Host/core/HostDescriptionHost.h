// The stand-in host's description host (IID_IAAXDescriptionHostV1, also made
// as AAX_CompID_DescriptionHost) and feature info (IID_IAAXFeatureInfoV1):
// which features the host supports, with their properties.
#pragma once

#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFFeatureInfo.h"
#include "Description.h"
#include "HostComponent.h"

#include <map>

namespace aaxhost
{
struct FeatureState
{
  AAX_ESupportLevel supportLevel = AAX_ESupportLevel(0);
  bool hasProperties = false;
  DescribedProperties properties;
};

class HostFeatureInfo final : public AAX_IACFFeatureInfo, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  HostFeatureInfo(const acfUID& featureID, const FeatureState& state);

  // Null out pointer: AAX_ERROR_NULL_ARGUMENT.
  AAX_Result SupportLevel(AAX_ESupportLevel* outSupportLevel) const override;
  // A new host property map (version 3) with the feature's properties; a
  // feature without properties: AAX_ERROR_NULL_OBJECT and null.
  AAX_Result AcquireProperties(IACFUnknown** outProperties) override;

  const acfUID& FeatureID() const { return mFeatureID; }

private:
  ~HostFeatureInfo() override = default;
  void* Answer(const acfIID& iid) override;

  const acfUID mFeatureID;
  const FeatureState mState;
};

class HostDescriptionHost final : public AAX_IACFDescriptionHost, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  explicit HostDescriptionHost(int featureInfoVersion = 1); // 0: no feature info at all

  // A new feature info; a feature never set answers support level 0 and has
  // no properties. Null out pointer: AAX_ERROR_NULL_ARGUMENT.
  AAX_Result AcquireFeatureProperties(const acfUID& inFeatureID,
                                      IACFUnknown** outFeatureInfo) override;

  void SetFeature(const acfUID& featureID, const FeatureState& state); // [any]

private:
  ~HostDescriptionHost() override = default;
  void* Answer(const acfIID& iid) override;

  const int mFeatureInfoVersion;
  std::mutex mMutex;
  std::map<acfUID, FeatureState, acfUIDLess> mFeatures;
};
} // namespace aaxhost

#include "HostDescriptionHost.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "HostComponentFactory.h"
#include "HostPropertyMap.h"

namespace aaxhost
{
HostFeatureInfo::HostFeatureInfo(const acfUID& featureID, const FeatureState& state)
    : mFeatureID(featureID), mState(state)
{
}

void* HostFeatureInfo::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXFeatureInfoV1)
    return static_cast<AAX_IACFFeatureInfo*>(this);
  return nullptr;
}

AAX_Result HostFeatureInfo::SupportLevel(AAX_ESupportLevel* outSupportLevel) const
{
  const_cast<CallLog&>(mCalls).Add("SupportLevel", "");
  if (!outSupportLevel) return AAX_ERROR_NULL_ARGUMENT;
  *outSupportLevel = mState.supportLevel;
  return AAX_SUCCESS;
}

AAX_Result HostFeatureInfo::AcquireProperties(IACFUnknown** outProperties)
{
  mCalls.Add("AcquireProperties", "");
  if (!outProperties) return AAX_ERROR_NULL_ARGUMENT;
  *outProperties = nullptr;
  if (!mState.hasProperties) return AAX_ERROR_NULL_OBJECT;
  *outProperties = static_cast<AAX_IACFPropertyMap_V3*>(new HostPropertyMap(3, mState.properties));
  return AAX_SUCCESS;
}

HostDescriptionHost::HostDescriptionHost(int featureInfoVersion)
    : mFeatureInfoVersion(featureInfoVersion)
{
}

void* HostDescriptionHost::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXDescriptionHostV1)
    return static_cast<AAX_IACFDescriptionHost*>(this);
  return nullptr;
}

void HostDescriptionHost::SetFeature(const acfUID& featureID, const FeatureState& state)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mFeatures[featureID] = state;
}

AAX_Result HostDescriptionHost::AcquireFeatureProperties(const acfUID& inFeatureID,
                                                         IACFUnknown** outFeatureInfo)
{
  mCalls.Add("AcquireFeatureProperties", ToText(inFeatureID));
  if (!outFeatureInfo) return AAX_ERROR_NULL_ARGUMENT;
  *outFeatureInfo = nullptr;
  if (mFeatureInfoVersion < 1) return AAX_ERROR_UNIMPLEMENTED;
  FeatureState state;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mFeatures.find(inFeatureID);
    if (it != mFeatures.end()) state = it->second;
  }
  *outFeatureInfo = static_cast<AAX_IACFFeatureInfo*>(new HostFeatureInfo(inFeatureID, state));
  return AAX_SUCCESS;
}
} // namespace aaxhost

#include "AAX_VFeatureInfo.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VPropertyMap.h"

AAX_VFeatureInfo::AAX_VFeatureInfo(IACFUnknown* inFeatureInfo, const acfUID& inFeatureID)
    : mIACFFeatureInfo(inFeatureInfo, IID_IAAXFeatureInfoV1), mFeatureID(inFeatureID)
{
}

AAX_VFeatureInfo::~AAX_VFeatureInfo() = default;

AAX_Result AAX_VFeatureInfo::SupportLevel(AAX_ESupportLevel& oSupportLevel) const
{
  return mIACFFeatureInfo ? mIACFFeatureInfo->SupportLevel(&oSupportLevel) : AAX_ERROR_NULL_OBJECT;
}

std::unique_ptr<const AAX_IPropertyMap> AAX_VFeatureInfo::AcquireProperties() const
{
  if (!mIACFFeatureInfo) return nullptr;
  IACFUnknown* properties = nullptr;
  const AAX_Result r = mIACFFeatureInfo->AcquireProperties(&properties);
  const ACFPtr<IACFUnknown> held = ACFPtr<IACFUnknown>::Adopt(properties);
  if (r != AAX_SUCCESS || !properties) return nullptr;
  return std::unique_ptr<const AAX_IPropertyMap>(AAX_VPropertyMap::Acquire(properties));
}

#include "AAX_VDescriptionHost.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VFeatureInfo.h"

AAX_VDescriptionHost::AAX_VDescriptionHost(IACFUnknown* inHostUnknown)
    : mIACFDescriptionHost(inHostUnknown, IID_IAAXDescriptionHostV1),
      mIACFDefinition(inHostUnknown, IID_IACFDefinition)
{
}

AAX_VDescriptionHost::~AAX_VDescriptionHost() = default;

std::unique_ptr<const AAX_IFeatureInfo>
AAX_VDescriptionHost::AcquireFeatureProperties(const acfUID& inFeatureID) const
{
  if (!mIACFDescriptionHost) return nullptr;
  IACFUnknown* feature = nullptr;
  const AAX_Result r = mIACFDescriptionHost->AcquireFeatureProperties(inFeatureID, &feature);
  // The answer carries one reference; the wrapper takes its own.
  const ACFPtr<IACFUnknown> held = ACFPtr<IACFUnknown>::Adopt(feature);
  if (r != AAX_SUCCESS || !feature) return nullptr;
  return std::unique_ptr<const AAX_IFeatureInfo>(new AAX_VFeatureInfo(feature, inFeatureID));
}

#include "AAX_VCollection.h"

#include "AAX_CreateHostComponent.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#define QV_FORWARD_V1(call) return mIACFCollection ? mIACFCollection->call : AAX_ERROR_NULL_OBJECT

AAX_VCollection::AAX_VCollection(IACFUnknown* inHostUnknown)
    : mHostUnknown(inHostUnknown), mDescriptionHost(inHostUnknown),
      mIACFCollection(AAX_CreateHostComponent<AAX_IACFCollection>(
          inHostUnknown, AAXCompID_AAXCollection, IID_IAAXCollectionV1))
{
}

// Member order: owned maps, then owned effect descriptors, then the host
// interfaces.
AAX_VCollection::~AAX_VCollection() = default;

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
  mEffectDescriptors.emplace_back(new AAX_VEffectDescriptor(mHostUnknown));
  return mEffectDescriptors.back().get();
}

AAX_Result AAX_VCollection::AddEffect(const char* inEffectID,
                                      AAX_IEffectDescriptor* inEffectDescriptor)
{
  const auto* descriptor = dynamic_cast<AAX_VEffectDescriptor*>(inEffectDescriptor);
  if (!descriptor) return AAX_ERROR_NULL_OBJECT;
  QV_FORWARD_V1(AddEffect(inEffectID, descriptor->GetIUnknown()));
}

AAX_Result AAX_VCollection::SetManufacturerName(const char* inPackageName)
{
  QV_FORWARD_V1(SetManufacturerName(inPackageName));
}

AAX_Result AAX_VCollection::AddPackageName(const char* inPackageName)
{
  QV_FORWARD_V1(AddPackageName(inPackageName));
}

AAX_Result AAX_VCollection::SetPackageVersion(uint32_t inVersion)
{
  QV_FORWARD_V1(SetPackageVersion(inVersion));
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
  mPropertyMaps.emplace_back(AAX_VPropertyMap::Create(mHostUnknown));
  return mPropertyMaps.back().get();
}

AAX_Result AAX_VCollection::SetProperties(AAX_IPropertyMap* inProperties)
{
  QV_FORWARD_V1(SetProperties(inProperties ? inProperties->GetIUnknown() : nullptr));
}

const AAX_IDescriptionHost* AAX_VCollection::DescriptionHost() const
{
  return mDescriptionHost.Supported() ? &mDescriptionHost : nullptr;
}

IACFDefinition* AAX_VCollection::HostDefinition() const
{
  return mDescriptionHost.HostDefinition();
}

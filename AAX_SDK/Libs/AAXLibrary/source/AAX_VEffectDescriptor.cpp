#include "AAX_VEffectDescriptor.h"

#include "AAX_CreateHostComponent.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#define QV_FORWARD_V1(call)                                                                        \
  return mIACFEffectDescriptor ? mIACFEffectDescriptor->call : AAX_ERROR_NULL_OBJECT

namespace
{
IACFUnknown* HostMap(AAX_IPropertyMap* map) { return map ? map->GetIUnknown() : nullptr; }
} // namespace

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* inHostUnknown)
    : mHostUnknown(inHostUnknown),
      mIACFEffectDescriptor(AAX_CreateHostComponent<AAX_IACFEffectDescriptor>(
          inHostUnknown, AAXCompID_AAXEffectDescriptor, IID_IAAXEffectDescriptorV1))
{
  if (mIACFEffectDescriptor)
    mIACFEffectDescriptorV2 = ACFPtr<AAX_IACFEffectDescriptor_V2>(mIACFEffectDescriptor.get(),
                                                                  IID_IAAXEffectDescriptorV2);
}

// Member order: owned maps, then owned component descriptors, then the host
// interfaces.
AAX_VEffectDescriptor::~AAX_VEffectDescriptor() = default;

IACFUnknown* AAX_VEffectDescriptor::GetIUnknown() const { return mIACFEffectDescriptor.get(); }

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor() const
{
  mComponentDescriptors.emplace_back(new AAX_VComponentDescriptor(mHostUnknown));
  return mComponentDescriptors.back().get();
}

AAX_Result AAX_VEffectDescriptor::AddComponent(AAX_IComponentDescriptor* inComponentDescriptor)
{
  const auto* component = dynamic_cast<AAX_VComponentDescriptor*>(inComponentDescriptor);
  QV_FORWARD_V1(AddComponent(component ? component->GetIUnknown() : nullptr));
}

AAX_Result AAX_VEffectDescriptor::AddName(const char* inPlugInName)
{
  QV_FORWARD_V1(AddName(inPlugInName));
}

AAX_Result AAX_VEffectDescriptor::AddCategory(uint32_t inCategory)
{
  QV_FORWARD_V1(AddCategory(inCategory));
}

AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter(uint32_t inCategory,
                                                             AAX_CParamID inParamID)
{
  QV_FORWARD_V1(AddCategoryBypassParameter(inCategory, inParamID));
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID)
{
  QV_FORWARD_V1(AddProcPtr(inProcPtr, inProcID));
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap() const
{
  mPropertyMaps.emplace_back(AAX_VPropertyMap::Create(mHostUnknown));
  return mPropertyMaps.back().get();
}

AAX_Result AAX_VEffectDescriptor::SetProperties(AAX_IPropertyMap* inProperties)
{
  QV_FORWARD_V1(SetProperties(HostMap(inProperties)));
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo(AAX_EResourceType inResourceType,
                                                  const char* inInfo)
{
  QV_FORWARD_V1(AddResourceInfo(inResourceType, inInfo));
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription(AAX_CTypeID inMeterID,
                                                      const char* inMeterName,
                                                      AAX_IPropertyMap* inProperties)
{
  QV_FORWARD_V1(AddMeterDescription(inMeterID, inMeterName, HostMap(inProperties)));
}

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode(AAX_CTypeID inNodeID,
                                                     AAX_EMIDINodeType inNodeType,
                                                     const char* inNodeName, uint32_t inChannelMask)
{
  return mIACFEffectDescriptorV2 ? mIACFEffectDescriptorV2->AddControlMIDINode(
                                       inNodeID, inNodeType, inNodeName, inChannelMask)
                                 : AAX_ERROR_UNIMPLEMENTED;
}

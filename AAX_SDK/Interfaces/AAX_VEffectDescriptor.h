// AAX_VEffectDescriptor: forwards AAX_IEffectDescriptor to a host effect
// descriptor, versions 1 and 2, and owns the component descriptors and
// property maps it makes. Missing version 1 → -20004, missing version 2 →
// -20009. Thread: [host] (registration only).
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

#include <memory>
#include <vector>

class AAX_VEffectDescriptor : public AAX_IEffectDescriptor
{
public:
  // Creates the host component through the factory of inHostUnknown (borrowed,
  // must outlive the wrapper).
  explicit AAX_VEffectDescriptor(IACFUnknown* inHostUnknown);
  ~AAX_VEffectDescriptor() override;

  AAX_IComponentDescriptor* NewComponentDescriptor() const override;
  AAX_Result AddComponent(AAX_IComponentDescriptor* inComponentDescriptor) override;
  AAX_Result AddName(const char* inPlugInName) override;
  AAX_Result AddCategory(uint32_t inCategory) override;
  AAX_Result AddCategoryBypassParameter(uint32_t inCategory, AAX_CParamID inParamID) override;
  AAX_Result AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID) override;
  AAX_IPropertyMap* NewPropertyMap() const override;
  AAX_Result SetProperties(AAX_IPropertyMap* inProperties) override;
  AAX_Result AddResourceInfo(AAX_EResourceType inResourceType, const char* inInfo) override;
  AAX_Result AddMeterDescription(AAX_CTypeID inMeterID, const char* inMeterName,
                                 AAX_IPropertyMap* inProperties) override;
  AAX_Result AddControlMIDINode(AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType,
                                const char* inNodeName, uint32_t inChannelMask) override;

  // The host interface (borrowed), or null.
  IACFUnknown* GetIUnknown() const;

  AAX_VEffectDescriptor(const AAX_VEffectDescriptor&) = delete;
  AAX_VEffectDescriptor& operator=(const AAX_VEffectDescriptor&) = delete;

private:
  IACFUnknown* mHostUnknown;
  ACFPtr<AAX_IACFEffectDescriptor> mIACFEffectDescriptor;
  ACFPtr<AAX_IACFEffectDescriptor_V2> mIACFEffectDescriptorV2;
  mutable std::vector<std::unique_ptr<AAX_VComponentDescriptor>> mComponentDescriptors;
  mutable std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};

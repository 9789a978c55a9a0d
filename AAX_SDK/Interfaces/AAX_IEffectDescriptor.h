// AAX_IEffectDescriptor: the module's view of one effect being described;
// AAX_VEffectDescriptor implements it.
#pragma once

#include "AAX.h"
#include "AAX_DescriptionTypes.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IPropertyMap.h"

// Results: 0 or a failure code (-20004 without the host interface, -20009
// without a later version it needs). Descriptors and maps returned are owned
// by the effect descriptor. Thread: [host] (registration only).
class AAX_IEffectDescriptor
{
public:
  virtual ~AAX_IEffectDescriptor() {}

  // A new component descriptor owned by this descriptor (never null).
  virtual AAX_IComponentDescriptor* NewComponentDescriptor() const = 0;
  virtual AAX_Result AddComponent(AAX_IComponentDescriptor* inComponentDescriptor) = 0;
  virtual AAX_Result AddName(const char* inPlugInName) = 0;
  virtual AAX_Result AddCategory(uint32_t inCategory) = 0;
  virtual AAX_Result AddCategoryBypassParameter(uint32_t inCategory, AAX_CParamID inParamID) = 0;
  virtual AAX_Result AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID) = 0;
  // A new, empty property map owned by this descriptor (never null).
  virtual AAX_IPropertyMap* NewPropertyMap() const = 0;
  virtual AAX_Result SetProperties(AAX_IPropertyMap* inProperties) = 0;
  virtual AAX_Result AddResourceInfo(AAX_EResourceType inResourceType, const char* inInfo) = 0;
  virtual AAX_Result AddMeterDescription(AAX_CTypeID inMeterID, const char* inMeterName,
                                         AAX_IPropertyMap* inProperties) = 0;
  virtual AAX_Result AddControlMIDINode(AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType,
                                        const char* inNodeName, uint32_t inChannelMask) = 0;
};

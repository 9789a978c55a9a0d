// Host effect-descriptor interfaces, versions 1 and 2: one effect's names,
// categories, components, creation procedures and resources.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_DescriptionTypes.h"

// Contract: 0 on success or a host failure code; texts are copied; interfaces
// passed in are borrowed for the call. Thread: [host] (registration only).
class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
  virtual AAX_Result AddComponent(IACFUnknown* inComponentDescriptor) = 0;                      // 3
  virtual AAX_Result AddName(const char* inPlugInName) = 0;                                     // 4
  virtual AAX_Result AddCategory(uint32_t inCategory) = 0;                                      // 5
  virtual AAX_Result AddCategoryBypassParameter(uint32_t inCategory,                            //
                                                AAX_CParamID inParamID) = 0;                    // 6
  virtual AAX_Result AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID) = 0;                  // 7
  virtual AAX_Result SetProperties(IACFUnknown* inProperties) = 0;                              // 8
  virtual AAX_Result AddResourceInfo(AAX_EResourceType inResourceType, const char* inInfo) = 0; // 9
  virtual AAX_Result AddMeterDescription(AAX_CTypeID inMeterID, const char* inMeterName,        //
                                         IACFUnknown* inProperties) = 0; // 10

protected:
  ~AAX_IACFEffectDescriptor() = default;
};

class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
  virtual AAX_Result AddControlMIDINode(AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType, //
                                        const char* inNodeName,                             //
                                        uint32_t inChannelMask) = 0;                        // 11

protected:
  ~AAX_IACFEffectDescriptor_V2() = default;
};

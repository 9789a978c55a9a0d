// The stand-in host's effect descriptor (AAXCompID_AAXEffectDescriptor),
// versions 1 and 2: records one effect into a DescribedEffect.
#pragma once

#include "AAX_IACFEffectDescriptor.h"
#include "Description.h"
#include "HostComponent.h"

namespace aaxhost
{
class HostEffectDescriptor final : public AAX_IACFEffectDescriptor_V2, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  explicit HostEffectDescriptor(int version = 2); // 1..2

  // Copies what the component descriptor holds now; AAX_ERROR_NULL_OBJECT for
  // one that is not ours.
  AAX_Result AddComponent(IACFUnknown* inComponentDescriptor) override;
  // Null: AAX_ERROR_NULL_ARGUMENT; empty: AAX_ERROR_EMPTY_EFFECT_NAME.
  AAX_Result AddName(const char* inPlugInName) override;
  AAX_Result AddCategory(uint32_t inCategory) override;
  AAX_Result AddCategoryBypassParameter(uint32_t inCategory, AAX_CParamID inParamID) override;
  // Null procedure: AAX_ERROR_NULL_ARGUMENT; an ID given twice: AAX_ERROR_DUPLICATE_TYPE_ID.
  AAX_Result AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID) override;
  // Copies the map's properties (AAX_ERROR_NULL_OBJECT for one not ours).
  AAX_Result SetProperties(IACFUnknown* inProperties) override;
  AAX_Result AddResourceInfo(AAX_EResourceType inResourceType, const char* inInfo) override;
  AAX_Result AddMeterDescription(AAX_CTypeID inMeterID, const char* inMeterName,
                                 IACFUnknown* inProperties) override;
  AAX_Result AddControlMIDINode(AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType,
                                const char* inNodeName, uint32_t inChannelMask) override;

  DescribedEffect Snapshot() const; // [any]

private:
  ~HostEffectDescriptor() override = default;
  void* Answer(const acfIID& iid) override;

  const int mVersion;
  mutable std::mutex mMutex;
  DescribedEffect mEffect;
};
} // namespace aaxhost

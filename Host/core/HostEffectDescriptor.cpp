#include "HostEffectDescriptor.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "HostComponentDescriptor.h"
#include "HostPropertyMap.h"

namespace aaxhost
{
HostEffectDescriptor::HostEffectDescriptor(int version) : mVersion(version) {}

void* HostEffectDescriptor::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXEffectDescriptorV1 ||
      (iid == IID_IAAXEffectDescriptorV2 && mVersion >= 2))
    return static_cast<AAX_IACFEffectDescriptor_V2*>(this);
  return nullptr;
}

AAX_Result HostEffectDescriptor::AddComponent(IACFUnknown* inComponentDescriptor)
{
  mCalls.Add("AddComponent", Args(inComponentDescriptor));
  HostComponentDescriptor* c = HostComponentOf<HostComponentDescriptor>(inComponentDescriptor);
  if (!c) return AAX_ERROR_NULL_OBJECT;
  DescribedComponent copy = c->Snapshot();
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.components.push_back(std::move(copy));
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddName(const char* inPlugInName)
{
  mCalls.Add("AddName", Args(inPlugInName));
  if (!inPlugInName) return AAX_ERROR_NULL_ARGUMENT;
  if (!*inPlugInName) return AAX_ERROR_EMPTY_EFFECT_NAME;
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.names.push_back(inPlugInName);
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddCategory(uint32_t inCategory)
{
  mCalls.Add("AddCategory", Args(inCategory));
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.categories.push_back(inCategory);
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddCategoryBypassParameter(uint32_t inCategory,
                                                            AAX_CParamID inParamID)
{
  mCalls.Add("AddCategoryBypassParameter", Args(inCategory, inParamID));
  if (!inParamID) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.categoryBypassParameters.emplace_back(inCategory, inParamID);
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddProcPtr(void* inProcPtr, AAX_CProcPtrID inProcID)
{
  mCalls.Add("AddProcPtr", Args(inProcPtr, inProcID));
  if (!inProcPtr) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  if (!mEffect.procPtrs.emplace(inProcID, inProcPtr).second) return AAX_ERROR_DUPLICATE_TYPE_ID;
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::SetProperties(IACFUnknown* inProperties)
{
  mCalls.Add("SetProperties", Args(inProperties));
  if (!HostComponentOf<HostPropertyMap>(inProperties)) return AAX_ERROR_NULL_OBJECT;
  DescribedProperties copy = PropertiesOf(inProperties);
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.properties = std::move(copy);
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddResourceInfo(AAX_EResourceType inResourceType,
                                                 const char* inInfo)
{
  mCalls.Add("AddResourceInfo", Args(int32_t(inResourceType), inInfo));
  if (!inInfo) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.resources.emplace_back(inResourceType, inInfo);
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddMeterDescription(AAX_CTypeID inMeterID, const char* inMeterName,
                                                     IACFUnknown* inProperties)
{
  mCalls.Add("AddMeterDescription", Args(inMeterID, inMeterName, inProperties));
  if (!inMeterName) return AAX_ERROR_NULL_ARGUMENT;
  DescribedMeter m;
  m.id = inMeterID;
  m.name = inMeterName;
  m.properties = PropertiesOf(inProperties);
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.meters.push_back(std::move(m));
  return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddControlMIDINode(AAX_CTypeID inNodeID,
                                                    AAX_EMIDINodeType inNodeType,
                                                    const char* inNodeName, uint32_t inChannelMask)
{
  mCalls.Add("AddControlMIDINode", Args(inNodeID, int32_t(inNodeType), inNodeName, inChannelMask));
  DescribedField f;
  f.index = static_cast<int32_t>(inNodeID);
  f.kind = "ControlMIDINode";
  f.numbers = {inNodeType, inChannelMask};
  if (inNodeName) f.name = inNodeName;
  std::lock_guard<std::mutex> lock(mMutex);
  mEffect.controlMIDINodes.push_back(std::move(f));
  return AAX_SUCCESS;
}

DescribedEffect HostEffectDescriptor::Snapshot() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mEffect;
}
} // namespace aaxhost

#include "AAX_VComponentDescriptor.h"

#include "AAX_CHostServices.h"
#include "AAX_CreateHostComponent.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#define QV_FORWARD_V1(call)                                                                        \
  return mIACFComponentDescriptor ? mIACFComponentDescriptor->call : AAX_ERROR_NULL_OBJECT

namespace
{
const char* const kSourceName = "AAX_SDK/Libs/AAXLibrary/source/AAX_VComponentDescriptor";

IACFUnknown* HostMap(AAX_IPropertyMap* map) { return map ? map->GetIUnknown() : nullptr; }

void TraceMissing(const char* propertyName)
{
  AAX_CHostServices::Trace(AAX_eTracePriorityHost_High,
                           "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found "
                           "for %s",
                           propertyName);
}

// A pointer property as the procedure type it holds (null when absent).
template <class T> T PointerProperty(AAX_IPropertyMap& map, AAX_EProperty id, bool& found)
{
  const void* p = nullptr;
  found = map.GetPointerProperty(id, &p) != 0;
  return found ? reinterpret_cast<T>(const_cast<void*>(p)) : T();
}
} // namespace

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* inHostUnknown)
    : mHostUnknown(inHostUnknown),
      mIACFComponentDescriptor(AAX_CreateHostComponent<AAX_IACFComponentDescriptor>(
          inHostUnknown, AAXCompID_AAXComponentDescriptor, IID_IAAXComponentDescriptorV1))
{
  if (!mIACFComponentDescriptor) return;
  mIACFComponentDescriptorV2 = ACFPtr<AAX_IACFComponentDescriptor_V2>(
      mIACFComponentDescriptor.get(), IID_IAAXComponentDescriptorV2);
  mIACFComponentDescriptorV3 = ACFPtr<AAX_IACFComponentDescriptor_V3>(
      mIACFComponentDescriptor.get(), IID_IAAXComponentDescriptorV3);
}

// Member order: the owned maps go first, the host interfaces last.
AAX_VComponentDescriptor::~AAX_VComponentDescriptor() = default;

IACFUnknown* AAX_VComponentDescriptor::GetIUnknown() const
{
  return mIACFComponentDescriptor.get();
}

AAX_Result AAX_VComponentDescriptor::Clear() { QV_FORWARD_V1(Clear()); }
AAX_Result AAX_VComponentDescriptor::AddAudioIn(AAX_CFieldIndex inFieldIndex)
{
  QV_FORWARD_V1(AddAudioIn(inFieldIndex));
}
AAX_Result AAX_VComponentDescriptor::AddAudioOut(AAX_CFieldIndex inFieldIndex)
{
  QV_FORWARD_V1(AddAudioOut(inFieldIndex));
}
AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex inFieldIndex)
{
  QV_FORWARD_V1(AddAudioBufferLength(inFieldIndex));
}
AAX_Result AAX_VComponentDescriptor::AddSampleRate(AAX_CFieldIndex inFieldIndex)
{
  QV_FORWARD_V1(AddSampleRate(inFieldIndex));
}
AAX_Result AAX_VComponentDescriptor::AddClock(AAX_CFieldIndex inFieldIndex)
{
  QV_FORWARD_V1(AddClock(inFieldIndex));
}
AAX_Result AAX_VComponentDescriptor::AddSideChainIn(AAX_CFieldIndex inFieldIndex)
{
  QV_FORWARD_V1(AddSideChainIn(inFieldIndex));
}
AAX_Result AAX_VComponentDescriptor::AddDataInPort(AAX_CFieldIndex inFieldIndex,
                                                   uint32_t inPacketSize,
                                                   AAX_EDataInPortType inPortType)
{
  QV_FORWARD_V1(AddDataInPort(inFieldIndex, inPacketSize, inPortType));
}
AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex inFieldIndex,
                                                      int32_t inStemFormat, const char* inNameUTF8)
{
  QV_FORWARD_V1(AddAuxOutputStem(inFieldIndex, inStemFormat, inNameUTF8));
}
AAX_Result AAX_VComponentDescriptor::AddPrivateData(AAX_CFieldIndex inFieldIndex,
                                                    int32_t inDataSize, uint32_t inOptions)
{
  QV_FORWARD_V1(AddPrivateData(inFieldIndex, inDataSize, inOptions));
}
AAX_Result AAX_VComponentDescriptor::AddDmaInstance(AAX_CFieldIndex inFieldIndex,
                                                    AAX_EDmaMode inMode)
{
  QV_FORWARD_V1(AddDmaInstance(inFieldIndex, inMode));
}
AAX_Result AAX_VComponentDescriptor::AddMeters(AAX_CFieldIndex inFieldIndex,
                                               const AAX_CTypeID* inMeterIDs, uint32_t inMeterCount)
{
  QV_FORWARD_V1(AddMeters(inFieldIndex, inMeterIDs, inMeterCount));
}
AAX_Result AAX_VComponentDescriptor::AddMIDINode(AAX_CFieldIndex inFieldIndex,
                                                 AAX_EMIDINodeType inNodeType,
                                                 const char* inNodeName, uint32_t inChannelMask)
{
  QV_FORWARD_V1(AddMIDINode(inFieldIndex, inNodeType, inNodeName, inChannelMask));
}
AAX_Result AAX_VComponentDescriptor::AddReservedField(AAX_CFieldIndex inFieldIndex,
                                                      uint32_t inFieldType)
{
  QV_FORWARD_V1(AddReservedField(inFieldIndex, inFieldType));
}
AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc inProcessProc,
                                                           AAX_IPropertyMap* inProperties,
                                                           AAX_CInstanceInitProc inInstanceInitProc,
                                                           AAX_CBackgroundProc inBackgroundProc,
                                                           AAX_CSelector* outProcID)
{
  QV_FORWARD_V1(AddProcessProc_Native(inProcessProc, HostMap(inProperties), inInstanceInitProc,
                                      inBackgroundProc, outProcID));
}
AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI(const char* inDLLFileNameUTF8,
                                                       const char* inProcessProcSymbol,
                                                       AAX_IPropertyMap* inProperties,
                                                       const char* inInstanceInitProcSymbol,
                                                       const char* inBackgroundProcSymbol,
                                                       AAX_CSelector* outProcID)
{
  QV_FORWARD_V1(AddProcessProc_TI(inDLLFileNameUTF8, inProcessProcSymbol, HostMap(inProperties),
                                  inInstanceInitProcSymbol, inBackgroundProcSymbol, outProcID));
}

AAX_Result AAX_VComponentDescriptor::AddTemporaryData(AAX_CFieldIndex inFieldIndex,
                                                      uint32_t inDataElementSize)
{
  return mIACFComponentDescriptorV2
             ? mIACFComponentDescriptorV2->AddTemporaryData(inFieldIndex, inDataElementSize)
             : AAX_ERROR_UNIMPLEMENTED;
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap() const
{
  mPropertyMaps.emplace_back(AAX_VPropertyMap::Create(mHostUnknown));
  return mPropertyMaps.back().get();
}

AAX_IPropertyMap*
AAX_VComponentDescriptor::DuplicatePropertyMap(AAX_IPropertyMap* inPropertyMap) const
{
  AAX_IPropertyMap* copy = NewPropertyMap();
  if (const auto* source = dynamic_cast<const AAX_VPropertyMap*>(inPropertyMap))
    source->CopyTo(*copy);
  return copy;
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc(AAX_IPropertyMap* inProperties,
                                                    AAX_CSelector* outProcIDs,
                                                    int32_t inProcIDsSize)
{
  if (mIACFComponentDescriptorV3)
    return mIACFComponentDescriptorV3->AddProcessProc(HostMap(inProperties), outProcIDs,
                                                      inProcIDsSize);
  if (mIACFComponentDescriptor && inProperties)
    return ManuallyAddProcessProcs(*inProperties, outProcIDs, inProcIDsSize);
  return AAX_ERROR_NULL_OBJECT;
}

// A host without version 3 cannot read procedures out of a property map, so
// the procedures the map names are registered one by one through version 1.
AAX_Result AAX_VComponentDescriptor::ManuallyAddProcessProcs(AAX_IPropertyMap& inProperties,
                                                             AAX_CSelector* outProcIDs,
                                                             int32_t inProcIDsSize)
{
  AAX_Result result = AAX_SUCCESS;
  std::vector<AAX_CSelector> ids;

  AAX_CPropertyValue value = 0;
  const bool hasNative = inProperties.GetProperty(AAX_eProperty_PlugInID_Native, &value) != 0;
  const bool hasAudioSuite =
      inProperties.GetProperty(AAX_eProperty_PlugInID_AudioSuite, &value) != 0;
  const bool hasTI = inProperties.GetProperty(AAX_eProperty_PlugInID_TI, &value) != 0;

  if (hasNative || hasAudioSuite)
  {
    bool found = false;
    const auto processProc =
        PointerProperty<AAX_CProcessProc>(inProperties, AAX_eProperty_NativeProcessProc, found);
    if (!found) TraceMissing("AAX_eProperty_NativeProcessProc");
    const auto initProc = PointerProperty<AAX_CInstanceInitProc>(
        inProperties, AAX_eProperty_NativeInstanceInitProc, found);
    const auto backgroundProc = PointerProperty<AAX_CBackgroundProc>(
        inProperties, AAX_eProperty_NativeBackgroundProc, found);

    // The host reads the native buffer length from the component itself; a
    // map that still carries it goes to the host as a copy without it.
    AAX_IPropertyMap* mapToUse = &inProperties;
    if (inProperties.GetProperty(AAX_eProperty_AudioBufferLength, &value))
    {
      mapToUse = DuplicatePropertyMap(&inProperties);
      AAX_CPropertyValue ignored = 0;
      const AAX_CBoolean gotPropertySuccess =
          mapToUse->GetProperty(AAX_eProperty_AudioBufferLength, &ignored);
      if (0 == gotPropertySuccess)
        AAX_CHostServices::HandleAssertFailure(kSourceName, 89, "0 != gotPropertySuccess",
                                               AAX_kAssertFlags);
      const AAX_Result removeNativeAudioBufferLengthResult =
          mapToUse->RemoveProperty(AAX_eProperty_AudioBufferLength);
      if (AAX_SUCCESS != removeNativeAudioBufferLengthResult)
        AAX_CHostServices::HandleAssertFailure(kSourceName, 93,
                                               "AAX_SUCCESS == removeNativeAudioBufferLengthResult",
                                               AAX_kAssertFlags);
    }

    AAX_CSelector id = 0;
    result = AddProcessProc_Native(processProc, mapToUse, initProc, backgroundProc, &id);
    if (result == AAX_SUCCESS) ids.push_back(id);
  }

  if (result == AAX_SUCCESS && hasTI)
  {
    bool found = false;
    const auto* dllName =
        PointerProperty<const char*>(inProperties, AAX_eProperty_TIDLLFileName, found);
    if (!found) TraceMissing("AAX_eProperty_TIDLLFileName");
    const auto* processName =
        PointerProperty<const char*>(inProperties, AAX_eProperty_TIProcessProc, found);
    if (!found) TraceMissing("AAX_eProperty_TIProcessProc");
    const auto* initName =
        PointerProperty<const char*>(inProperties, AAX_eProperty_TIInstanceInitProc, found);
    const auto* backgroundName =
        PointerProperty<const char*>(inProperties, AAX_eProperty_TIBackgroundProc, found);

    AAX_CSelector id = 0;
    result = AddProcessProc_TI(dllName, processName, &inProperties, initName, backgroundName, &id);
    if (result == AAX_SUCCESS) ids.push_back(id);
  }

  if (result == AAX_SUCCESS && outProcIDs)
  {
    // Room for every ID and the closing 0.
    if (ids.size() > 0x7FFFFFFEu || static_cast<int64_t>(ids.size()) >= inProcIDsSize)
      return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;
    for (size_t i = 0; i < ids.size(); ++i)
      outProcIDs[i] = ids[i];
    outProcIDs[ids.size()] = 0;
  }
  return result;
}

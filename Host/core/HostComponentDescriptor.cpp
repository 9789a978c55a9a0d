#include "HostComponentDescriptor.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "HostPropertyMap.h"

#include <atomic>

namespace aaxhost
{
namespace
{
// Procedure IDs are unique in the host process; 0 ends an ID list.
std::atomic<AAX_CSelector> sNextProcID{1};

const char* Text(const void* p) { return p ? static_cast<const char*>(p) : ""; }
} // namespace

HostComponentDescriptor::HostComponentDescriptor(int version) : mVersion(version) {}

void* HostComponentDescriptor::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXComponentDescriptorV1 ||
      (iid == IID_IAAXComponentDescriptorV2 && mVersion >= 2) ||
      (iid == IID_IAAXComponentDescriptorV3 && mVersion >= 3))
    return static_cast<AAX_IACFComponentDescriptor_V3*>(this);
  return nullptr;
}

AAX_Result HostComponentDescriptor::AddField(AAX_CFieldIndex index, const char* kind,
                                             std::vector<int64_t> numbers, const char* name)
{
  mCalls.Add(std::string("Add") + kind, Args(index));
  if (index < 0) return AAX_ERROR_INVALID_FIELD_INDEX;
  DescribedField f;
  f.index = index;
  f.kind = kind;
  f.numbers = std::move(numbers);
  if (name) f.name = name;
  std::lock_guard<std::mutex> lock(mMutex);
  mComponent.fields.push_back(std::move(f));
  return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::Clear()
{
  mCalls.Add("Clear", "");
  std::lock_guard<std::mutex> lock(mMutex);
  mComponent = DescribedComponent();
  return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddAudioIn(AAX_CFieldIndex i)
{
  return AddField(i, "AudioIn", {});
}
AAX_Result HostComponentDescriptor::AddAudioOut(AAX_CFieldIndex i)
{
  return AddField(i, "AudioOut", {});
}
AAX_Result HostComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex i)
{
  return AddField(i, "AudioBufferLength", {});
}
AAX_Result HostComponentDescriptor::AddSampleRate(AAX_CFieldIndex i)
{
  return AddField(i, "SampleRate", {});
}
AAX_Result HostComponentDescriptor::AddClock(AAX_CFieldIndex i) { return AddField(i, "Clock", {}); }
AAX_Result HostComponentDescriptor::AddSideChainIn(AAX_CFieldIndex i)
{
  return AddField(i, "SideChainIn", {});
}
AAX_Result HostComponentDescriptor::AddDataInPort(AAX_CFieldIndex i, uint32_t inPacketSize,
                                                  AAX_EDataInPortType inPortType)
{
  return AddField(i, "DataInPort", {inPacketSize, inPortType});
}
AAX_Result HostComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex i, int32_t inStemFormat,
                                                     const char* inNameUTF8)
{
  return AddField(i, "AuxOutputStem", {inStemFormat}, inNameUTF8);
}
AAX_Result HostComponentDescriptor::AddPrivateData(AAX_CFieldIndex i, int32_t inDataSize,
                                                   uint32_t inOptions)
{
  return AddField(i, "PrivateData", {inDataSize, inOptions});
}
AAX_Result HostComponentDescriptor::AddDmaInstance(AAX_CFieldIndex i, AAX_EDmaMode inMode)
{
  return AddField(i, "DmaInstance", {inMode});
}
AAX_Result HostComponentDescriptor::AddMeters(AAX_CFieldIndex i, const AAX_CTypeID* inMeterIDs,
                                              uint32_t inMeterCount)
{
  if (!inMeterIDs && inMeterCount) return AAX_ERROR_NULL_ARGUMENT;
  const AAX_Result r = AddField(i, "Meters", {inMeterCount});
  if (r == AAX_SUCCESS)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mComponent.fields.back().meterIDs.assign(inMeterIDs, inMeterIDs + inMeterCount);
  }
  return r;
}
AAX_Result HostComponentDescriptor::AddMIDINode(AAX_CFieldIndex i, AAX_EMIDINodeType inNodeType,
                                                const char* inNodeName, uint32_t inChannelMask)
{
  return AddField(i, "MIDINode", {inNodeType, inChannelMask}, inNodeName);
}
AAX_Result HostComponentDescriptor::AddReservedField(AAX_CFieldIndex i, uint32_t inFieldType)
{
  return AddField(i, "ReservedField", {inFieldType});
}
AAX_Result HostComponentDescriptor::AddTemporaryData(AAX_CFieldIndex i, uint32_t inDataElementSize)
{
  return AddField(i, "TemporaryData", {inDataElementSize});
}

AAX_Result HostComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc inProcessProc,
                                                          IACFUnknown* inProperties,
                                                          AAX_CInstanceInitProc inInstanceInitProc,
                                                          AAX_CBackgroundProc inBackgroundProc,
                                                          AAX_CSelector* outProcID)
{
  mCalls.Add("AddProcessProc_Native", Args(reinterpret_cast<void*>(inProcessProc), inProperties));
  if (!inProcessProc) return AAX_ERROR_NULL_ARGUMENT;
  DescribedProcessProc p;
  p.id = sNextProcID++;
  p.process = inProcessProc;
  p.instanceInit = inInstanceInitProc;
  p.background = inBackgroundProc;
  p.properties = PropertiesOf(inProperties);
  if (outProcID) *outProcID = p.id;
  std::lock_guard<std::mutex> lock(mMutex);
  mComponent.processProcs.push_back(std::move(p));
  return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddProcessProc_TI(const char* inDLLFileNameUTF8,
                                                      const char* inProcessProcSymbol,
                                                      IACFUnknown* inProperties,
                                                      const char* inInstanceInitProcSymbol,
                                                      const char* inBackgroundProcSymbol,
                                                      AAX_CSelector* outProcID)
{
  mCalls.Add("AddProcessProc_TI", Args(inDLLFileNameUTF8, inProcessProcSymbol, inProperties));
  if (!inDLLFileNameUTF8 || !inProcessProcSymbol) return AAX_ERROR_NULL_ARGUMENT;
  DescribedProcessProc p;
  p.id = sNextProcID++;
  p.native = false;
  p.tiDLLFileName = inDLLFileNameUTF8;
  p.tiProcess = inProcessProcSymbol;
  p.tiInstanceInit = Text(inInstanceInitProcSymbol);
  p.tiBackground = Text(inBackgroundProcSymbol);
  p.properties = PropertiesOf(inProperties);
  if (outProcID) *outProcID = p.id;
  std::lock_guard<std::mutex> lock(mMutex);
  mComponent.processProcs.push_back(std::move(p));
  return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddProcessProc(IACFUnknown* inProperties,
                                                   AAX_CSelector* outProcIDs, int32_t inProcIDsSize)
{
  mCalls.Add("AddProcessProc", Args(inProperties, inProcIDsSize));
  if (!HostComponentOf<HostPropertyMap>(inProperties)) return AAX_ERROR_NULL_OBJECT;
  const DescribedProperties props = PropertiesOf(inProperties);
  auto pointer = [&props](AAX_EProperty id) -> const void*
  {
    auto it = props.pointers.find(id);
    return it == props.pointers.end() ? nullptr : it->second;
  };
  std::vector<AAX_CSelector> ids;
  AAX_Result r = AAX_SUCCESS;
  if (props.Has(AAX_eProperty_PlugInID_Native) || props.Has(AAX_eProperty_PlugInID_AudioSuite))
  {
    AAX_CSelector id = 0;
    r = AddProcessProc_Native(reinterpret_cast<AAX_CProcessProc>(
                                  const_cast<void*>(pointer(AAX_eProperty_NativeProcessProc))),
                              inProperties,
                              reinterpret_cast<AAX_CInstanceInitProc>(
                                  const_cast<void*>(pointer(AAX_eProperty_NativeInstanceInitProc))),
                              reinterpret_cast<AAX_CBackgroundProc>(
                                  const_cast<void*>(pointer(AAX_eProperty_NativeBackgroundProc))),
                              &id);
    if (r == AAX_SUCCESS) ids.push_back(id);
  }
  if (r == AAX_SUCCESS && props.Has(AAX_eProperty_PlugInID_TI))
  {
    AAX_CSelector id = 0;
    r = AddProcessProc_TI(static_cast<const char*>(pointer(AAX_eProperty_TIDLLFileName)),
                          static_cast<const char*>(pointer(AAX_eProperty_TIProcessProc)),
                          inProperties,
                          static_cast<const char*>(pointer(AAX_eProperty_TIInstanceInitProc)),
                          static_cast<const char*>(pointer(AAX_eProperty_TIBackgroundProc)), &id);
    if (r == AAX_SUCCESS) ids.push_back(id);
  }
  if (r != AAX_SUCCESS || !outProcIDs) return r;
  if (static_cast<int64_t>(ids.size()) >= inProcIDsSize) return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;
  for (size_t i = 0; i < ids.size(); ++i)
    outProcIDs[i] = ids[i];
  outProcIDs[ids.size()] = 0;
  return AAX_SUCCESS;
}

DescribedComponent HostComponentDescriptor::Snapshot() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mComponent;
}
} // namespace aaxhost

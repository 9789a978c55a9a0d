#include "HostController.h"

#include "ACF/ACFPtr.h"
#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_IACFPageTable.h"
#include "AAX_UIDs.h"

namespace aaxhost
{
namespace
{
std::vector<uint8_t> Bytes(const void* data, uint32_t size)
{
  const auto* p = static_cast<const uint8_t*>(data);
  return p ? std::vector<uint8_t>(p, p + size) : std::vector<uint8_t>();
}
} // namespace

HostController::HostController(int controllerVersion, int pageTableControllerVersion)
    : mControllerVersion(controllerVersion), mPageTableControllerVersion(pageTableControllerVersion)
{
}

void* HostController::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXControllerV1 ||
      (iid == IID_IAAXControllerV2 && mControllerVersion >= 2) ||
      (iid == IID_IAAXControllerV3 && mControllerVersion >= 3))
    return static_cast<AAX_IACFController_V3*>(this);
  if ((iid == IID_IAAXPageTableController && mPageTableControllerVersion >= 1) ||
      (iid == IID_IAAXPageTableControllerV2 && mPageTableControllerVersion >= 2))
    return static_cast<AAX_IACFPageTableController_V2*>(this);
  return nullptr;
}

ControllerState HostController::State() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mState;
}

void HostController::SetState(const ControllerState& state)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mState = state;
  mInputStemFormat.store(state.inputStemFormat);
  mOutputStemFormat.store(state.outputStemFormat);
}

AAX_Result HostController::GetEffectID(AAX_IString* oEffectID)
{
  mCalls.Add("GetEffectID", Args(static_cast<void*>(oEffectID)));
  if (!oEffectID) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  oEffectID->Set(mState.effectID.c_str());
  return AAX_SUCCESS;
}

// Reads one field of the state into a non-null out pointer.
#define QV_GET(op, out, expr)                                                                      \
  if (mCalls.Enabled()) mCalls.Add(op, Args(static_cast<const void*>(out)));                       \
  if (!(out)) return AAX_ERROR_NULL_ARGUMENT;                                                      \
  std::lock_guard<std::mutex> lock(mMutex);                                                        \
  *(out) = (expr);                                                                                 \
  return AAX_SUCCESS

AAX_Result HostController::GetSampleRate(float* o)
{
  QV_GET("GetSampleRate", o, mState.sampleRate);
}
// As QV_GET, from a lock-free copy of the state's field.
#define QV_GET_ATOMIC(op, out, copy)                                                               \
  if (mCalls.Enabled()) mCalls.Add(op, Args(static_cast<const void*>(out)));                       \
  if (!(out)) return AAX_ERROR_NULL_ARGUMENT;                                                      \
  *(out) = (copy).load();                                                                          \
  return AAX_SUCCESS

AAX_Result HostController::GetInputStemFormat(AAX_EStemFormat* o)
{
  QV_GET_ATOMIC("GetInputStemFormat", o, mInputStemFormat);
}
AAX_Result HostController::GetOutputStemFormat(AAX_EStemFormat* o)
{
  QV_GET_ATOMIC("GetOutputStemFormat", o, mOutputStemFormat);
}
AAX_Result HostController::GetSignalLatency(int32_t* o)
{
  QV_GET("GetSignalLatency", o, mState.signalLatency);
}
AAX_Result HostController::GetTODLocation(AAX_CTimeOfDay* o)
{
  QV_GET("GetTODLocation", o, mState.todLocation);
}
AAX_Result HostController::GetMeterCount(uint32_t* o)
{
  QV_GET("GetMeterCount", o, static_cast<uint32_t>(mState.meters.size()));
}
AAX_Result HostController::GetHybridSignalLatency(int32_t* o)
{
  QV_GET("GetHybridSignalLatency", o, mState.hybridSignalLatency);
}
AAX_Result HostController::GetCurrentAutomationTimestamp(AAX_CTransportCounter* o)
{
  QV_GET("GetCurrentAutomationTimestamp", o, mState.automationTimestamp);
}
AAX_Result HostController::GetPlugInTargetPlatform(AAX_CTargetPlatform* o)
{
  QV_GET("GetPlugInTargetPlatform", o, mState.targetPlatform);
}
AAX_Result HostController::GetIsAudioSuite(AAX_CBoolean* o)
{
  QV_GET("GetIsAudioSuite", o, static_cast<AAX_CBoolean>(mState.isAudioSuite ? 1 : 0));
}
#undef QV_GET
#undef QV_GET_ATOMIC

AAX_Result HostController::GetCycleCount(AAX_EProperty iWhich, AAX_CPropertyValue* oNumCycles)
{
  mCalls.Add("GetCycleCount", Args(static_cast<int32_t>(iWhich), static_cast<void*>(oNumCycles)));
  if (!oNumCycles) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mState.cycleCounts.find(iWhich);
  *oNumCycles = it == mState.cycleCounts.end() ? 0 : it->second;
  return AAX_SUCCESS;
}

AAX_Result HostController::SetSignalLatency(int32_t iNumSamples)
{
  mCalls.Add("SetSignalLatency", Args(iNumSamples));
  std::lock_guard<std::mutex> lock(mMutex);
  mState.signalLatency = iNumSamples;
  return AAX_SUCCESS;
}

AAX_Result HostController::SetCycleCount(AAX_EProperty* iWhich, AAX_CPropertyValue* iValues,
                                         int32_t iNumValues)
{
  std::string args;
  for (int32_t i = 0; iWhich && iValues && i < iNumValues; ++i)
    args += Args(static_cast<int32_t>(iWhich[i]), iValues[i]) + "; ";
  mCalls.Add("SetCycleCount", args + Args(iNumValues));
  if (iNumValues < 0 || (iNumValues > 0 && (!iWhich || !iValues))) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  for (int32_t i = 0; i < iNumValues; ++i)
    mState.cycleCounts[iWhich[i]] = iValues[i];
  return AAX_SUCCESS;
}

AAX_Result HostController::PostPacket(AAX_CFieldIndex iFieldIndex, const void* iPayload,
                                      uint32_t iPayloadSize)
{
  mCalls.Add("PostPacket", Args(iFieldIndex, iPayload, iPayloadSize));
  if (!iPayload && iPayloadSize) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mState.packets.push_back({iFieldIndex, Bytes(iPayload, iPayloadSize)});
  return AAX_SUCCESS;
}

template <class F> AAX_Result HostController::WithMeter(AAX_CTypeID id, F f)
{
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mState.meters.find(id);
  if (it == mState.meters.end()) return AAX_ERROR_INVALID_METER_INDEX;
  f(it->second);
  return AAX_SUCCESS;
}

AAX_Result HostController::GetCurrentMeterValue(AAX_CTypeID iMeterID, float* oValue)
{
  mCalls.Add("GetCurrentMeterValue", Args(iMeterID, static_cast<void*>(oValue)));
  if (!oValue) return AAX_ERROR_NULL_ARGUMENT;
  return WithMeter(iMeterID, [&](Meter& m) { *oValue = m.value; });
}

AAX_Result HostController::GetMeterPeakValue(AAX_CTypeID iMeterID, float* oValue)
{
  mCalls.Add("GetMeterPeakValue", Args(iMeterID, static_cast<void*>(oValue)));
  if (!oValue) return AAX_ERROR_NULL_ARGUMENT;
  return WithMeter(iMeterID, [&](Meter& m) { *oValue = m.peak; });
}

AAX_Result HostController::ClearMeterPeakValue(AAX_CTypeID iMeterID)
{
  mCalls.Add("ClearMeterPeakValue", Args(iMeterID));
  return WithMeter(iMeterID, [](Meter& m) { m.peak = 0; });
}

AAX_Result HostController::GetMeterClipped(AAX_CTypeID iMeterID, AAX_CBoolean* oClipped)
{
  mCalls.Add("GetMeterClipped", Args(iMeterID, static_cast<void*>(oClipped)));
  if (!oClipped) return AAX_ERROR_NULL_ARGUMENT;
  return WithMeter(iMeterID, [&](Meter& m) { *oClipped = m.clipped ? 1 : 0; });
}

AAX_Result HostController::ClearMeterClipped(AAX_CTypeID iMeterID)
{
  mCalls.Add("ClearMeterClipped", Args(iMeterID));
  return WithMeter(iMeterID, [](Meter& m) { m.clipped = false; });
}

AAX_Result HostController::GetNextMIDIPacket(AAX_CFieldIndex* oPort, AAX_CMidiPacket* oPacket)
{
  mCalls.Add("GetNextMIDIPacket", Args(static_cast<void*>(oPort), static_cast<void*>(oPacket)));
  if (!oPort || !oPacket) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  if (mState.midiIn.empty()) return AAX_ERROR_NULL_OBJECT; // nothing pending
  *oPort = mState.midiIn.front().port;
  *oPacket = mState.midiIn.front().packet;
  mState.midiIn.pop_front();
  return AAX_SUCCESS;
}

AAX_Result HostController::SendNotification(AAX_CTypeID iNotificationType, const void* iData,
                                            uint32_t iDataSize)
{
  mCalls.Add("SendNotification", Args(iNotificationType, iData, iDataSize));
  if (!iData && iDataSize) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mState.notifications.push_back({iNotificationType, Bytes(iData, iDataSize)});
  return AAX_SUCCESS;
}

AAX_Result HostController::GetHostName(AAX_IString* oHostName)
{
  mCalls.Add("GetHostName", Args(static_cast<void*>(oHostName)));
  if (!oHostName) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  oHostName->Set(mState.hostName.c_str());
  return AAX_SUCCESS;
}

AAX_Result HostController::CopyPageTable(IACFUnknown* target)
{
  const ACFPtr<AAX_IACFPageTable> table(target, IID_IAAXPageTableV1);
  if (!table) return AAX_ERROR_NULL_OBJECT;
  std::vector<std::vector<std::string>> pages;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    pages = mState.pageTable;
  }
  // Through the table's own interface, as a host copies into a plug-in's table.
  AAX_Result r = table->Clear();
  for (int32_t page = 0; r == AAX_SUCCESS && page < static_cast<int32_t>(pages.size()); ++page)
  {
    r = table->InsertPage(page);
    for (int32_t i = 0; r == AAX_SUCCESS && i < static_cast<int32_t>(pages[page].size()); ++i)
      if (!pages[page][i].empty()) r = table->MapParameterID(pages[page][i].c_str(), page, i);
  }
  return r;
}

AAX_Result HostController::CreateTableCopyForEffect(AAX_CPropertyValue iManufacturerID,
                                                    AAX_CPropertyValue iProductID,
                                                    AAX_CPropertyValue iPlugInID,
                                                    uint32_t iTableType, int32_t iTablePageSize,
                                                    IACFUnknown* oPageTable)
{
  mCalls.Add("CreateTableCopyForEffect", Args(iManufacturerID, iProductID, iPlugInID, iTableType,
                                              iTablePageSize, static_cast<void*>(oPageTable)));
  return CopyPageTable(oPageTable);
}

AAX_Result HostController::CreateTableCopyForLayout(const char* iEffectID, const char* iLayoutName,
                                                    uint32_t iTableType, int32_t iTablePageSize,
                                                    IACFUnknown* oPageTable)
{
  mCalls.Add("CreateTableCopyForLayout", Args(iEffectID, iLayoutName, iTableType, iTablePageSize,
                                              static_cast<void*>(oPageTable)));
  return CopyPageTable(oPageTable);
}

AAX_Result HostController::CreateTableCopyForEffectFromFile(
    const char* iPageTableFilePath, AAX_ETextEncoding iFilePathEncoding,
    AAX_CPropertyValue iManufacturerID, AAX_CPropertyValue iProductID, AAX_CPropertyValue iPlugInID,
    uint32_t iTableType, int32_t iTablePageSize, IACFUnknown* oPageTable)
{
  mCalls.Add("CreateTableCopyForEffectFromFile",
             Args(iPageTableFilePath, static_cast<int32_t>(iFilePathEncoding), iManufacturerID,
                  iProductID, iPlugInID, iTableType, iTablePageSize,
                  static_cast<void*>(oPageTable)));
  return CopyPageTable(oPageTable);
}

AAX_Result HostController::CreateTableCopyForLayoutFromFile(
    const char* iPageTableFilePath, AAX_ETextEncoding iFilePathEncoding, const char* iLayoutName,
    uint32_t iTableType, int32_t iTablePageSize, IACFUnknown* oPageTable)
{
  mCalls.Add("CreateTableCopyForLayoutFromFile",
             Args(iPageTableFilePath, static_cast<int32_t>(iFilePathEncoding), iLayoutName,
                  iTableType, iTablePageSize, static_cast<void*>(oPageTable)));
  return CopyPageTable(oPageTable);
}
} // namespace aaxhost

// The stand-in host's controller: controller versions 1 to 3 and page-table
// controller versions 1 and 2, over one instance's host-side state.
#pragma once

#include "AAX_IACFController.h"
#include "AAX_IACFPageTableController.h"
#include "HostComponent.h"

#include <deque>
#include <map>

namespace aaxhost
{
struct Meter
{
  float value = 0;
  float peak = 0;
  bool clipped = false;
};

struct Packet
{
  AAX_CFieldIndex port;
  std::vector<uint8_t> bytes;
};

struct Notification
{
  AAX_CTypeID type;
  std::vector<uint8_t> bytes;
};

struct PendingMIDI
{
  AAX_CFieldIndex port;
  AAX_CMidiPacket packet;
};

// What the host hands out and what it has been told. Read and written under
// the controller's lock through State() / SetState().
struct ControllerState
{
  std::string effectID = "com.orvantine.quorvane";
  float sampleRate = 44100.0f;
  AAX_EStemFormat inputStemFormat = AAX_STEM_FORMAT(1, 2);
  AAX_EStemFormat outputStemFormat = AAX_STEM_FORMAT(1, 2);
  int32_t signalLatency = 0;
  int32_t hybridSignalLatency = 0;
  std::map<int32_t, AAX_CPropertyValue> cycleCounts; // by AAX_EProperty
  AAX_CTimeOfDay todLocation = 0;
  AAX_CTransportCounter automationTimestamp = 0;
  std::map<AAX_CTypeID, Meter> meters;
  std::deque<PendingMIDI> midiIn; // handed out by GetNextMIDIPacket, first in first out
  std::string hostName = "Quorvane stand-in host";
  AAX_CTargetPlatform targetPlatform = 1;
  bool isAudioSuite = false;
  std::vector<Packet> packets;             // posted by the plug-in
  std::vector<Notification> notifications; // sent by the plug-in
  // The host's page table, copied into the plug-in's tables on request:
  // pages of parameter identifiers ("" for an empty slot).
  std::vector<std::vector<std::string>> pageTable;
};

class HostController final : public AAX_IACFController_V3,
                             public AAX_IACFPageTableController_V2,
                             public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  // controllerVersion 1..3; pageTableControllerVersion 0 (none) .. 2.
  explicit HostController(int controllerVersion = 3, int pageTableControllerVersion = 2);

  ControllerState State() const;
  void SetState(const ControllerState& state);

  // Controller, version 1
  AAX_Result GetEffectID(AAX_IString* oEffectID) override;
  AAX_Result GetSampleRate(float* oSampleRate) override;
  AAX_Result GetInputStemFormat(AAX_EStemFormat* oStemFormat) override;
  AAX_Result GetOutputStemFormat(AAX_EStemFormat* oStemFormat) override;
  AAX_Result GetSignalLatency(int32_t* oSamples) override;
  AAX_Result GetCycleCount(AAX_EProperty iWhichCycleCount, AAX_CPropertyValue* oNumCycles) override;
  AAX_Result GetTODLocation(AAX_CTimeOfDay* oTODLocation) override;
  AAX_Result SetSignalLatency(int32_t iNumSamples) override;
  AAX_Result SetCycleCount(AAX_EProperty* iWhichCycleCounts, AAX_CPropertyValue* iValues,
                           int32_t iNumValues) override;
  AAX_Result PostPacket(AAX_CFieldIndex iFieldIndex, const void* iPayload,
                        uint32_t iPayloadSize) override;
  AAX_Result GetCurrentMeterValue(AAX_CTypeID iMeterID, float* oValue) override;
  AAX_Result GetMeterPeakValue(AAX_CTypeID iMeterID, float* oValue) override;
  AAX_Result ClearMeterPeakValue(AAX_CTypeID iMeterID) override;
  AAX_Result GetMeterClipped(AAX_CTypeID iMeterID, AAX_CBoolean* oClipped) override;
  AAX_Result ClearMeterClipped(AAX_CTypeID iMeterID) override;
  AAX_Result GetMeterCount(uint32_t* oMeterCount) override;
  AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* oPort, AAX_CMidiPacket* oPacket) override;
  // Controller, version 2
  AAX_Result SendNotification(AAX_CTypeID iNotificationType, const void* iData,
                              uint32_t iDataSize) override;
  AAX_Result GetHybridSignalLatency(int32_t* oSamples) override;
  AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* oTimestamp) override;
  AAX_Result GetHostName(AAX_IString* oHostName) override;
  // Controller, version 3
  AAX_Result GetPlugInTargetPlatform(AAX_CTargetPlatform* oTargetPlatform) override;
  AAX_Result GetIsAudioSuite(AAX_CBoolean* oIsAudioSuite) override;

  // Page-table controller: copy the host's page table into oPageTable (a host
  // page table component); -20004 when it is not one.
  AAX_Result CreateTableCopyForEffect(AAX_CPropertyValue iManufacturerID,
                                      AAX_CPropertyValue iProductID, AAX_CPropertyValue iPlugInID,
                                      uint32_t iTableType, int32_t iTablePageSize,
                                      IACFUnknown* oPageTable) override;
  AAX_Result CreateTableCopyForLayout(const char* iEffectID, const char* iLayoutName,
                                      uint32_t iTableType, int32_t iTablePageSize,
                                      IACFUnknown* oPageTable) override;
  AAX_Result CreateTableCopyForEffectFromFile(const char* iPageTableFilePath,
                                              AAX_ETextEncoding iFilePathEncoding,
                                              AAX_CPropertyValue iManufacturerID,
                                              AAX_CPropertyValue iProductID,
                                              AAX_CPropertyValue iPlugInID, uint32_t iTableType,
                                              int32_t iTablePageSize,
                                              IACFUnknown* oPageTable) override;
  AAX_Result CreateTableCopyForLayoutFromFile(const char* iPageTableFilePath,
                                              AAX_ETextEncoding iFilePathEncoding,
                                              const char* iLayoutName, uint32_t iTableType,
                                              int32_t iTablePageSize,
                                              IACFUnknown* oPageTable) override;

private:
  ~HostController() override = default;
  void* Answer(const acfIID& iid) override;
  AAX_Result CopyPageTable(IACFUnknown* target);
  template <class F> AAX_Result WithMeter(AAX_CTypeID id, F f);

  const int mControllerVersion;
  const int mPageTableControllerVersion;
  mutable std::mutex mMutex;
  ControllerState mState;
  // The stem formats, asked for on every render call, answered without the
  // lock as a workstation answers from its fixed per-instance data. Copies
  // of mState's two fields, written with them under mMutex.
  std::atomic<AAX_EStemFormat> mInputStemFormat{mState.inputStemFormat};
  std::atomic<AAX_EStemFormat> mOutputStemFormat{mState.outputStemFormat};
};
} // namespace aaxhost

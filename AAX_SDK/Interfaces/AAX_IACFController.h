// Host controller interfaces, versions 1 to 3. Implemented by the
// host; the plug-in calls them through AAX_VController. Slot numbers count
// QueryInterface, AddRef and Release as 0, 1, 2. A later version is asked of the
// host object with its own identifier (IID_IAAXControllerV1..V3) and extends the
// table of the one before.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"
#include "AAX_IString.h"

// Contract of every operation below: 0 on success or a host failure code; out
// pointers belong to the caller and are written only on success; texts are
// copied into the caller's AAX_IString. Thread: [any] (the render thread posts
// packets and reads meters and MIDI; the others come from [host] threads).
class AAX_IACFController : public IACFUnknown
{
public:
  virtual AAX_Result GetEffectID(AAX_IString* oEffectID) = 0;                            // 3
  virtual AAX_Result GetSampleRate(float* oSampleRate) = 0;                              // 4
  virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* oStemFormat) = 0;               // 5
  virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* oStemFormat) = 0;              // 6
  virtual AAX_Result GetSignalLatency(int32_t* oSamples) = 0;                            // 7
  virtual AAX_Result GetCycleCount(AAX_EProperty iWhichCycleCount,                       //
                                   AAX_CPropertyValue* oNumCycles) = 0;                  // 8
  virtual AAX_Result GetTODLocation(AAX_CTimeOfDay* oTODLocation) = 0;                   // 9
  virtual AAX_Result SetSignalLatency(int32_t iNumSamples) = 0;                          // 10
  virtual AAX_Result SetCycleCount(AAX_EProperty* iWhichCycleCounts,                     //
                                   AAX_CPropertyValue* iValues, int32_t iNumValues) = 0; // 11
  virtual AAX_Result PostPacket(AAX_CFieldIndex iFieldIndex, const void* iPayload,       //
                                uint32_t iPayloadSize) = 0;                              // 12
  virtual AAX_Result GetCurrentMeterValue(AAX_CTypeID iMeterID, float* oValue) = 0;      // 13
  virtual AAX_Result GetMeterPeakValue(AAX_CTypeID iMeterID, float* oValue) = 0;         // 14
  virtual AAX_Result ClearMeterPeakValue(AAX_CTypeID iMeterID) = 0;                      // 15
  virtual AAX_Result GetMeterClipped(AAX_CTypeID iMeterID, AAX_CBoolean* oClipped) = 0;  // 16
  virtual AAX_Result ClearMeterClipped(AAX_CTypeID iMeterID) = 0;                        // 17
  virtual AAX_Result GetMeterCount(uint32_t* oMeterCount) = 0;                           // 18
  virtual AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* oPort,                           //
                                       AAX_CMidiPacket* oPacket) = 0;                    // 19

protected:
  ~AAX_IACFController() = default;
};

class AAX_IACFController_V2 : public AAX_IACFController
{
public:
  virtual AAX_Result SendNotification(AAX_CTypeID iNotificationType, const void* iData,
                                      uint32_t iDataSize) = 0;                             // 20
  virtual AAX_Result GetHybridSignalLatency(int32_t* oSamples) = 0;                        // 21
  virtual AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* oTimestamp) = 0; // 22
  virtual AAX_Result GetHostName(AAX_IString* oHostName) = 0;                              // 23

protected:
  ~AAX_IACFController_V2() = default;
};

class AAX_IACFController_V3 : public AAX_IACFController_V2
{
public:
  virtual AAX_Result GetPlugInTargetPlatform(AAX_CTargetPlatform* oTargetPlatform) = 0; // 24
  virtual AAX_Result GetIsAudioSuite(AAX_CBoolean* oIsAudioSuite) = 0;                  // 25

protected:
  ~AAX_IACFController_V3() = default;
};

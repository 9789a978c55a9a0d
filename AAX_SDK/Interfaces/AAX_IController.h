// AAX_IController: the plug-in side's view of the host controller.
// AAX_VController implements it over the host's controller interfaces.
// Operations in this order (the wrapper's own slot order), then the page-table copies.
// Results: the host's result, or -20004 / -20009 when the host lacks the
// interface version (see AAX_VController). Thread: [any], as the host allows.
#pragma once

#include "AAX.h"
#include "AAX_IPageTable.h"
#include "AAX_IString.h"

class AAX_IController
{
public:
  virtual ~AAX_IController() {}

  virtual AAX_Result GetEffectID(AAX_IString* oEffectID) const = 0;
  virtual AAX_Result GetSampleRate(float* oSampleRate) const = 0;
  virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* oStemFormat) const = 0;
  virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* oStemFormat) const = 0;
  virtual AAX_Result GetSignalLatency(int32_t* oSamples) const = 0;
  virtual AAX_Result GetCycleCount(AAX_EProperty iWhichCycleCount,
                                   AAX_CPropertyValue* oNumCycles) const = 0;
  virtual AAX_Result GetTODLocation(AAX_CTimeOfDay* oTODLocation) const = 0;
  virtual AAX_Result SetSignalLatency(int32_t iNumSamples) = 0;
  virtual AAX_Result SetCycleCount(AAX_EProperty* iWhichCycleCounts, AAX_CPropertyValue* iValues,
                                   int32_t iNumValues) = 0;
  virtual AAX_Result PostPacket(AAX_CFieldIndex iFieldIndex, const void* iPayload,
                                uint32_t iPayloadSize) = 0;
  virtual AAX_Result SendNotification(AAX_CTypeID iNotificationType, const void* iData,
                                      uint32_t iDataSize) = 0;
  // The same notification with no data (null, size 0).
  virtual AAX_Result SendNotification(AAX_CTypeID iNotificationType) = 0;
  virtual AAX_Result GetCurrentMeterValue(AAX_CTypeID iMeterID, float* oValue) const = 0;
  virtual AAX_Result GetMeterPeakValue(AAX_CTypeID iMeterID, float* oValue) const = 0;
  virtual AAX_Result ClearMeterPeakValue(AAX_CTypeID iMeterID) const = 0;
  virtual AAX_Result GetMeterCount(uint32_t* oMeterCount) const = 0;
  virtual AAX_Result GetMeterClipped(AAX_CTypeID iMeterID, AAX_CBoolean* oClipped) const = 0;
  virtual AAX_Result ClearMeterClipped(AAX_CTypeID iMeterID) const = 0;
  virtual AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* oPort, AAX_CMidiPacket* oPacket) = 0;
  virtual AAX_Result GetHybridSignalLatency(int32_t* oSamples) const = 0;
  virtual AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* oTimestamp) const = 0;
  virtual AAX_Result GetHostName(AAX_IString* oHostName) const = 0;
  virtual AAX_Result GetPlugInTargetPlatform(AAX_CTargetPlatform* oTargetPlatform) const = 0;
  virtual AAX_Result GetIsAudioSuite(AAX_CBoolean* oIsAudioSuite) const = 0;

  // Page-table copies: a new page table owned by the caller, or null.
  virtual AAX_IPageTable* CreateTableCopyForEffect(AAX_CPropertyValue iManufacturerID,
                                                   AAX_CPropertyValue iProductID,
                                                   AAX_CPropertyValue iPlugInID,
                                                   uint32_t iTableType,
                                                   int32_t iTablePageSize) const = 0;
  virtual AAX_IPageTable* CreateTableCopyForLayout(const char* iEffectID, const char* iLayoutName,
                                                   uint32_t iTableType,
                                                   int32_t iTablePageSize) const = 0;
  virtual AAX_IPageTable* CreateTableCopyForEffectFromFile(
      const char* iPageTableFilePath, AAX_ETextEncoding iFilePathEncoding,
      AAX_CPropertyValue iManufacturerID, AAX_CPropertyValue iProductID,
      AAX_CPropertyValue iPlugInID, uint32_t iTableType, int32_t iTablePageSize) const = 0;
  virtual AAX_IPageTable* CreateTableCopyForLayoutFromFile(const char* iPageTableFilePath,
                                                           AAX_ETextEncoding iFilePathEncoding,
                                                           const char* iLayoutName,
                                                           uint32_t iTableType,
                                                           int32_t iTablePageSize) const = 0;
};

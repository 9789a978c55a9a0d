// AAX_VController: forwards AAX_IController to the host's controller.
#pragma once

#include "ACF/ACFPtr.h"
#include "ACF/acfcomponentfactory.h"
#include "AAX_Errors.h"
#include "AAX_IACFController.h"
#include "AAX_IACFPageTableController.h"
#include "AAX_IController.h"

// Built on the host object: queries it for controller versions 1-3, page-table
// controller versions 1-2 and the component factory (a null host gives none).
// Holds one counted reference per interface found and releases them when
// destroyed. Missing version 1 → -20004 (AAX_ERROR_NULL_OBJECT); missing later
// versions → -20009 (AAX_ERROR_UNIMPLEMENTED). Keeps no other state and takes
// no lock: [any] thread as the host allows. Final, and the stem-format
// queries inline, so a caller holding this type (the render call asks for
// both formats every time) reaches the host in one call.
class AAX_VController final : public AAX_IController
{
public:
  explicit AAX_VController(IACFUnknown* pUnknown);
  ~AAX_VController() override;

  AAX_Result GetEffectID(AAX_IString* oEffectID) const override;
  AAX_Result GetSampleRate(float* oSampleRate) const override;
  AAX_Result GetInputStemFormat(AAX_EStemFormat* oStemFormat) const override
  {
    return mIController ? mIController->GetInputStemFormat(oStemFormat) : AAX_ERROR_NULL_OBJECT;
  }
  AAX_Result GetOutputStemFormat(AAX_EStemFormat* oStemFormat) const override
  {
    return mIController ? mIController->GetOutputStemFormat(oStemFormat) : AAX_ERROR_NULL_OBJECT;
  }
  AAX_Result GetSignalLatency(int32_t* oSamples) const override;
  AAX_Result GetCycleCount(AAX_EProperty iWhichCycleCount,
                           AAX_CPropertyValue* oNumCycles) const override;
  AAX_Result GetTODLocation(AAX_CTimeOfDay* oTODLocation) const override;
  AAX_Result SetSignalLatency(int32_t iNumSamples) override;
  AAX_Result SetCycleCount(AAX_EProperty* iWhichCycleCounts, AAX_CPropertyValue* iValues,
                           int32_t iNumValues) override;
  AAX_Result PostPacket(AAX_CFieldIndex iFieldIndex, const void* iPayload,
                        uint32_t iPayloadSize) override;
  AAX_Result SendNotification(AAX_CTypeID iNotificationType, const void* iData,
                              uint32_t iDataSize) override;
  AAX_Result SendNotification(AAX_CTypeID iNotificationType) override;
  AAX_Result GetCurrentMeterValue(AAX_CTypeID iMeterID, float* oValue) const override;
  AAX_Result GetMeterPeakValue(AAX_CTypeID iMeterID, float* oValue) const override;
  AAX_Result ClearMeterPeakValue(AAX_CTypeID iMeterID) const override;
  AAX_Result GetMeterCount(uint32_t* oMeterCount) const override;
  AAX_Result GetMeterClipped(AAX_CTypeID iMeterID, AAX_CBoolean* oClipped) const override;
  AAX_Result ClearMeterClipped(AAX_CTypeID iMeterID) const override;
  AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* oPort, AAX_CMidiPacket* oPacket) override;
  AAX_Result GetHybridSignalLatency(int32_t* oSamples) const override;
  AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* oTimestamp) const override;
  AAX_Result GetHostName(AAX_IString* oHostName) const override;
  AAX_Result GetPlugInTargetPlatform(AAX_CTargetPlatform* oTargetPlatform) const override;
  AAX_Result GetIsAudioSuite(AAX_CBoolean* oIsAudioSuite) const override;

  // Each creates an empty host page table (factory: AAXCompID_PageTable,
  // IID_IAAXPageTableV2), has the page-table controller copy into it, and wraps
  // it in a new AAX_VPageTable that the caller owns. Null when the needed
  // page-table controller version is missing, the host call fails or no table
  // could be created.
  AAX_IPageTable* CreateTableCopyForEffect(AAX_CPropertyValue iManufacturerID,
                                           AAX_CPropertyValue iProductID,
                                           AAX_CPropertyValue iPlugInID, uint32_t iTableType,
                                           int32_t iTablePageSize) const override;
  AAX_IPageTable* CreateTableCopyForLayout(const char* iEffectID, const char* iLayoutName,
                                           uint32_t iTableType,
                                           int32_t iTablePageSize) const override;
  AAX_IPageTable* CreateTableCopyForEffectFromFile(
      const char* iPageTableFilePath, AAX_ETextEncoding iFilePathEncoding,
      AAX_CPropertyValue iManufacturerID, AAX_CPropertyValue iProductID,
      AAX_CPropertyValue iPlugInID, uint32_t iTableType, int32_t iTablePageSize) const override;
  AAX_IPageTable* CreateTableCopyForLayoutFromFile(const char* iPageTableFilePath,
                                                   AAX_ETextEncoding iFilePathEncoding,
                                                   const char* iLayoutName, uint32_t iTableType,
                                                   int32_t iTablePageSize) const override;

  AAX_VController(const AAX_VController&) = delete;
  AAX_VController& operator=(const AAX_VController&) = delete;

private:
  // An empty host page table (version 2 interface), or an empty pointer.
  ACFPtr<IACFUnknown> CreateEmptyPageTable() const;

  ACFPtr<AAX_IACFController> mIController;
  ACFPtr<AAX_IACFController_V2> mIControllerV2;
  ACFPtr<AAX_IACFController_V3> mIControllerV3;
  ACFPtr<AAX_IACFPageTableController> mIPageTableController;
  ACFPtr<AAX_IACFPageTableController_V2> mIPageTableControllerV2;
  ACFPtr<IACFComponentFactory> mComponentFactory;
};

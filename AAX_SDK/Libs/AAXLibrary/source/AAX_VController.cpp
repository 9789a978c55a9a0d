#include "AAX_VController.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_IACFPageTable.h"
#include "AAX_UIDs.h"
#include "AAX_VPageTable.h"

// Forwarding helpers: call the host operation when the interface is present,
// otherwise answer the fixed missing-interface result.
#define QV_FORWARD(ptr, missing, call) return (ptr) ? (ptr)->call : (missing)

AAX_VController::AAX_VController(IACFUnknown* pUnknown)
    : mIController(pUnknown, IID_IAAXControllerV1), mIControllerV2(pUnknown, IID_IAAXControllerV2),
      mIControllerV3(pUnknown, IID_IAAXControllerV3),
      mIPageTableController(pUnknown, IID_IAAXPageTableController),
      mIPageTableControllerV2(pUnknown, IID_IAAXPageTableControllerV2),
      mComponentFactory(pUnknown, IID_IACFComponentFactory)
{
}

AAX_VController::~AAX_VController() = default;

AAX_Result AAX_VController::GetEffectID(AAX_IString* oEffectID) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetEffectID(oEffectID));
}
AAX_Result AAX_VController::GetSampleRate(float* oSampleRate) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetSampleRate(oSampleRate));
}
AAX_Result AAX_VController::GetSignalLatency(int32_t* oSamples) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetSignalLatency(oSamples));
}
AAX_Result AAX_VController::GetCycleCount(AAX_EProperty iWhichCycleCount,
                                          AAX_CPropertyValue* oNumCycles) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetCycleCount(iWhichCycleCount, oNumCycles));
}
AAX_Result AAX_VController::GetTODLocation(AAX_CTimeOfDay* oTODLocation) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetTODLocation(oTODLocation));
}
AAX_Result AAX_VController::SetSignalLatency(int32_t iNumSamples)
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, SetSignalLatency(iNumSamples));
}
AAX_Result AAX_VController::SetCycleCount(AAX_EProperty* iWhichCycleCounts,
                                          AAX_CPropertyValue* iValues, int32_t iNumValues)
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT,
             SetCycleCount(iWhichCycleCounts, iValues, iNumValues));
}
AAX_Result AAX_VController::PostPacket(AAX_CFieldIndex iFieldIndex, const void* iPayload,
                                       uint32_t iPayloadSize)
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, PostPacket(iFieldIndex, iPayload, iPayloadSize));
}
AAX_Result AAX_VController::SendNotification(AAX_CTypeID iNotificationType, const void* iData,
                                             uint32_t iDataSize)
{
  QV_FORWARD(mIControllerV2, AAX_ERROR_UNIMPLEMENTED,
             SendNotification(iNotificationType, iData, iDataSize));
}
AAX_Result AAX_VController::SendNotification(AAX_CTypeID iNotificationType)
{
  QV_FORWARD(mIControllerV2, AAX_ERROR_UNIMPLEMENTED,
             SendNotification(iNotificationType, nullptr, 0));
}
AAX_Result AAX_VController::GetCurrentMeterValue(AAX_CTypeID iMeterID, float* oValue) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetCurrentMeterValue(iMeterID, oValue));
}
AAX_Result AAX_VController::GetMeterPeakValue(AAX_CTypeID iMeterID, float* oValue) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetMeterPeakValue(iMeterID, oValue));
}
AAX_Result AAX_VController::ClearMeterPeakValue(AAX_CTypeID iMeterID) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, ClearMeterPeakValue(iMeterID));
}
AAX_Result AAX_VController::GetMeterCount(uint32_t* oMeterCount) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetMeterCount(oMeterCount));
}
AAX_Result AAX_VController::GetMeterClipped(AAX_CTypeID iMeterID, AAX_CBoolean* oClipped) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetMeterClipped(iMeterID, oClipped));
}
AAX_Result AAX_VController::ClearMeterClipped(AAX_CTypeID iMeterID) const
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, ClearMeterClipped(iMeterID));
}
AAX_Result AAX_VController::GetNextMIDIPacket(AAX_CFieldIndex* oPort, AAX_CMidiPacket* oPacket)
{
  QV_FORWARD(mIController, AAX_ERROR_NULL_OBJECT, GetNextMIDIPacket(oPort, oPacket));
}
AAX_Result AAX_VController::GetHybridSignalLatency(int32_t* oSamples) const
{
  QV_FORWARD(mIControllerV2, AAX_ERROR_UNIMPLEMENTED, GetHybridSignalLatency(oSamples));
}
AAX_Result AAX_VController::GetCurrentAutomationTimestamp(AAX_CTransportCounter* oTimestamp) const
{
  QV_FORWARD(mIControllerV2, AAX_ERROR_UNIMPLEMENTED, GetCurrentAutomationTimestamp(oTimestamp));
}
AAX_Result AAX_VController::GetHostName(AAX_IString* oHostName) const
{
  QV_FORWARD(mIControllerV2, AAX_ERROR_UNIMPLEMENTED, GetHostName(oHostName));
}
AAX_Result AAX_VController::GetPlugInTargetPlatform(AAX_CTargetPlatform* oTargetPlatform) const
{
  QV_FORWARD(mIControllerV3, AAX_ERROR_UNIMPLEMENTED, GetPlugInTargetPlatform(oTargetPlatform));
}
AAX_Result AAX_VController::GetIsAudioSuite(AAX_CBoolean* oIsAudioSuite) const
{
  QV_FORWARD(mIControllerV3, AAX_ERROR_UNIMPLEMENTED, GetIsAudioSuite(oIsAudioSuite));
}

ACFPtr<IACFUnknown> AAX_VController::CreateEmptyPageTable() const
{
  if (!mComponentFactory) return {};
  void* table = nullptr;
  const ACFRESULT r =
      mComponentFactory->CreateComponent(AAXCompID_PageTable, nullptr, IID_IAAXPageTableV2, &table);
  if (r != ACF_OK || !table) return {};
  // The factory's answer carries the reference; keep it as the table's IACFUnknown.
  return ACFPtr<IACFUnknown>::Adopt(static_cast<AAX_IACFPageTable_V2*>(table));
}

namespace
{
// Wraps a filled table for the caller, or gives null when the copy failed.
AAX_IPageTable* WrapTable(AAX_Result copyResult, const ACFPtr<IACFUnknown>& table)
{
  if (copyResult != AAX_SUCCESS || !table) return nullptr;
  return new AAX_VPageTable(table.get());
}
} // namespace

AAX_IPageTable* AAX_VController::CreateTableCopyForEffect(AAX_CPropertyValue iManufacturerID,
                                                          AAX_CPropertyValue iProductID,
                                                          AAX_CPropertyValue iPlugInID,
                                                          uint32_t iTableType,
                                                          int32_t iTablePageSize) const
{
  const ACFPtr<IACFUnknown> table = CreateEmptyPageTable();
  if (!mIPageTableController || !table) return nullptr;
  const AAX_Result r = mIPageTableController->CreateTableCopyForEffect(
      iManufacturerID, iProductID, iPlugInID, iTableType, iTablePageSize, table.get());
  return WrapTable(r, table);
}

AAX_IPageTable* AAX_VController::CreateTableCopyForLayout(const char* iEffectID,
                                                          const char* iLayoutName,
                                                          uint32_t iTableType,
                                                          int32_t iTablePageSize) const
{
  const ACFPtr<IACFUnknown> table = CreateEmptyPageTable();
  if (!mIPageTableController || !table) return nullptr;
  const AAX_Result r = mIPageTableController->CreateTableCopyForLayout(
      iEffectID, iLayoutName, iTableType, iTablePageSize, table.get());
  return WrapTable(r, table);
}

AAX_IPageTable* AAX_VController::CreateTableCopyForEffectFromFile(
    const char* iPageTableFilePath, AAX_ETextEncoding iFilePathEncoding,
    AAX_CPropertyValue iManufacturerID, AAX_CPropertyValue iProductID, AAX_CPropertyValue iPlugInID,
    uint32_t iTableType, int32_t iTablePageSize) const
{
  const ACFPtr<IACFUnknown> table = CreateEmptyPageTable();
  if (!mIPageTableControllerV2 || !table) return nullptr;
  const AAX_Result r = mIPageTableControllerV2->CreateTableCopyForEffectFromFile(
      iPageTableFilePath, iFilePathEncoding, iManufacturerID, iProductID, iPlugInID, iTableType,
      iTablePageSize, table.get());
  return WrapTable(r, table);
}

AAX_IPageTable* AAX_VController::CreateTableCopyForLayoutFromFile(
    const char* iPageTableFilePath, AAX_ETextEncoding iFilePathEncoding, const char* iLayoutName,
    uint32_t iTableType, int32_t iTablePageSize) const
{
  const ACFPtr<IACFUnknown> table = CreateEmptyPageTable();
  if (!mIPageTableControllerV2 || !table) return nullptr;
  const AAX_Result r = mIPageTableControllerV2->CreateTableCopyForLayoutFromFile(
      iPageTableFilePath, iFilePathEncoding, iLayoutName, iTableType, iTablePageSize, table.get());
  return WrapTable(r, table);
}

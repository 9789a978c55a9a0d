#include "AAX_CEffectParameters.h"

#include "AAX_CHostServices.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_Exports.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"

#include <cmath>
#include <cstring>
#include <vector>

// Host-facing operations refuse null out-pointers instead of writing through them.
#define QV_REQUIRE(p)                                                                              \
  do                                                                                               \
  {                                                                                                \
    if (!(p)) return AAX_ERROR_NULL_ARGUMENT;                                                      \
  } while (0)

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
  // Uninitialize is not called here (a derived override would already be gone),
  // but what Initialize made must not outlive the object. The parameters hold
  // the automation delegate and unregister through it, so they go first.
  ReleaseInstanceObjects();
}

void AAX_CEffectParameters::ReleaseInstanceObjects()
{
  mParameterManager.RemoveAllParameters();
  mController.reset();
  mAutomationDelegate.reset();
  mTransport.reset();
}

// --- Life and notifications

AAX_Result AAX_CEffectParameters::Initialize(IACFUnknown* iHost)
{
  // A second Initialize would leave the earlier parameters pointing at a
  // deleted automation delegate: start over instead.
  if (mController || mAutomationDelegate || mTransport) ReleaseInstanceObjects();

  mController.reset(new AAX_VController(iHost));
  mAutomationDelegate.reset(new AAX_VAutomationDelegate(iHost));
  mTransport.reset(new AAX_VTransport(iHost));
  mParameterManager.Initialize(mAutomationDelegate.get());
  mPacketDispatcher.Initialize(mController.get(), this);

  const AAX_Result result = EffectInit();
  if (result != AAX_SUCCESS) return result;

  // The master bypass belongs to the session, not to the plug-in's state. An
  // empty identifier is filtered when there is no bypass; it matches nothing.
  AAX_CString bypassID;
  GetMasterBypassParameter(&bypassID);
  FilterParameterIDOnSave(bypassID.Get());

  int32_t numParameters = 0;
  GetNumberOfParameters(&numParameters);
  if (numParameters > 0)
  {
    mNumChunkedParameters = numParameters - static_cast<int32_t>(mFilteredParameters.size());
    if (mNumChunkedParameters < 0)
      AAX_CHostServices::HandleAssertFailure(__FILE__, __LINE__, "mNumChunkedParameters >= 0",
                                             AAX_kAssertFlags);
  }
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
  ReleaseInstanceObjects();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::NotificationReceived(AAX_CTypeID iNotificationType,
                                                       const void* iNotificationData,
                                                       uint32_t iNotificationDataSize)
{
  if (iNotificationType != AAX_kNotificationPreviewState) return AAX_SUCCESS;
  AAX_IParameter* preview = mParameterManager.GetParameterByID(cPreviewID);
  // The payload is one int32; a shorter or missing one is ignored rather than over-read.
  if (!preview || !iNotificationData || iNotificationDataSize < sizeof(int32_t))
    return AAX_SUCCESS;
  int32_t state = 0;
  std::memcpy(&state, iNotificationData, sizeof(state));
  preview->SetValueWithBool(state != 0);
  return AAX_SUCCESS;
}

// --- Parameter queries

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* oNumControls) const
{
  QV_REQUIRE(oNumControls);
  *oNumControls = mParameterManager.NumParameters();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_IString* oIDString) const
{
  QV_REQUIRE(oIDString);
  oIDString->Set(mParameterManager.GetParameterByID(cDefaultMasterBypassID) ? cDefaultMasterBypassID
                                                                            : "");
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(AAX_CParamID iParameterID,
                                                            AAX_CBoolean* oAutomatable) const
{
  QV_REQUIRE(oAutomatable);
  *oAutomatable = 0;
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  *oAutomatable = p->Automatable() ? 1 : 0;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID iParameterID,
                                                            int32_t* oNumSteps) const
{
  QV_REQUIRE(oNumSteps);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  const int32_t steps = static_cast<int32_t>(p->GetNumberOfSteps());
  if (steps < 0) return AAX_ERROR_SIGNED_INT_OVERFLOW;
  *oNumSteps = steps;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID iParameterID,
                                                   AAX_IString* oName) const
{
  QV_REQUIRE(oName);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  oName->Set(p ? p->Name().Get() : "");
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID iParameterID,
                                                           AAX_IString* oName,
                                                           int32_t iNameLength) const
{
  if (!oName) return AAX_ERROR_INVALID_STRING_CONVERSION;
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p)
  {
    oName->Set("");
    return AAX_SUCCESS;
  }
  // Only the first 255 characters of the name take part.
  std::string name = p->ShortenedName(iNameLength).StdString().substr(0, 255);
  if (name.empty()) return AAX_SUCCESS; // nothing to offer: the output is left as it is

  // The name may hold several variants, one per line; the longest that fits wins.
  const std::string* best = nullptr;
  std::vector<std::string> variants;
  for (size_t start = 0;;)
  {
    const size_t end = name.find('\n', start);
    variants.push_back(name.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  for (const std::string& v : variants)
    if (iNameLength >= 0 && v.size() <= static_cast<size_t>(iNameLength) &&
        (!best || v.size() > best->size()))
      best = &v;

  if (best)
    oName->Set(best->c_str());
  else if (iNameLength < 1)
    oName->Set("");
  else
    oName->Set(name.substr(0, static_cast<size_t>(iNameLength)).c_str());
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID iParameterID,
                                                                     double* oValue) const
{
  QV_REQUIRE(oValue);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  *oValue = p->GetNormalizedDefaultValue();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID iParameterID,
                                                                     double iValue)
{
  AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  p->SetNormalizedDefaultValue(iValue);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID iParameterID,
                                                   AAX_EParameterType* oParameterType) const
{
  QV_REQUIRE(oParameterType);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  *oParameterType = p->GetType();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation(AAX_CParamID iParameterID,
                                                          int32_t* oParameterOrientation) const
{
  QV_REQUIRE(oParameterOrientation);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  *oParameterOrientation = p->GetOrientation();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameter(AAX_CParamID iParameterID,
                                               AAX_IParameter** oParameter)
{
  QV_REQUIRE(oParameter);
  *oParameter = mParameterManager.GetParameterByID(iParameterID);
  return *oParameter ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex(AAX_CParamID iParameterID,
                                                    int32_t* oControlIndex) const
{
  QV_REQUIRE(oControlIndex);
  *oControlIndex = mParameterManager.GetParameterIndex(iParameterID);
  return *oControlIndex < 0 ? AAX_ERROR_INVALID_PARAMETER_ID : AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t iControlIndex,
                                                          AAX_IString* oParameterIDString) const
{
  QV_REQUIRE(oParameterIDString);
  const AAX_IParameter* p = mParameterManager.GetParameter(iControlIndex);
  oParameterIDString->Set(p ? p->Identifier() : "");
  return p ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo(AAX_CParamID, int32_t,
                                                        int32_t* oValue) const
{
  QV_REQUIRE(oValue);
  *oValue = 0;
  return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(
    AAX_CParamID iParameterID, double* oValue, const AAX_IString& iValueString) const
{
  QV_REQUIRE(oValue);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  return p->GetNormalizedValueFromString(AAX_CString(iValueString), oValue)
             ? AAX_SUCCESS
             : AAX_ERROR_INVALID_STRING_CONVERSION;
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(AAX_CParamID iParameterID,
                                                              double iValue,
                                                              AAX_IString* oValueString,
                                                              int32_t iMaxLength) const
{
  QV_REQUIRE(oValueString);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  AAX_CString text;
  if (!p->GetStringFromNormalizedValue(iValue, iMaxLength, text))
    return AAX_ERROR_INVALID_STRING_CONVERSION;
  *oValueString = text;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID iParameterID,
                                                          AAX_IString* oValueString,
                                                          int32_t iMaxLength) const
{
  QV_REQUIRE(oValueString);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  AAX_CString text;
  p->GetValueString(iMaxLength, &text);
  *oValueString = text;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID iParameterID,
                                                              double* oValue) const
{
  QV_REQUIRE(oValue);
  const AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  *oValue = p->GetNormalizedValue();
  return AAX_SUCCESS;
}

// --- Value changes

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID iParameterID,
                                                              double iValue)
{
  AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  p->SetNormalizedValue(iValue);
  return AAX_SUCCESS;
}

namespace
{
double ClampNormalized(double v)
{
  if (v > 1.0) v = 1.0;
  if (v < 0.0) v = 0.0;
  return v;
}
} // namespace

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative(AAX_CParamID iParameterID,
                                                                 double iValue)
{
  double current = 0.0;
  const AAX_Result result = GetParameterNormalizedValue(iParameterID, &current);
  if (result != AAX_SUCCESS) return result;
  return SetParameterNormalizedValue(iParameterID, ClampNormalized(current + iValue));
}

AAX_Result AAX_CEffectParameters::TouchParameter(AAX_CParamID iParameterID)
{
  AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  p->Touch();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID iParameterID)
{
  AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  p->Release();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch(AAX_CParamID, AAX_CBoolean)
{
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID iParameterID,
                                                                 double iValue, AAX_EUpdateSource)
{
  AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  const double before = p->GetNormalizedValue();
  p->UpdateNormalizedValue(iValue);
  const AAX_Result result = mPacketDispatcher.SetDirty(iParameterID, true);
  if (iValue != before) ++mNumPlugInChanges;
  return result;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative(AAX_CParamID iParameterID,
                                                                    double iValue)
{
  double current = 0.0;
  const AAX_Result result = GetParameterNormalizedValue(iParameterID, &current);
  if (result != AAX_SUCCESS) return result;
  return UpdateParameterNormalizedValue(iParameterID, ClampNormalized(current + iValue),
                                        static_cast<AAX_EUpdateSource>(0));
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges(int32_t* oNumChanges) const
{
  QV_REQUIRE(oNumChanges);
  if (mNumPlugInChanges >= 0) *oNumChanges = mNumPlugInChanges;
  return AAX_SUCCESS;
}

// --- Processing support and the operations the base leaves to derived classes

AAX_Result AAX_CEffectParameters::GenerateCoefficients() { return mPacketDispatcher.Dispatch(); }

AAX_Result AAX_CEffectParameters::ResetFieldData(AAX_CFieldIndex, void* oData,
                                                 uint32_t iDataSize) const
{
  if (iDataSize == 0) return AAX_SUCCESS;
  QV_REQUIRE(oData);
  std::memset(oData, 0, iDataSize);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::TimerWakeup() { return AAX_SUCCESS; }

AAX_Result AAX_CEffectParameters::GetCurveData(AAX_CTypeID, const float*, uint32_t, float*) const
{
  return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCustomData(AAX_CTypeID, uint32_t, void*,
                                                uint32_t* oDataWritten) const
{
  QV_REQUIRE(oDataWritten);
  *oDataWritten = 0;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetCustomData(AAX_CTypeID, uint32_t, const void*)
{
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::DoMIDITransfers() { return AAX_SUCCESS; }

AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid(AAX_SHybridRenderInfo*)
{
  return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdateMIDINodes(AAX_CFieldIndex, AAX_CMidiPacket&)
{
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes(AAX_CTypeID, AAX_CMidiPacket&)
{
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveDataMeterIds(AAX_CTypeID, uint32_t*, uint32_t*) const
{
  return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCurveDataDisplayRange(AAX_CTypeID, float*, float*, float*,
                                                           float*) const
{
  return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdatePageTable(uint32_t iTableType, int32_t iTablePageSize,
                                                  IACFUnknown*,
                                                  IACFUnknown* ioPageTableUnknown) const
{
  AAX_VPageTable pageTable(ioPageTableUnknown);
  if (!pageTable.IsSupported()) return AAX_SUCCESS;
  return UpdatePageTable(iTableType, iTablePageSize, pageTable);
}

AAX_Result AAX_CEffectParameters::UpdatePageTable(uint32_t, int32_t, AAX_IPageTable&) const
{
  return AAX_ERROR_UNIMPLEMENTED;
}

// --- Added after the slots

ACFRESULT AAX_CEffectParameters::InternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
  return AAX_IEffectParameters::InternalQueryInterface(riid, ppvObjOut);
}

AAX_Result AAX_CEffectParameters::EffectInit() { return AAX_SUCCESS; }

bool AAX_CEffectParameters::IsParameterTouched(AAX_CParamID iParameterID) const
{
  if (!mAutomationDelegate) return false;
  AAX_CBoolean touched = 0;
  if (mAutomationDelegate->GetTouchState(iParameterID, &touched) != AAX_SUCCESS) return false;
  return touched != 0;
}

bool AAX_CEffectParameters::IsParameterLinkReady(AAX_CParamID iParameterID,
                                                 AAX_EUpdateSource iSource) const
{
  const int32_t source = static_cast<int32_t>(iSource);
  if (source >= 1 && source <= 3) return false;
  return IsParameterTouched(iParameterID);
}

AAX_Result AAX_CEffectParameters::SetTaperDelegate(AAX_CParamID iParameterID,
                                                   AAX_ITaperDelegateBase& iTaperDelegate,
                                                   bool iPreserveValue)
{
  AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  p->SetTaperDelegate(iTaperDelegate, iPreserveValue);
  // The real value followed the new taper, so the processing side must hear of it.
  if (!iPreserveValue) mPacketDispatcher.SetDirty(iParameterID, true);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetDisplayDelegate(AAX_CParamID iParameterID,
                                                     AAX_IDisplayDelegateBase& iDisplayDelegate)
{
  AAX_IParameter* p = mParameterManager.GetParameterByID(iParameterID);
  if (!p) return AAX_ERROR_INVALID_PARAMETER_ID;
  p->SetDisplayDelegate(iDisplayDelegate);
  return AAX_SUCCESS;
}

void AAX_CEffectParameters::FilterParameterIDOnSave(AAX_CParamID iParameterID)
{
  if (iParameterID) mFilteredParameters.insert(iParameterID);
}

AAX_IController* AAX_CEffectParameters::Controller() { return mController.get(); }
const AAX_IController* AAX_CEffectParameters::Controller() const { return mController.get(); }
AAX_IAutomationDelegate* AAX_CEffectParameters::AutomationDelegate()
{
  return mAutomationDelegate.get();
}
const AAX_IAutomationDelegate* AAX_CEffectParameters::AutomationDelegate() const
{
  return mAutomationDelegate.get();
}
AAX_ITransport* AAX_CEffectParameters::Transport() { return mTransport.get(); }
const AAX_ITransport* AAX_CEffectParameters::Transport() const { return mTransport.get(); }

// --- Conversion helpers

int32_t NormalizedToInt32(double normalizedValue)
{
  if (normalizedValue > 1.0) normalizedValue = 1.0;
  // Not a number takes the bottom of the range, as below 0 does; converting it
  // to an integer would be undefined.
  if (!(normalizedValue >= 0.0)) normalizedValue = 0.0;
  return static_cast<int32_t>(std::floor(4294967295.0 * normalizedValue - 2147483648.0 + 0.5));
}

double Int32ToNormalized(int32_t value) { return (value + 2147483648.0) / 4294967295.0; }

double BoolToNormalized(bool value) { return value ? 1.0 : 0.0; }

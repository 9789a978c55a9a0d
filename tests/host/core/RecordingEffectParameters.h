// A plug-in-side effect-parameters object for host tests: a real counted
// component (AAX_IEffectParameters) that records every call by name and answers
// the parameter count and identifiers from a fixed list, including failing
// entries that the real AAX_CEffectParameters cannot produce.
#pragma once

#include "AAX_IEffectParameters.h"
#include "HostComponent.h"

#include <string>
#include <vector>

class RecordingEffectParameters : public AAX_IEffectParameters
{
public:
  explicit RecordingEffectParameters(std::vector<std::string> ids = {}) : mIDs(std::move(ids)) {}

  aaxhost::CallLog& Calls() const { return mCalls; }
  // Makes GetNumberOfParameters fail with this result (0: succeed).
  void FailCount(AAX_Result r) { mCountResult = r; }

#define REC(name, args) mCalls.Add(name, args)
  AAX_Result Initialize(IACFUnknown*) override { return REC("Initialize", ""), 0; }
  AAX_Result Uninitialize() override { return REC("Uninitialize", ""), 0; }
  AAX_Result NotificationReceived(AAX_CTypeID, const void*, uint32_t) override
  {
    return REC("NotificationReceived", ""), 0;
  }
  AAX_Result GetNumberOfParameters(int32_t* n) const override
  {
    REC("GetNumberOfParameters", "");
    if (mCountResult) return mCountResult;
    if (n) *n = static_cast<int32_t>(mIDs.size());
    return 0;
  }
  AAX_Result GetMasterBypassParameter(AAX_IString*) const override
  {
    return REC("GetMasterBypassParameter", ""), 0;
  }
  AAX_Result GetParameterIsAutomatable(AAX_CParamID, AAX_CBoolean*) const override
  {
    return REC("GetParameterIsAutomatable", ""), 0;
  }
  AAX_Result GetParameterNumberOfSteps(AAX_CParamID, int32_t*) const override
  {
    return REC("GetParameterNumberOfSteps", ""), 0;
  }
  AAX_Result GetParameterName(AAX_CParamID, AAX_IString*) const override
  {
    return REC("GetParameterName", ""), 0;
  }
  AAX_Result GetParameterNameOfLength(AAX_CParamID, AAX_IString*, int32_t) const override
  {
    return REC("GetParameterNameOfLength", ""), 0;
  }
  AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID, double*) const override
  {
    return REC("GetParameterDefaultNormalizedValue", ""), 0;
  }
  AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID, double) override
  {
    return REC("SetParameterDefaultNormalizedValue", ""), 0;
  }
  AAX_Result GetParameterType(AAX_CParamID, AAX_EParameterType*) const override
  {
    return REC("GetParameterType", ""), 0;
  }
  AAX_Result GetParameterOrientation(AAX_CParamID, int32_t*) const override
  {
    return REC("GetParameterOrientation", ""), 0;
  }
  AAX_Result GetParameter(AAX_CParamID, AAX_IParameter**) override
  {
    return REC("GetParameter", ""), 0;
  }
  AAX_Result GetParameterIndex(AAX_CParamID, int32_t*) const override
  {
    return REC("GetParameterIndex", ""), 0;
  }
  AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) const override
  {
    REC("GetParameterIDFromIndex", aaxhost::Args(index));
    if (index < 0 || index >= static_cast<int32_t>(mIDs.size()) || !id) return -20001;
    if (mIDs[index].empty()) return -20001; // an empty entry stands for a failing index
    id->Set(mIDs[index].c_str());
    return 0;
  }
  AAX_Result GetParameterValueInfo(AAX_CParamID, int32_t, int32_t*) const override
  {
    return REC("GetParameterValueInfo", ""), 0;
  }
  AAX_Result GetParameterValueFromString(AAX_CParamID, double*, const AAX_IString&) const override
  {
    return REC("GetParameterValueFromString", ""), 0;
  }
  AAX_Result GetParameterStringFromValue(AAX_CParamID, double, AAX_IString*, int32_t) const override
  {
    return REC("GetParameterStringFromValue", ""), 0;
  }
  AAX_Result GetParameterValueString(AAX_CParamID, AAX_IString*, int32_t) const override
  {
    return REC("GetParameterValueString", ""), 0;
  }
  AAX_Result GetParameterNormalizedValue(AAX_CParamID, double*) const override
  {
    return REC("GetParameterNormalizedValue", ""), 0;
  }
  AAX_Result SetParameterNormalizedValue(AAX_CParamID, double) override
  {
    return REC("SetParameterNormalizedValue", ""), 0;
  }
  AAX_Result SetParameterNormalizedRelative(AAX_CParamID, double) override
  {
    return REC("SetParameterNormalizedRelative", ""), 0;
  }
  AAX_Result TouchParameter(AAX_CParamID) override { return REC("TouchParameter", ""), 0; }
  AAX_Result ReleaseParameter(AAX_CParamID) override { return REC("ReleaseParameter", ""), 0; }
  AAX_Result UpdateParameterTouch(AAX_CParamID, AAX_CBoolean) override
  {
    return REC("UpdateParameterTouch", ""), 0;
  }
  AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double v,
                                            AAX_EUpdateSource source) override
  {
    REC("UpdateParameterNormalizedValue", aaxhost::Args(id, v, static_cast<int32_t>(source)));
    for (const std::string& known : mIDs)
      if (id && known == id) return 0;
    return -20001;
  }
  AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID, double) override
  {
    return REC("UpdateParameterNormalizedRelative", ""), 0;
  }
  AAX_Result GenerateCoefficients() override { return REC("GenerateCoefficients", ""), 0; }
  AAX_Result ResetFieldData(AAX_CFieldIndex, void*, uint32_t) const override
  {
    return REC("ResetFieldData", ""), 0;
  }
  AAX_Result GetNumberOfChunks(int32_t*) const override { return REC("GetNumberOfChunks", ""), 0; }
  AAX_Result GetChunkIDFromIndex(int32_t, AAX_CTypeID*) const override
  {
    return REC("GetChunkIDFromIndex", ""), 0;
  }
  AAX_Result GetChunkSize(AAX_CTypeID, uint32_t*) const override
  {
    return REC("GetChunkSize", ""), 0;
  }
  AAX_Result GetChunk(AAX_CTypeID, AAX_SPlugInChunk*) const override
  {
    return REC("GetChunk", ""), 0;
  }
  AAX_Result SetChunk(AAX_CTypeID, const AAX_SPlugInChunk*) override
  {
    return REC("SetChunk", ""), 0;
  }
  AAX_Result CompareActiveChunk(const AAX_SPlugInChunk*, AAX_CBoolean*) const override
  {
    return REC("CompareActiveChunk", ""), 0;
  }
  AAX_Result GetNumberOfChanges(int32_t*) const override
  {
    return REC("GetNumberOfChanges", ""), 0;
  }
  AAX_Result TimerWakeup() override { return REC("TimerWakeup", ""), 0; }
  AAX_Result GetCurveData(AAX_CTypeID, const float*, uint32_t, float*) const override
  {
    return REC("GetCurveData", ""), 0;
  }
  AAX_Result GetCustomData(AAX_CTypeID, uint32_t, void*, uint32_t*) const override
  {
    return REC("GetCustomData", ""), 0;
  }
  AAX_Result SetCustomData(AAX_CTypeID, uint32_t, const void*) override
  {
    return REC("SetCustomData", ""), 0;
  }
  AAX_Result DoMIDITransfers() override { return REC("DoMIDITransfers", ""), 0; }
  AAX_Result RenderAudio_Hybrid(AAX_SHybridRenderInfo*) override
  {
    return REC("RenderAudio_Hybrid", ""), 0;
  }
  AAX_Result UpdateMIDINodes(AAX_CFieldIndex, AAX_CMidiPacket&) override
  {
    return REC("UpdateMIDINodes", ""), 0;
  }
  AAX_Result UpdateControlMIDINodes(AAX_CTypeID, AAX_CMidiPacket&) override
  {
    return REC("UpdateControlMIDINodes", ""), 0;
  }
  AAX_Result GetCurveDataMeterIds(AAX_CTypeID, uint32_t*, uint32_t*) const override
  {
    return REC("GetCurveDataMeterIds", ""), 0;
  }
  AAX_Result GetCurveDataDisplayRange(AAX_CTypeID, float*, float*, float*, float*) const override
  {
    return REC("GetCurveDataDisplayRange", ""), 0;
  }
  AAX_Result UpdatePageTable(uint32_t, int32_t, IACFUnknown*, IACFUnknown*) const override
  {
    return REC("UpdatePageTable", ""), 0;
  }
#undef REC

private:
  std::vector<std::string> mIDs;
  AAX_Result mCountResult = 0;
  mutable aaxhost::CallLog mCalls;
};

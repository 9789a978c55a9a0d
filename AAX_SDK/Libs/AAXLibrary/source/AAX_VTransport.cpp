#include "AAX_VTransport.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#define QV_FORWARD_V1(call) return mITransport ? mITransport->call : AAX_ERROR_NULL_OBJECT
#define QV_FORWARD_V2(call) return mITransportV2 ? mITransportV2->call : AAX_ERROR_UNIMPLEMENTED

AAX_VTransport::AAX_VTransport(IACFUnknown* pUnknown)
    : mITransport(pUnknown, IID_IAAXTransportV1), mITransportV2(pUnknown, IID_IAAXTransportV2)
{
}

AAX_VTransport::~AAX_VTransport() = default;

AAX_Result AAX_VTransport::GetCurrentTempo(double* oTempo) const
{
  QV_FORWARD_V1(GetCurrentTempo(oTempo));
}
AAX_Result AAX_VTransport::GetCurrentMeter(int32_t* oNumerator, int32_t* oDenominator) const
{
  QV_FORWARD_V1(GetCurrentMeter(oNumerator, oDenominator));
}
AAX_Result AAX_VTransport::IsTransportPlaying(bool* oIsPlaying) const
{
  QV_FORWARD_V1(IsTransportPlaying(oIsPlaying));
}
AAX_Result AAX_VTransport::GetCurrentTickPosition(int64_t* oTickPosition) const
{
  QV_FORWARD_V1(GetCurrentTickPosition(oTickPosition));
}
AAX_Result AAX_VTransport::GetCurrentLoopPosition(bool* oLooping, int64_t* oLoopStartTick,
                                                  int64_t* oLoopEndTick) const
{
  QV_FORWARD_V1(GetCurrentLoopPosition(oLooping, oLoopStartTick, oLoopEndTick));
}
AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation(int64_t* oSampleLocation) const
{
  QV_FORWARD_V1(GetCurrentNativeSampleLocation(oSampleLocation));
}
AAX_Result AAX_VTransport::GetCustomTickPosition(int64_t* oTickPosition,
                                                 int64_t iSampleLocation) const
{
  QV_FORWARD_V1(GetCustomTickPosition(oTickPosition, iSampleLocation));
}
AAX_Result AAX_VTransport::GetBarBeatPosition(int32_t* oBars, int32_t* oBeats,
                                              int64_t* oDisplayTicks, int64_t iSampleLocation) const
{
  QV_FORWARD_V1(GetBarBeatPosition(oBars, oBeats, oDisplayTicks, iSampleLocation));
}
AAX_Result AAX_VTransport::GetTicksPerQuarter(uint32_t* oTicks) const
{
  QV_FORWARD_V1(GetTicksPerQuarter(oTicks));
}
AAX_Result AAX_VTransport::GetCurrentTicksPerBeat(uint32_t* oTicks) const
{
  QV_FORWARD_V1(GetCurrentTicksPerBeat(oTicks));
}
AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition(int64_t* oSampleLocation) const
{
  QV_FORWARD_V2(GetTimelineSelectionStartPosition(oSampleLocation));
}
AAX_Result AAX_VTransport::GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset) const
{
  QV_FORWARD_V2(GetTimeCodeInfo(oFrameRate, oOffset));
}
AAX_Result AAX_VTransport::GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate,
                                             int64_t* oOffset) const
{
  QV_FORWARD_V2(GetFeetFramesInfo(oFeetFramesRate, oOffset));
}
AAX_Result AAX_VTransport::IsMetronomeEnabled(int32_t* oIsEnabled) const
{
  QV_FORWARD_V2(IsMetronomeEnabled(oIsEnabled));
}

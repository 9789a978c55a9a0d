// AAX_VTransport: forwards AAX_ITransport to the host's transport, versions 1
// and 2. Missing version 1 → -20004, missing version 2 → -20009.
// Keeps no state of its own: [any] thread.
#pragma once

#include "ACF/ACFPtr.h"
#include "AAX_IACFTransport.h"
#include "AAX_ITransport.h"

class AAX_VTransport : public AAX_ITransport
{
public:
  explicit AAX_VTransport(IACFUnknown* pUnknown);
  ~AAX_VTransport() override;

  AAX_Result GetCurrentTempo(double* oTempo) const override;
  AAX_Result GetCurrentMeter(int32_t* oNumerator, int32_t* oDenominator) const override;
  AAX_Result IsTransportPlaying(bool* oIsPlaying) const override;
  AAX_Result GetCurrentTickPosition(int64_t* oTickPosition) const override;
  AAX_Result GetCurrentLoopPosition(bool* oLooping, int64_t* oLoopStartTick,
                                    int64_t* oLoopEndTick) const override;
  AAX_Result GetCurrentNativeSampleLocation(int64_t* oSampleLocation) const override;
  AAX_Result GetCustomTickPosition(int64_t* oTickPosition, int64_t iSampleLocation) const override;
  AAX_Result GetBarBeatPosition(int32_t* oBars, int32_t* oBeats, int64_t* oDisplayTicks,
                                int64_t iSampleLocation) const override;
  AAX_Result GetTicksPerQuarter(uint32_t* oTicks) const override;
  AAX_Result GetCurrentTicksPerBeat(uint32_t* oTicks) const override;
  AAX_Result GetTimelineSelectionStartPosition(int64_t* oSampleLocation) const override;
  AAX_Result GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset) const override;
  AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate,
                               int64_t* oOffset) const override;
  AAX_Result IsMetronomeEnabled(int32_t* oIsEnabled) const override;

  AAX_VTransport(const AAX_VTransport&) = delete;
  AAX_VTransport& operator=(const AAX_VTransport&) = delete;

private:
  ACFPtr<AAX_IACFTransport> mITransport;
  ACFPtr<AAX_IACFTransport_V2> mITransportV2;
};

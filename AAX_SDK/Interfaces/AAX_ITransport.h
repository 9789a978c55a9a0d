// AAX_ITransport: the plug-in side's view of the host transport;
// AAX_VTransport implements it. Thread: [any], as the host allows.
#pragma once

#include "AAX.h"

class AAX_ITransport
{
public:
  virtual ~AAX_ITransport() {}

  virtual AAX_Result GetCurrentTempo(double* oTempo) const = 0;
  virtual AAX_Result GetCurrentMeter(int32_t* oNumerator, int32_t* oDenominator) const = 0;
  virtual AAX_Result IsTransportPlaying(bool* oIsPlaying) const = 0;
  virtual AAX_Result GetCurrentTickPosition(int64_t* oTickPosition) const = 0;
  virtual AAX_Result GetCurrentLoopPosition(bool* oLooping, int64_t* oLoopStartTick,
                                            int64_t* oLoopEndTick) const = 0;
  virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* oSampleLocation) const = 0;
  virtual AAX_Result GetCustomTickPosition(int64_t* oTickPosition,
                                           int64_t iSampleLocation) const = 0;
  virtual AAX_Result GetBarBeatPosition(int32_t* oBars, int32_t* oBeats, int64_t* oDisplayTicks,
                                        int64_t iSampleLocation) const = 0;
  virtual AAX_Result GetTicksPerQuarter(uint32_t* oTicks) const = 0;
  virtual AAX_Result GetCurrentTicksPerBeat(uint32_t* oTicks) const = 0;
  virtual AAX_Result GetTimelineSelectionStartPosition(int64_t* oSampleLocation) const = 0;
  virtual AAX_Result GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset) const = 0;
  virtual AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate,
                                       int64_t* oOffset) const = 0;
  virtual AAX_Result IsMetronomeEnabled(int32_t* oIsEnabled) const = 0;
};

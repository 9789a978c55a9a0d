// Host transport interfaces, versions 1 and 2.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// Contract: 0 on success or a host failure code; out pointers belong to the
// caller and are written only on success. Thread: [any] (mostly [audio]).
class AAX_IACFTransport : public IACFUnknown
{
public:
  virtual AAX_Result GetCurrentTempo(double* oTempo) = 0;                                     // 3
  virtual AAX_Result GetCurrentMeter(int32_t* oNumerator, int32_t* oDenominator) = 0;         // 4
  virtual AAX_Result IsTransportPlaying(bool* oIsPlaying) = 0;                                // 5
  virtual AAX_Result GetCurrentTickPosition(int64_t* oTickPosition) = 0;                      // 6
  virtual AAX_Result GetCurrentLoopPosition(bool* oLooping, int64_t* oLoopStartTick,          //
                                            int64_t* oLoopEndTick) = 0;                       // 7
  virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* oSampleLocation) = 0;            // 8
  virtual AAX_Result GetCustomTickPosition(int64_t* oTickPosition,                            //
                                           int64_t iSampleLocation) = 0;                      // 9
  virtual AAX_Result GetBarBeatPosition(int32_t* oBars, int32_t* oBeats,                      //
                                        int64_t* oDisplayTicks, int64_t iSampleLocation) = 0; // 10
  virtual AAX_Result GetTicksPerQuarter(uint32_t* oTicks) = 0;                                // 11
  virtual AAX_Result GetCurrentTicksPerBeat(uint32_t* oTicks) = 0;                            // 12

protected:
  ~AAX_IACFTransport() = default;
};

class AAX_IACFTransport_V2 : public AAX_IACFTransport
{
public:
  virtual AAX_Result GetTimelineSelectionStartPosition(int64_t* oSampleLocation) = 0;   // 13
  virtual AAX_Result GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset) = 0; // 14
  virtual AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate,            //
                                       int64_t* oOffset) = 0;                           // 15
  virtual AAX_Result IsMetronomeEnabled(int32_t* oIsEnabled) = 0;                       // 16

protected:
  ~AAX_IACFTransport_V2() = default;
};

// The stand-in host's transport, versions 1 and 2: tempo, meter, play state,
// positions and loop, as set by the host.
#pragma once

#include "AAX_IACFTransport.h"
#include "HostComponent.h"

namespace aaxhost
{
struct TransportState
{
  double tempo = 120.0; // quarter notes per minute
  int32_t meterNumerator = 4;
  int32_t meterDenominator = 4;
  bool playing = false;
  int64_t tickPosition = 0;
  bool looping = false;
  int64_t loopStartTick = 0;
  int64_t loopEndTick = 0;
  int64_t nativeSampleLocation = 0;
  uint32_t ticksPerQuarter = 960000;
  double sampleRate = 44100.0; // for sample → tick conversions
  int64_t selectionStart = 0;
  AAX_EFrameRate frameRate = AAX_EFrameRate(0);
  int32_t timeCodeOffset = 0;
  AAX_EFeetFramesRate feetFramesRate = AAX_EFeetFramesRate(0);
  int64_t feetFramesOffset = 0;
  bool metronome = false;
};

class HostTransport final : public AAX_IACFTransport_V2, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  explicit HostTransport(int version = 2); // 1 or 2

  TransportState State() const;
  void SetState(const TransportState& state);

  AAX_Result GetCurrentTempo(double* oTempo) override;
  AAX_Result GetCurrentMeter(int32_t* oNumerator, int32_t* oDenominator) override;
  AAX_Result IsTransportPlaying(bool* oIsPlaying) override;
  AAX_Result GetCurrentTickPosition(int64_t* oTickPosition) override;
  AAX_Result GetCurrentLoopPosition(bool* oLooping, int64_t* oLoopStartTick,
                                    int64_t* oLoopEndTick) override;
  AAX_Result GetCurrentNativeSampleLocation(int64_t* oSampleLocation) override;
  // Ticks at a sample location, at the current tempo from location 0.
  AAX_Result GetCustomTickPosition(int64_t* oTickPosition, int64_t iSampleLocation) override;
  // Bars and beats count from 1; display ticks are ticks into the beat.
  AAX_Result GetBarBeatPosition(int32_t* oBars, int32_t* oBeats, int64_t* oDisplayTicks,
                                int64_t iSampleLocation) override;
  AAX_Result GetTicksPerQuarter(uint32_t* oTicks) override;
  // Ticks per beat of the current meter (a beat is a 1/denominator note).
  AAX_Result GetCurrentTicksPerBeat(uint32_t* oTicks) override;
  AAX_Result GetTimelineSelectionStartPosition(int64_t* oSampleLocation) override;
  AAX_Result GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset) override;
  AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate, int64_t* oOffset) override;
  AAX_Result IsMetronomeEnabled(int32_t* oIsEnabled) override;

private:
  ~HostTransport() override = default;
  void* Answer(const acfIID& iid) override;
  int64_t TicksAtLocked(int64_t sampleLocation) const;
  uint32_t TicksPerBeatLocked() const;

  const int mVersion;
  mutable std::mutex mMutex;
  TransportState mState;
};
} // namespace aaxhost

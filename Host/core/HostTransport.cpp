#include "HostTransport.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

#include <cmath>

namespace aaxhost
{
HostTransport::HostTransport(int version) : mVersion(version) {}

void* HostTransport::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXTransportV1 ||
      (iid == IID_IAAXTransportV2 && mVersion >= 2))
    return static_cast<AAX_IACFTransport_V2*>(this);
  return nullptr;
}

TransportState HostTransport::State() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mState;
}

void HostTransport::SetState(const TransportState& state)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mState = state;
}

int64_t HostTransport::TicksAtLocked(int64_t sampleLocation) const
{
  if (mState.sampleRate <= 0) return 0;
  const double quarters = double(sampleLocation) / mState.sampleRate * mState.tempo / 60.0;
  return static_cast<int64_t>(std::floor(quarters * mState.ticksPerQuarter));
}

uint32_t HostTransport::TicksPerBeatLocked() const
{
  if (mState.meterDenominator <= 0) return mState.ticksPerQuarter;
  return static_cast<uint32_t>(uint64_t(mState.ticksPerQuarter) * 4 / mState.meterDenominator);
}

#define QV_RECORD(op, ...) mCalls.Add(op, Args(__VA_ARGS__))

AAX_Result HostTransport::GetCurrentTempo(double* oTempo)
{
  QV_RECORD("GetCurrentTempo", static_cast<void*>(oTempo));
  if (!oTempo) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oTempo = mState.tempo;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentMeter(int32_t* oNumerator, int32_t* oDenominator)
{
  QV_RECORD("GetCurrentMeter", static_cast<void*>(oNumerator), static_cast<void*>(oDenominator));
  if (!oNumerator || !oDenominator) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oNumerator = mState.meterNumerator;
  *oDenominator = mState.meterDenominator;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::IsTransportPlaying(bool* oIsPlaying)
{
  QV_RECORD("IsTransportPlaying", static_cast<void*>(oIsPlaying));
  if (!oIsPlaying) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oIsPlaying = mState.playing;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentTickPosition(int64_t* oTickPosition)
{
  QV_RECORD("GetCurrentTickPosition", static_cast<void*>(oTickPosition));
  if (!oTickPosition) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oTickPosition = mState.tickPosition;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentLoopPosition(bool* oLooping, int64_t* oLoopStartTick,
                                                 int64_t* oLoopEndTick)
{
  QV_RECORD("GetCurrentLoopPosition", static_cast<void*>(oLooping),
            static_cast<void*>(oLoopStartTick), static_cast<void*>(oLoopEndTick));
  if (!oLooping || !oLoopStartTick || !oLoopEndTick) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oLooping = mState.looping;
  *oLoopStartTick = mState.loopStartTick;
  *oLoopEndTick = mState.loopEndTick;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentNativeSampleLocation(int64_t* oSampleLocation)
{
  QV_RECORD("GetCurrentNativeSampleLocation", static_cast<void*>(oSampleLocation));
  if (!oSampleLocation) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oSampleLocation = mState.nativeSampleLocation;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCustomTickPosition(int64_t* oTickPosition, int64_t iSampleLocation)
{
  QV_RECORD("GetCustomTickPosition", static_cast<void*>(oTickPosition), iSampleLocation);
  if (!oTickPosition) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oTickPosition = TicksAtLocked(iSampleLocation);
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetBarBeatPosition(int32_t* oBars, int32_t* oBeats,
                                             int64_t* oDisplayTicks, int64_t iSampleLocation)
{
  QV_RECORD("GetBarBeatPosition", static_cast<void*>(oBars), static_cast<void*>(oBeats),
            static_cast<void*>(oDisplayTicks), iSampleLocation);
  if (!oBars || !oBeats || !oDisplayTicks) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  const int64_t ticks = TicksAtLocked(iSampleLocation);
  const int64_t beatTicks = TicksPerBeatLocked();
  const int64_t beatsPerBar = mState.meterNumerator > 0 ? mState.meterNumerator : 1;
  const int64_t beats = beatTicks > 0 ? ticks / beatTicks : 0;
  *oBars = static_cast<int32_t>(beats / beatsPerBar + 1);
  *oBeats = static_cast<int32_t>(beats % beatsPerBar + 1);
  *oDisplayTicks = beatTicks > 0 ? ticks % beatTicks : 0;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetTicksPerQuarter(uint32_t* oTicks)
{
  QV_RECORD("GetTicksPerQuarter", static_cast<void*>(oTicks));
  if (!oTicks) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oTicks = mState.ticksPerQuarter;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentTicksPerBeat(uint32_t* oTicks)
{
  QV_RECORD("GetCurrentTicksPerBeat", static_cast<void*>(oTicks));
  if (!oTicks) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oTicks = TicksPerBeatLocked();
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetTimelineSelectionStartPosition(int64_t* oSampleLocation)
{
  QV_RECORD("GetTimelineSelectionStartPosition", static_cast<void*>(oSampleLocation));
  if (!oSampleLocation) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oSampleLocation = mState.selectionStart;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetTimeCodeInfo(AAX_EFrameRate* oFrameRate, int32_t* oOffset)
{
  QV_RECORD("GetTimeCodeInfo", static_cast<void*>(oFrameRate), static_cast<void*>(oOffset));
  if (!oFrameRate || !oOffset) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oFrameRate = mState.frameRate;
  *oOffset = mState.timeCodeOffset;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::GetFeetFramesInfo(AAX_EFeetFramesRate* oFeetFramesRate, int64_t* oOffset)
{
  QV_RECORD("GetFeetFramesInfo", static_cast<void*>(oFeetFramesRate), static_cast<void*>(oOffset));
  if (!oFeetFramesRate || !oOffset) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oFeetFramesRate = mState.feetFramesRate;
  *oOffset = mState.feetFramesOffset;
  return AAX_SUCCESS;
}

AAX_Result HostTransport::IsMetronomeEnabled(int32_t* oIsEnabled)
{
  QV_RECORD("IsMetronomeEnabled", static_cast<void*>(oIsEnabled));
  if (!oIsEnabled) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oIsEnabled = mState.metronome ? 1 : 0;
  return AAX_SUCCESS;
}
} // namespace aaxhost

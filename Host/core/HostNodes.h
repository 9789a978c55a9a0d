// The stand-in host's render-context nodes: a MIDI node holding the packets
// of the next buffer, and a transport node that hands the plug-in a view of
// the host's transport state.
#pragma once

#include "AAX_IMIDINode.h"
#include "AAX_ITransport.h"
#include "HostTransport.h"

#include <vector>

namespace aaxhost
{
// Packets are queued by the host between render calls and read by the
// plug-in during one. Storage is reserved up front, so queuing within the
// capacity and reading allocate nothing. Not thread-safe: the host fills it
// on the render thread before the call, as a workstation's engine does.
class HostMIDINode final : public AAX_IMIDINode
{
public:
  explicit HostMIDINode(size_t capacity = 256);

  AAX_CMidiStream* GetNodeBuffer() override;
  AAX_ITransport* GetTransport() override { return nullptr; }

  // Appends a packet; false (nothing queued) when the node is full.
  bool Add(const AAX_CMidiPacket& packet);
  // A three-byte message at a sample offset.
  bool Add(uint32_t timestamp, uint8_t status, uint8_t data1, uint8_t data2);
  void Clear();
  size_t Size() const { return mPackets.size(); }

private:
  std::vector<AAX_CMidiPacket> mPackets;
  AAX_CMidiStream mStream{0, nullptr};
};

// GetTransport answers this node itself: every query goes to the host's
// transport component (which locks its own state), so what the plug-in reads
// is the host transport at the moment of the call. Empty packet stream.
class HostTransportNode final : public AAX_IMIDINode, public AAX_ITransport
{
public:
  // Holds a reference to transport (which may be null: every query then
  // fails with AAX_ERROR_NULL_OBJECT).
  explicit HostTransportNode(HostTransport* transport);
  ~HostTransportNode() override;
  HostTransportNode(const HostTransportNode&) = delete;
  HostTransportNode& operator=(const HostTransportNode&) = delete;

  AAX_CMidiStream* GetNodeBuffer() override { return &mEmpty; }
  AAX_ITransport* GetTransport() override { return this; }

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

private:
  HostTransport* mTransport;
  AAX_CMidiStream mEmpty{0, nullptr};
};
} // namespace aaxhost

#include "HostNodes.h"

#include "AAX_Errors.h"

namespace aaxhost
{
HostMIDINode::HostMIDINode(size_t capacity) { mPackets.reserve(capacity); }

AAX_CMidiStream* HostMIDINode::GetNodeBuffer()
{
  mStream.mBufferSize = static_cast<uint32_t>(mPackets.size());
  mStream.mBuffer = mPackets.empty() ? nullptr : mPackets.data();
  return &mStream;
}

bool HostMIDINode::Add(const AAX_CMidiPacket& packet)
{
  if (mPackets.size() == mPackets.capacity()) return false;
  mPackets.push_back(packet);
  return true;
}

bool HostMIDINode::Add(uint32_t timestamp, uint8_t status, uint8_t data1, uint8_t data2)
{
  AAX_CMidiPacket p{};
  p.mTimestamp = timestamp;
  p.mLength = 3;
  p.mData[0] = status;
  p.mData[1] = data1;
  p.mData[2] = data2;
  p.mIsImmediate = 0;
  return Add(p);
}

void HostMIDINode::Clear() { mPackets.clear(); }

HostTransportNode::HostTransportNode(HostTransport* transport) : mTransport(transport)
{
  if (mTransport) mTransport->AddRef();
}

HostTransportNode::~HostTransportNode()
{
  if (mTransport) mTransport->Release();
}

#define QV_FORWARD(call)                                                                           \
  if (!mTransport) return AAX_ERROR_NULL_OBJECT;                                                   \
  return mTransport->call

AAX_Result HostTransportNode::GetCurrentTempo(double* o) const { QV_FORWARD(GetCurrentTempo(o)); }
AAX_Result HostTransportNode::GetCurrentMeter(int32_t* n, int32_t* d) const
{
  QV_FORWARD(GetCurrentMeter(n, d));
}
AAX_Result HostTransportNode::IsTransportPlaying(bool* o) const
{
  QV_FORWARD(IsTransportPlaying(o));
}
AAX_Result HostTransportNode::GetCurrentTickPosition(int64_t* o) const
{
  QV_FORWARD(GetCurrentTickPosition(o));
}
AAX_Result HostTransportNode::GetCurrentLoopPosition(bool* l, int64_t* s, int64_t* e) const
{
  QV_FORWARD(GetCurrentLoopPosition(l, s, e));
}
AAX_Result HostTransportNode::GetCurrentNativeSampleLocation(int64_t* o) const
{
  QV_FORWARD(GetCurrentNativeSampleLocation(o));
}
AAX_Result HostTransportNode::GetCustomTickPosition(int64_t* o, int64_t at) const
{
  QV_FORWARD(GetCustomTickPosition(o, at));
}
AAX_Result HostTransportNode::GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* ticks,
                                                 int64_t at) const
{
  QV_FORWARD(GetBarBeatPosition(bars, beats, ticks, at));
}
AAX_Result HostTransportNode::GetTicksPerQuarter(uint32_t* o) const
{
  QV_FORWARD(GetTicksPerQuarter(o));
}
AAX_Result HostTransportNode::GetCurrentTicksPerBeat(uint32_t* o) const
{
  QV_FORWARD(GetCurrentTicksPerBeat(o));
}
AAX_Result HostTransportNode::GetTimelineSelectionStartPosition(int64_t* o) const
{
  QV_FORWARD(GetTimelineSelectionStartPosition(o));
}
AAX_Result HostTransportNode::GetTimeCodeInfo(AAX_EFrameRate* r, int32_t* o) const
{
  QV_FORWARD(GetTimeCodeInfo(r, o));
}
AAX_Result HostTransportNode::GetFeetFramesInfo(AAX_EFeetFramesRate* r, int64_t* o) const
{
  QV_FORWARD(GetFeetFramesInfo(r, o));
}
AAX_Result HostTransportNode::IsMetronomeEnabled(int32_t* o) const
{
  QV_FORWARD(IsMetronomeEnabled(o));
}
#undef QV_FORWARD
} // namespace aaxhost

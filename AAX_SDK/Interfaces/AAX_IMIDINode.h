// AAX_IMIDINode: the host-side node that a render context carries in its MIDI
// and transport fields. The host owns every node; the plug-in only borrows it
// for the duration of one render call.
#pragma once

#include "AAX.h"

#include <cstddef>

class AAX_ITransport;

// The packets a MIDI node received for the current buffer, in time order:
// mBufferSize packets of 16 bytes each at mBuffer (null when there are none).
struct AAX_CMidiStream
{
  uint32_t mBufferSize;
  AAX_CMidiPacket* mBuffer;
};

// The packet layout the render path reads: timestamp at byte 0, the message
// bytes from byte 8.
static_assert(sizeof(AAX_CMidiPacket) == 16, "a MIDI packet is 16 bytes");
static_assert(offsetof(AAX_CMidiPacket, mTimestamp) == 0, "timestamp at byte 0");
static_assert(offsetof(AAX_CMidiPacket, mData) == 8, "message bytes from byte 8");

// Host interface (slot order as declared; no virtual destructor, the host
// deletes its own nodes). Thread: [audio], inside the render call.
class AAX_IMIDINode
{
public:
  // 0: this buffer's packet stream. Valid until the render call returns;
  // never null for a MIDI node.
  virtual AAX_CMidiStream* GetNodeBuffer() = 0;
  // 1: the host transport, for transport nodes; null from a node that has no
  // transport. Borrowed, valid while the host keeps the node.
  virtual AAX_ITransport* GetTransport() = 0;

protected:
  ~AAX_IMIDINode() = default;
};

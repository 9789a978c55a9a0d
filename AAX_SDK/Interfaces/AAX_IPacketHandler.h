// AAX_IPacketHandler: fills a packet from a parameter's value.
#pragma once

#include "AAX.h"
#include "AAX_CPacket.h"

// Called by the packet dispatcher with its lock held. [host]
class AAX_IPacketHandler
{
public:
  virtual ~AAX_IPacketHandler() {}

  // A new heap copy; the caller owns it.
  virtual AAX_IPacketHandler* Clone() const = 0;
  // Fills ioPacket for parameterID; 0 means filled and to be posted, anything
  // else leaves it unposted.
  virtual AAX_Result Call(AAX_CParamID parameterID, AAX_CPacket& ioPacket) const = 0;
};

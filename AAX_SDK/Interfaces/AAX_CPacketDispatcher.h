// AAX_CPacketDispatcher: links parameter identifiers to coefficient packets;
// marks them dirty on value changes and posts the dirty ones.
#pragma once

#include "AAX.h"
#include "AAX_CMutex.h"
#include "AAX_CPacket.h"
#include "AAX_IController.h"
#include "AAX_IPacketHandler.h"

#include <map>
#include <string>
#include <utility>

class AAX_IACFEffectParameters;

// RegisterPacket, SetDirty and Dispatch each hold the dispatcher's lock for
// their whole duration, so they are atomic with respect to one another whatever
// thread calls them: [any]. Handlers run and packets are posted under the lock.
class AAX_CPacketDispatcher
{
public:
  AAX_CPacketDispatcher();
  // Deletes every packet and handler clone under the lock.
  ~AAX_CPacketDispatcher();

  AAX_CPacketDispatcher(const AAX_CPacketDispatcher&) = delete;
  AAX_CPacketDispatcher& operator=(const AAX_CPacketDispatcher&) = delete;

  // Both borrowed: the controller posts packets, the effect parameters answer
  // GenerateSingleValuePacket's parameter lookups. [host]
  void Initialize(AAX_IController* iController, AAX_IACFEffectParameters* iEffectParameters);
  // Links parameterID to the packet of portID (created, dirty, on first use)
  // with a clone of handler. Several parameters may share a port, and one
  // parameter may have several handlers. A negative port keeps the handler with
  // no packet (never dirty, never posted). 0; -20004 for a null identifier or
  // handler, which registers nothing.
  AAX_Result RegisterPacket(AAX_CParamID parameterID, AAX_CFieldIndex portID,
                            const AAX_IPacketHandler* handler);
  // Marks the packets linked to parameterID; unknown identifiers change nothing. 0.
  AAX_Result SetDirty(AAX_CParamID parameterID, bool inDirty = true);
  // Fills and posts each dirty packet once, by the handler of the first entry
  // in identifier order (byte-wise; equal identifiers in registration order)
  // that meets it, and clears its flag even when the handler fails. The result
  // of the last post made, 0 when none was.
  AAX_Result Dispatch();
  // A ready-made fill: the parameter's value as an int32_t 1/0 (bool), a float,
  // an int32_t or a double, probed in that order. 0, or -20004 when there is no
  // such parameter or no probe succeeds. Takes no lock.
  AAX_Result GenerateSingleValuePacket(AAX_CParamID parameterID, AAX_CPacket& ioPacket);

private:
  typedef std::pair<AAX_CPacket*, AAX_IPacketHandler*> Handler;

  std::map<AAX_CFieldIndex, AAX_CPacket*> mPacketsHolder;
  std::multimap<std::string, Handler> mPacketsHandlers;
  AAX_IController* mController;
  AAX_IACFEffectParameters* mEffectParameters;
  AAX_CMutex mLockGuard;
};

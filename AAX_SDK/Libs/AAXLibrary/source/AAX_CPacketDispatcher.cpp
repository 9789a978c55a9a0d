#include "AAX_CPacketDispatcher.h"

#include "AAX_Errors.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IParameter.h"

AAX_CPacketDispatcher::AAX_CPacketDispatcher() : mController(nullptr), mEffectParameters(nullptr)
{
}

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
  AAX_StLock_Guard guard(mLockGuard);
  for (auto& entry : mPacketsHolder) delete entry.second;
  for (auto& entry : mPacketsHandlers) delete entry.second.second;
  mPacketsHolder.clear();
  mPacketsHandlers.clear();
}

void AAX_CPacketDispatcher::Initialize(AAX_IController* iController,
                                       AAX_IACFEffectParameters* iEffectParameters)
{
  mController = iController;
  mEffectParameters = iEffectParameters;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID parameterID, AAX_CFieldIndex portID,
                                                 const AAX_IPacketHandler* handler)
{
  if (!parameterID || !handler) return AAX_ERROR_NULL_OBJECT;
  AAX_StLock_Guard guard(mLockGuard);
  AAX_CPacket* packet = nullptr;
  if (portID >= 0)
  {
    AAX_CPacket*& held = mPacketsHolder[portID];
    if (!held) held = new AAX_CPacket(portID);
    packet = held;
  }
  mPacketsHandlers.insert({parameterID, Handler(packet, handler->Clone())});
  return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::SetDirty(AAX_CParamID parameterID, bool inDirty)
{
  if (!parameterID) return AAX_SUCCESS;
  AAX_StLock_Guard guard(mLockGuard);
  const auto range = mPacketsHandlers.equal_range(parameterID);
  for (auto it = range.first; it != range.second; ++it)
    if (it->second.first) it->second.first->SetDirty(inDirty);
  return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::Dispatch()
{
  AAX_StLock_Guard guard(mLockGuard);
  AAX_Result result = AAX_SUCCESS;
  for (auto& entry : mPacketsHandlers)
  {
    AAX_CPacket* packet = entry.second.first;
    if (!packet || !packet->IsDirty()) continue;
    if (entry.second.second->Call(entry.first.c_str(), *packet) == AAX_SUCCESS && mController)
      result = mController->PostPacket(packet->GetID(), packet->GetPtr<const void>(),
                                       packet->GetSize());
    packet->SetDirty(false);
  }
  return result;
}

AAX_Result AAX_CPacketDispatcher::GenerateSingleValuePacket(AAX_CParamID parameterID,
                                                            AAX_CPacket& ioPacket)
{
  if (!mEffectParameters) return AAX_ERROR_NULL_OBJECT;
  AAX_IParameter* parameter = nullptr;
  if (mEffectParameters->GetParameter(parameterID, &parameter) != AAX_SUCCESS || !parameter)
    return AAX_ERROR_NULL_OBJECT;

  bool boolValue = false;
  float floatValue = 0;
  int32_t intValue = 0;
  double doubleValue = 0;
  if (parameter->GetValueAsBool(&boolValue))
    *ioPacket.GetPtr<int32_t>() = boolValue ? 1 : 0;
  else if (parameter->GetValueAsFloat(&floatValue))
    *ioPacket.GetPtr<float>() = floatValue;
  else if (parameter->GetValueAsInt32(&intValue))
    *ioPacket.GetPtr<int32_t>() = intValue;
  else if (parameter->GetValueAsDouble(&doubleValue))
    *ioPacket.GetPtr<double>() = doubleValue;
  else
    return AAX_ERROR_NULL_OBJECT;
  return AAX_SUCCESS;
}

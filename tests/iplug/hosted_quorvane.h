#pragma once
// Quorvane reached through its AAX bridge, as the host reaches it.

#include "HostedEffect.h"
#include "Quorvane.h"

#include <memory>

// The creation and render procedures as a host holds them.
inline aaxhost::CreationProc QuorvaneCreate()
{
  return reinterpret_cast<aaxhost::CreationProc>(&IPlugAAX::Create);
}
inline aaxhost::NativeRenderProc QuorvaneRender()
{
  return reinterpret_cast<aaxhost::NativeRenderProc>(&AAX_CIPlugParameters::StaticRenderAudio);
}

// A plug-in initialised without a host: its host parameters exist, so host
// updates reach it, while nothing it sends goes anywhere.
inline std::unique_ptr<Quorvane> MakeInitializedQuorvane()
{
  std::unique_ptr<Quorvane> plug(static_cast<Quorvane*>(MakePlug()));
  plug->Initialize(nullptr);
  return plug;
}

// The host's value path for plug-in parameter paramIdx.
inline AAX_Result HostSet(IPlugAAX& plug, int paramIdx, double normalizedValue)
{
  return plug.UpdateParameterNormalizedValue(plug.GetParamID(paramIdx), normalizedValue,
                                             AAX_EUpdateSource(0));
}

// An instance on a stand-in host with a render context of its own.
class HostedQuorvane : public aaxhost::HostedEffect
{
public:
  explicit HostedQuorvane(const aaxhost::RenderLayout& layout = aaxhost::RenderLayout(),
                          const aaxhost::HostConfig& config = aaxhost::HostConfig())
      : HostedEffect(QuorvaneCreate(), QuorvaneRender(), layout, config)
  {
  }
  Quorvane& Plug() { return *dynamic_cast<Quorvane*>(Parameters()); }
  AAX_Result Set(int paramIdx, double normalizedValue)
  {
    return Update(Plug().GetParamID(paramIdx), normalizedValue);
  }
  AAX_Result SetBypass(bool on) { return Update("MasterBypassID", on ? 1.0 : 0.0); }
};

// One effect instance set up the way a workstation inserts it on a track:
// a stand-in host, the instance made by its creation procedure and
// initialised, a render context whose private block the instance has
// initialised, and the native render procedure to call with it.
#pragma once

#include "HostInstance.h"

#include <memory>
#include <string>

namespace aaxhost
{
class HostedEffect
{
public:
  // Valid() is false when the instance could not be made or initialised.
  HostedEffect(CreationProc createEffect, NativeRenderProc render,
               const RenderLayout& layout = RenderLayout(), const HostConfig& config = HostConfig());
  // The same on a host whose controller answers state from the start (sample
  // rate, stem formats, effect identifier): the instance reads them in
  // Initialize, as it does when a workstation inserts it.
  HostedEffect(CreationProc createEffect, NativeRenderProc render, const RenderLayout& layout,
               const ControllerState& state, const HostConfig& config = HostConfig());
  // The instance goes before its context and host.
  ~HostedEffect();
  HostedEffect(const HostedEffect&) = delete;
  HostedEffect& operator=(const HostedEffect&) = delete;

  bool Valid() const { return mValid; }
  // Which step failed and its result ("the effect did not initialise
  // (AAX_ERROR_..., -200xx)"); empty when Valid().
  const std::string& Failure() const { return mFailure; }
  StandInHost& Host() { return *mHost; }
  HostInstance& Instance() { return *mInstance; }
  RenderContext& Context() { return *mContext; }
  AAX_IACFEffectParameters* Parameters() const { return mInstance->Parameters(); }
  NativeRenderProc RenderProc() const { return mRender; }

  // [host] A value from the host (automation playback, a control surface):
  // the instance's UpdateParameterNormalizedValue with update source 0.
  AAX_Result Update(const char* id, double normalizedValue);

  // [audio] One render call over this instance's context with frames frames
  // of the context's own buffers.
  void Render(int32_t frames);
  // [audio] The same with the host's buffers given for this call (one per
  // channel of the layout; they may be the same buffers). Allocates nothing.
  void Render(float** inputs, float** outputs, int32_t frames);

private:
  void Start(CreationProc createEffect, const RenderLayout& layout);

  std::unique_ptr<StandInHost> mHost;
  std::unique_ptr<HostInstance> mInstance;
  std::unique_ptr<RenderContext> mContext;
  NativeRenderProc mRender;
  bool mValid = false;
  std::string mFailure;
};
} // namespace aaxhost

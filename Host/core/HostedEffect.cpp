#include "HostedEffect.h"

#include "AAX_Errors.h"
#include "Module.h"

namespace aaxhost
{
HostedEffect::HostedEffect(CreationProc createEffect, NativeRenderProc render,
                           const RenderLayout& layout, const HostConfig& config)
    : mHost(std::make_unique<StandInHost>(config)), mRender(render)
{
  Start(createEffect, layout);
}

HostedEffect::HostedEffect(CreationProc createEffect, NativeRenderProc render,
                           const RenderLayout& layout, const ControllerState& state,
                           const HostConfig& config)
    : mHost(std::make_unique<StandInHost>(config)), mRender(render)
{
  if (mHost->Controller()) mHost->Controller()->SetState(state);
  Start(createEffect, layout);
}

HostedEffect::~HostedEffect() { mInstance.reset(); }

void HostedEffect::Start(CreationProc createEffect, const RenderLayout& layout)
{
  mInstance = std::make_unique<HostInstance>(*mHost, createEffect);
  mContext = std::make_unique<RenderContext>(layout, mHost->Transport());
  if (!mInstance->Valid())
  {
    mFailure = "the creation procedure made no effect";
    return;
  }
  if (const AAX_Result r = mInstance->Initialize())
  {
    mFailure = WithCode("the effect did not initialise", r);
    return;
  }
  if (const AAX_Result r = mInstance->InitializeFieldData(*mContext))
  {
    mFailure = WithCode("the render context was refused", r);
    return;
  }
  mValid = true;
}

AAX_Result HostedEffect::Update(const char* id, double normalizedValue)
{
  if (!mInstance->Valid()) return AAX_ERROR_NOT_INITIALIZED;
  return mInstance->Parameters()->UpdateParameterNormalizedValue(id, normalizedValue,
                                                                 AAX_EUpdateSource(0));
}

void HostedEffect::Render(int32_t frames)
{
  mContext->SetFrames(frames);
  void* context = mContext->Fields();
  mRender(&context, &context + 1);
}

void HostedEffect::Render(float** inputs, float** outputs, int32_t frames)
{
  void* savedIn = mContext->Field(kFieldAudioIn);
  void* savedOut = mContext->Field(kFieldAudioOut);
  mContext->Field(kFieldAudioIn) = inputs;
  mContext->Field(kFieldAudioOut) = outputs;
  Render(frames);
  mContext->Field(kFieldAudioIn) = savedIn;
  mContext->Field(kFieldAudioOut) = savedOut;
}
} // namespace aaxhost

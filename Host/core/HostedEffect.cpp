#include "HostedEffect.h"

#include "AAX_Errors.h"

namespace aaxhost
{
HostedEffect::HostedEffect(CreationProc createEffect, NativeRenderProc render,
                           const RenderLayout& layout, const HostConfig& config)
    : mHost(std::make_unique<StandInHost>(config)),
      mInstance(std::make_unique<HostInstance>(*mHost, createEffect)),
      mContext(std::make_unique<RenderContext>(layout, mHost->Transport())), mRender(render)
{
  mValid = mInstance->Valid() && mInstance->Initialize() == AAX_SUCCESS &&
           mInstance->InitializeFieldData(*mContext) == AAX_SUCCESS;
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

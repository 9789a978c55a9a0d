#include "HostRenderContext.h"

#include <algorithm>

namespace aaxhost
{
RenderContext::RenderContext(const RenderLayout& layout, HostTransport* transport)
    : mLayout(layout)
{
  const size_t frames = static_cast<size_t>(std::max(layout.maxFrames, 0));
  mIn.assign(static_cast<size_t>(std::max(layout.inputs, 0)), std::vector<float>(frames));
  mOut.assign(static_cast<size_t>(std::max(layout.outputs, 0)), std::vector<float>(frames));
  for (auto& b : mIn) mInPtrs.push_back(b.data());
  for (auto& b : mOut) mOutPtrs.push_back(b.data());
  mFields[kFieldAudioIn] = mInPtrs.data();
  mFields[kFieldAudioOut] = mOutPtrs.data();
  mFields[kFieldBufferLength] = &mFrames;
  if (layout.sideChain) mFields[kFieldSideChain] = &mSideChainValue;

  // The private block comes first: it is what makes the instance reachable.
  mFields[kFieldPrivate] = mPrivate;
  mPrivateFields.push_back({kFieldPrivate, mPrivate, sizeof mPrivate});

  auto spare = [this](AAX_CFieldIndex field, int which) {
    mFields[field] = mSpare[which];
    mPrivateFields.push_back({field, mSpare[which], 4});
  };
  if (layout.inputMIDI)
  {
    mInputMIDI = std::make_unique<HostMIDINode>();
    mFields[kFieldInputMIDI] = static_cast<AAX_IMIDINode*>(mInputMIDI.get());
  }
  else
    spare(kFieldInputMIDI, 0);
  if (layout.globalMIDI)
  {
    mGlobalMIDI = std::make_unique<HostMIDINode>();
    mFields[kFieldGlobalMIDI] = static_cast<AAX_IMIDINode*>(mGlobalMIDI.get());
  }
  else
    spare(kFieldGlobalMIDI, 1);
  if (layout.transport)
  {
    mTransportNode = std::make_unique<HostTransportNode>(transport);
    mFields[kFieldTransport] = static_cast<AAX_IMIDINode*>(mTransportNode.get());
  }
  else
    spare(kFieldTransport, 2);
  if (layout.meters > 0)
  {
    mMeterValues.assign(static_cast<size_t>(layout.meters), 0.0f);
    for (float& v : mMeterValues) mMeterTaps.push_back(&v);
    mFields[kFieldMeters] = mMeterTaps.data();
  }
  else
    spare(kFieldMeters, 3);
}

void RenderContext::FillInput(int ch, float value)
{
  std::fill(mIn[ch].begin(), mIn[ch].end(), value);
}

void RenderContext::ClearOutputs()
{
  for (auto& b : mOut) std::fill(b.begin(), b.end(), 0.0f);
}

RenderBatch::RenderBatch(std::initializer_list<RenderContext*> contexts)
{
  for (RenderContext* c : contexts) Add(*c);
}

void RenderBatch::Run(NativeRenderProc proc) const
{
  void* const* begin = mContexts.data();
  proc(begin, begin + mContexts.size());
}
} // namespace aaxhost

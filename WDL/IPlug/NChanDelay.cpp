#include "NChanDelay.h"

void NChanDelayLine::SetDelayTime(int delayTimeSamples)
{
  mDTSamples = delayTimeSamples > 0 ? static_cast<uint64_t>(delayTimeSamples) : 0u;
  mBuffer.Resize(static_cast<int>(mDTSamples) * mNInChans);
  mWriteAddress = 0;
  ClearBuffer();
}

void NChanDelayLine::ClearBuffer()
{
  double* buf = mBuffer.Get();
  for (int i = 0, n = mBuffer.GetSize(); i < n; ++i) buf[i] = 0.0;
}

void NChanDelayLine::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  // A zero delay has no buffer; the modulo below would divide by zero.
  if (mDTSamples == 0) return;
  double* buf = mBuffer.Get();
  const int nChans = mNInChans < mNOutChans ? mNInChans : mNOutChans;
  for (int s = 0; s < nFrames; ++s)
  {
    for (int ch = 0; ch < nChans; ++ch)
    {
      double* slot = buf + static_cast<uint64_t>(ch) * mDTSamples + mWriteAddress;
      const double x = inputs[ch][s];
      outputs[ch][s] = *slot;
      *slot = x;
    }
    mWriteAddress = (mWriteAddress + 1) % mDTSamples;
  }
}

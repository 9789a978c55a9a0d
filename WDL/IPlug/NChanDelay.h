#pragma once
// NChanDelayLine: delays each channel below both channel counts by a fixed
// number of samples. Used for bypass, so a bypassed plug-in keeps its latency.

#include "heapbuf.h"

#include <cstdint>

class NChanDelayLine
{
public:
  NChanDelayLine(int nInputChans = 2, int nOutputChans = 2)
      : mNInChans(nInputChans), mNOutChans(nOutputChans)
  {
  }

  // [host] Sets the delay, resizes (may allocate) and clears the buffer.
  void SetDelayTime(int delayTimeSamples);

  // [audio] Writes inputs delayed by the delay time into outputs for every
  // channel below both counts; other outputs are left untouched. With a delay
  // of 0 nothing is written. Allocates nothing.
  void ProcessBlock(double** inputs, double** outputs, int nFrames);

  // [host] Fills the delay buffer with 0.0.
  void ClearBuffer();

  uint64_t GetDelayTime() const { return mDTSamples; }

private:
  WDL_TypedBuf<double> mBuffer;
  uint64_t mWriteAddress = 0;
  int mNInChans;
  int mNOutChans;
  uint64_t mDTSamples = 0;
};

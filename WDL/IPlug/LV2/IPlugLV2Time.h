#pragma once
// The time both LV2 sides report. Neither reads the host's transport (the
// plug-in declares no time port, the UI runs no audio), so the base's time
// questions are answered with a stopped transport at sample 0, 120 beats per
// minute, 4/4.

#include "IPlugStructs.h"

inline void IPlugLV2_StoppedTimeSig(int* pNum, int* pDenom)
{
  if (pNum) *pNum = 4;
  if (pDenom) *pDenom = 4;
}

inline void IPlugLV2_StoppedTime(ITimeInfo* pTimeInfo)
{
  if (!pTimeInfo) return;
  pTimeInfo->mTempo = 120.0;
  pTimeInfo->mSamplePos = 0.0;
  pTimeInfo->mPPQPos = 0.0;
  pTimeInfo->mCycleStart = pTimeInfo->mCycleEnd = 0.0;
  pTimeInfo->mNumerator = pTimeInfo->mDenominator = 4;
  pTimeInfo->mTransportIsRunning = false;
  pTimeInfo->mTransportLoopEnabled = false;
}

#include "QvTest.h"

#include "wdlendian.h"

QvTest::QvTest(IPlugInstanceInfo instanceInfo)
    : IPlugWrapper(instanceInfo, kNumParams, "2-2", 2, "QvTest", "", "Orvantine", 0x00010203,
                   static_cast<int>(WDL_FourCC("QvT1")), static_cast<int>(WDL_FourCC("Ovtn")),
                   kLatency, false, false, false, 0)
{
  GetParam(kGain)->InitDouble("Gain", 0.0, -60.0, 12.0, 0.1, "dB", "", 2.0);
  GetParam(kMode)->InitEnum("Mode", 0, 3, "", "");
  GetParam(kMode)->SetDisplayText(0, "Stereo");
  GetParam(kMode)->SetDisplayText(1, "Left");
  GetParam(kMode)->SetDisplayText(2, "Right");
  GetParam(kSteps)->InitInt("Steps", 2, 0, 8, "", "");
  GetParam(kMute)->InitBool("Mute", false, "", "");
  MakePreset("Unity", 0.0, 0, 2, 0);
  MakePreset("Quiet Left", -12.0, 1, 4, 0);
}

void QvTest::OnParamChange(int paramIdx)
{
  IMutexLock lock(this);
  switch (paramIdx)
  {
  case kGain:
    mAmp = GetParam(kGain)->DBToAmp();
    break;
  case kMode:
    mMode = GetParam(kMode)->Int();
    break;
  case kMute:
    mMute = GetParam(kMute)->Value() != 0.0;
    break;
  default:
    break;
  }
}

void QvTest::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  const double amp = mMute ? 0.0 : mAmp;
  for (int s = 0; s < nFrames; ++s)
  {
    const double l = inputs[0][s], r = inputs[1][s];
    outputs[0][s] = amp * (mMode == 2 ? r : l);
    outputs[1][s] = amp * (mMode == 1 ? l : r);
  }
}

IPlugWrapper* MakePlug() { return new QvTest(IPlugInstanceInfo()); }

#pragma once
// QvTest: a test plug-in with one parameter of every kind the base has, a
// non-zero latency and two presets, built as an AAX module and as an LV2
// bundle from this one source (tests only; never installed).

#include "IPlugWrapper.h"

class QvTest : public IPlugWrapper
{
public:
  enum EParams
  {
    kGain = 0, // double, shape 2, label "dB"
    kMode,     // enum: "Stereo", "Left", "Right"
    kSteps,    // int 0..8
    kMute,     // bool
    kNumParams
  };
  static constexpr int kLatency = 64;

  explicit QvTest(IPlugInstanceInfo instanceInfo);

  // [any, takes the plug-in mutex]
  void OnParamChange(int paramIdx) override;
  // [audio, under the plug-in mutex] Gain, then Left / Right copies that
  // channel to both outputs; Mute silences. Steps only exists to be an int.
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;

private:
  double mAmp = 1.0;
  int mMode = 0;
  bool mMute = false;
};

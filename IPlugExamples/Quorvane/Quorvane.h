#pragma once
// Quorvane: a stereo utility. "Swap" exchanges left and right; "Mono"
// replaces both with their average, applied after the swap.

#include "IPlugWrapper.h"

class IGraphics;

#ifndef IPLUG_NO_EDITOR
// [host] The editor's graphics object for pPlug: the Linux view with the
// bundle's identifier set. The caller owns it until AttachGraphics.
IGraphics* MakeGraphics(IPlugBase* pPlug, int w, int h, int fps);
#endif

class Quorvane : public IPlugWrapper
{
public:
  enum EParams
  {
    kSwap = 0,
    kMono,
    kNumParams
  };

  // Editor layout: where the switches' top-left corners sit.
  static constexpr int kSwapX = 13, kSwapY = 30;
  static constexpr int kMonoX = 154, kMonoY = 36;

  // [host] Builds the base, the editor with its background and switches
  // (left out where IPLUG_NO_EDITOR is defined), the parameters and the one
  // preset, in that interleaved order. If a step
  // throws, what was built so far is freed and the exception goes on.
  explicit Quorvane(IPlugInstanceInfo instanceInfo);
  ~Quorvane() override = default;

  // [any, takes the plug-in mutex] Mirrors the switch parameters: a value
  // other than exactly 0.0 turns a flag on.
  void OnParamChange(int paramIdx) override;

  // [audio, under the plug-in mutex where the wrapper takes one] Single-
  // precision swap/mono over input and output channels 0 and 1; outputs may
  // alias inputs. Allocates nothing.
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;
  // [audio] The same in single precision, bit for bit, in one pass over the
  // samples (the LV2 run uses it). Always true.
  bool ProcessSingleReplacing(float** inputs, float** outputs, int nFrames) override;

  bool IsSwapOn() const { return mSwap; }
  bool IsMonoOn() const { return mMono; }

private:
  // [host] The parameter's one definition, shared by both builds.
  void InitParam(EParams idx);

  bool mSwap = false;
  bool mMono = false;
  // Working values of the per-sample loop; they make processing single
  // precision. After a block they hold its last frame.
  float mInputLeft = 0.0f;
  float mInputRight = 0.0f;
  float mOutputLeft = 0.0f;
  float mOutputRight = 0.0f;
  // 1.0f, read at run time so that the single-precision loop's multiply by
  // it (which quiets signalling NaNs as widening does) cannot be folded away.
  float mUnity = 1.0f;
};

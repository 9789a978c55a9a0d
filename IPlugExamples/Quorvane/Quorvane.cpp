#include "Quorvane.h"

#include "resource.h"
#include "simdclones.h"

#include <type_traits>

#ifndef IPLUG_NO_EDITOR
#include "IControl.h"
#include "IGraphicsLinux.h"

IGraphics* MakeGraphics(IPlugBase* pPlug, int w, int h, int fps)
{
  IGraphicsLinux* pGraphics = new IGraphicsLinux(pPlug, w, h, fps);
  pGraphics->SetBundleID(BUNDLE_ID);
  return pGraphics;
}
#endif

Quorvane::Quorvane(IPlugInstanceInfo instanceInfo)
    : IPlugWrapper(instanceInfo, kNumParams, PLUG_CHANNEL_IO, PLUG_NUM_PRESETS, PLUG_NAME,
                   PLUG_PRODUCT, PLUG_MFR, PLUG_VER, PLUG_UNIQUE_ID, PLUG_MFR_ID, PLUG_LATENCY,
                   PLUG_DOES_MIDI, PLUG_DOES_STATE_CHUNKS, PLUG_IS_INST, PLUG_SC_CHANS)
{
#ifdef IPLUG_NO_EDITOR
  // The audio-only build (the LV2 binary): parameters and preset, no editor.
  InitParam(kSwap);
  InitParam(kMono);
  MakeDefaultPreset(PLUG_NAME, 1);
#else
  // Until AttachGraphics the editor is ours to free, and a control is ours
  // until AttachControl; after that the base and the editor own them.
  IGraphics* pGraphics = MakeGraphics(this, GUI_WIDTH, GUI_HEIGHT, GUI_FPS);
  IControl* pControl = nullptr;
  try
  {
    pGraphics->AttachBackground(BACKGROUND_ID, BACKGROUND_FN);

    InitParam(kSwap);
    IBitmap swapBitmap = pGraphics->LoadIBitmap(SWAP_ID, SWAP_FN, 2, false);
    pControl =
        new ISwitchControl(this, kSwapX, kSwapY, kSwap, &swapBitmap, IChannelBlend::kBlendNone);
    pGraphics->AttachControl(pControl);
    pControl = nullptr;

    InitParam(kMono);
    IBitmap monoBitmap = pGraphics->LoadIBitmap(MONO_ID, MONO_FN, 2, false);
    pControl =
        new ISwitchControl(this, kMonoX, kMonoY, kMono, &monoBitmap, IChannelBlend::kBlendNone);
    pGraphics->AttachControl(pControl);
    pControl = nullptr;

    AttachGraphics(pGraphics);
    pGraphics = nullptr;
    // The one preset holds the state built above.
    MakeDefaultPreset(PLUG_NAME, 1);
  }
  catch (...)
  {
    delete pControl;
    delete pGraphics;
    throw;
  }
#endif
}

void Quorvane::InitParam(EParams idx)
{
  switch (idx)
  {
  case kSwap:
    GetParam(kSwap)->InitBool("Swap", mSwap, "Swap", "");
    break;
  case kMono:
    GetParam(kMono)->InitBool("Mono", mMono, "Mono", "");
    break;
  default:
    break;
  }
}

void Quorvane::OnParamChange(int paramIdx)
{
  IMutexLock lock(this);
  switch (paramIdx)
  {
  case kSwap:
    mSwap = GetParam(kSwap)->Value() != 0.0;
    break;
  case kMono:
    mMono = GetParam(kMono)->Value() != 0.0;
    break;
  default:
    break;
  }
}

namespace
{
// Each frame's two inputs are read before its outputs are written, so the
// output buffers may be the input buffers. T is the host-side sample type:
// double for the base's double path, float for the single-precision one,
// where the inputs are multiplied by unity (1.0f, passed at run time so the
// compiler cannot drop it): that is exact for every value and quiets a
// signalling NaN exactly as the double path's widening does, so both paths
// give the same bits for every input.
template <typename T, bool Swap, bool Mono>
WDL_SIMD_INLINE void Render(const T* inL, const T* inR, T* outL, T* outR, int nFrames,
                            float unity, float& lastInL, float& lastInR, float& lastOutL,
                            float& lastOutR)
{
  float l = lastInL, r = lastInR, ol = lastOutL, orr = lastOutR;
  for (int s = 0; s < nFrames; ++s)
  {
    if constexpr (std::is_same_v<T, float>)
    {
      l = inL[s] * unity;
      r = inR[s] * unity;
    }
    else
    {
      (void)unity;
      l = static_cast<float>(inL[s]);
      r = static_cast<float>(inR[s]);
    }
    ol = Swap ? r : l;
    orr = Swap ? l : r;
    if (Mono)
    {
      ol = 0.5f * (r + l);
      orr = ol;
    }
    outL[s] = static_cast<T>(ol);
    outR[s] = static_cast<T>(orr);
  }
  lastInL = l;
  lastInR = r;
  lastOutL = ol;
  lastOutR = orr;
}

template <typename T>
using RenderFn = void (*)(const T*, const T*, T*, T*, int, float, float&, float&, float&, float&);

#define QV_RENDER_VARIANT(name, T, swap, mono)                                                     \
  WDL_SIMD_FUNCTION(void, name,                                                                    \
                    (const T* inL, const T* inR, T* outL, T* outR, int n, float unity, float& a,   \
                     float& b, float& c, float& d),                                                \
                    (inL, inR, outL, outR, n, unity, a, b, c, d), (Render<T, swap, mono>))
QV_RENDER_VARIANT(RenderThrough, double, false, false)
QV_RENDER_VARIANT(RenderSwap, double, true, false)
QV_RENDER_VARIANT(RenderMono, double, false, true)
QV_RENDER_VARIANT(RenderSwapMono, double, true, true)
QV_RENDER_VARIANT(RenderThroughF, float, false, false)
QV_RENDER_VARIANT(RenderSwapF, float, true, false)
QV_RENDER_VARIANT(RenderMonoF, float, false, true)
QV_RENDER_VARIANT(RenderSwapMonoF, float, true, true)
#undef QV_RENDER_VARIANT
} // namespace

void Quorvane::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  // The flags are read once per block: a change takes effect at the start
  // of the next one.
  const RenderFn<double> render =
      mMono ? (mSwap ? RenderSwapMono : RenderMono) : (mSwap ? RenderSwap : RenderThrough);
  render(inputs[0], inputs[1], outputs[0], outputs[1], nFrames, 1.0f, mInputLeft, mInputRight,
         mOutputLeft, mOutputRight);
}

bool Quorvane::ProcessSingleReplacing(float** inputs, float** outputs, int nFrames)
{
  const RenderFn<float> render =
      mMono ? (mSwap ? RenderSwapMonoF : RenderMonoF) : (mSwap ? RenderSwapF : RenderThroughF);
  render(inputs[0], inputs[1], outputs[0], outputs[1], nFrames, mUnity, mInputLeft, mInputRight,
         mOutputLeft, mOutputRight);
  return true;
}

IPlugWrapper* MakePlug()
{
  static WDL_Mutex sMutex;
  WDL_MutexLock lock(&sMutex);
  return new Quorvane(IPlugInstanceInfo());
}

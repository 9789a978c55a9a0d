#include "Quorvane.h"

#include "resource.h"
#include "simdclones.h"

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
// output buffers may be the input buffers.
template <bool Swap, bool Mono>
WDL_SIMD_INLINE void Render(const double* inL, const double* inR, double* outL, double* outR,
                            int nFrames, float& lastInL, float& lastInR, float& lastOutL,
                            float& lastOutR)
{
  float l = lastInL, r = lastInR, ol = lastOutL, orr = lastOutR;
  for (int s = 0; s < nFrames; ++s)
  {
    l = static_cast<float>(inL[s]);
    r = static_cast<float>(inR[s]);
    ol = Swap ? r : l;
    orr = Swap ? l : r;
    if (Mono)
    {
      ol = 0.5f * (r + l);
      orr = ol;
    }
    outL[s] = static_cast<double>(ol);
    outR[s] = static_cast<double>(orr);
  }
  lastInL = l;
  lastInR = r;
  lastOutL = ol;
  lastOutR = orr;
}

using RenderFn = void (*)(const double*, const double*, double*, double*, int, float&, float&,
                          float&, float&);

#define QV_RENDER_VARIANT(name, swap, mono)                                                        \
  WDL_SIMD_FUNCTION(void, name,                                                                    \
                    (const double* inL, const double* inR, double* outL, double* outR, int n,      \
                     float& a, float& b, float& c, float& d),                                      \
                    (inL, inR, outL, outR, n, a, b, c, d), (Render<swap, mono>))
QV_RENDER_VARIANT(RenderThrough, false, false)
QV_RENDER_VARIANT(RenderSwap, true, false)
QV_RENDER_VARIANT(RenderMono, false, true)
QV_RENDER_VARIANT(RenderSwapMono, true, true)
#undef QV_RENDER_VARIANT
} // namespace

void Quorvane::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  // The flags are read once per block: they cannot change mid-block because
  // the render call holds the plug-in mutex.
  const RenderFn render =
      mMono ? (mSwap ? RenderSwapMono : RenderMono) : (mSwap ? RenderSwap : RenderThrough);
  render(inputs[0], inputs[1], outputs[0], outputs[1], nFrames, mInputLeft, mInputRight,
         mOutputLeft, mOutputRight);
}

IPlugWrapper* MakePlug()
{
  static WDL_Mutex sMutex;
  WDL_MutexLock lock(&sMutex);
  return new Quorvane(IPlugInstanceInfo());
}

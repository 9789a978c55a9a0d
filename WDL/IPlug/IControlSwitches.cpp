// Picture, panel and switch controls.
#include "IControl.h"

#include "IPlugBase.h"

namespace
{
int BoundedFrame(double value, int n)
{
  if (n < 2) return 1;
  int i = 1 + int(0.5 + value * (double)(n - 1));
  return i < 1 ? 1 : (i > n ? n : i);
}

// Position i of n choices as a value; a single choice is 0.
double ChoiceValue(int i, int n)
{
  return n > 1 ? (double)i / (double)(n - 1) : 0.0;
}
} // namespace

bool IPanelControl::Draw(IGraphics* pGraphics)
{
  return pGraphics->FillIRect(&mColor, &mRECT, &mBlend);
}

IBitmapControl::IBitmapControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                               IChannelBlend::EBlendMethod blendMethod)
    : IControl(pPlug, IRECT(x, y, pBitmap), paramIdx, IChannelBlend(blendMethod)),
      mBitmap(*pBitmap)
{
}

bool IBitmapControl::Draw(IGraphics* pGraphics)
{
  return pGraphics->DrawBitmap(&mBitmap, &mRECT, BoundedFrame(mValue, mBitmap.N), &mBlend);
}

void ISwitchControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  mValue += mBitmap.N > 1 ? 1.0 / (double)(mBitmap.N - 1) : 1.0;
  if (mValue > 1.001) mValue = 0.0;
  SetDirty();
}

ISwitchPopUpControl::ISwitchPopUpControl(IPlugBase* pPlug, int x, int y, int paramIdx,
                                         IBitmap* pBitmap, IChannelBlend::EBlendMethod blendMethod)
    : ISwitchControl(pPlug, x, y, paramIdx, pBitmap, blendMethod)
{
  // Prompting is this control's whole purpose.
  mDisablePrompt = false;
}

void ISwitchPopUpControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  PromptUserInput();
  SetDirty();
}

ISwitchFramesControl::ISwitchFramesControl(IPlugBase* pPlug, int x, int y, int paramIdx,
                                           IBitmap* pBitmap, bool imagesAreHorizontal,
                                           IChannelBlend::EBlendMethod blendMethod)
    : ISwitchControl(pPlug, x, y, paramIdx, pBitmap, blendMethod)
{
  mDisablePrompt = false;
  for (int i = 0; i < mBitmap.N; ++i)
    mRECTs.Add(imagesAreHorizontal ? mRECT.SubRectHorizontal(mBitmap.N, i)
                                   : mRECT.SubRectVertical(mBitmap.N, i));
}

void ISwitchFramesControl::OnMouseDown(int x, int y, IMouseMod* /*pMod*/)
{
  const int n = mRECTs.GetSize();
  for (int i = 0; i < n; ++i)
    if (mRECTs.Get()[i].Contains(x, y))
    {
      mValue = ChoiceValue(i, n);
      break;
    }
  SetDirty();
}

IInvisibleSwitchControl::IInvisibleSwitchControl(IPlugBase* pPlug, IRECT pR, int paramIdx)
    : IControl(pPlug, pR, paramIdx, IChannelBlend::kBlendClobber)
{
  mDisablePrompt = true;
}

void IInvisibleSwitchControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  mValue = mValue < 0.5 ? 1.0 : 0.0;
  SetDirty();
}

IRadioButtonsControl::IRadioButtonsControl(IPlugBase* pPlug, IRECT pR, int paramIdx, int nButtons,
                                           IBitmap* pBitmap, EDirection direction, bool reverse)
    : IControl(pPlug, pR, paramIdx), mBitmap(*pBitmap)
{
  if (nButtons < 1) nButtons = 1;
  IRECT* r = mRECTs.Resize(nButtons);
  const int w = mBitmap.W, h = mBitmap.H / mBitmap.N;
  const int gaps = nButtons > 1 ? nButtons - 1 : 1;
  int x = mRECT.L, y = mRECT.T;
  if (direction == kHorizontal)
  {
    const int dX = int((double)(pR.W() - nButtons * w) / (double)gaps);
    if (reverse) x = mRECT.R - w - dX;
    for (int i = 0; i < nButtons; ++i)
    {
      r[i] = IRECT(x, y, x + w, y + h);
      x += reverse ? -(w + dX) : (w + dX);
    }
  }
  else
  {
    const int dY = int((double)(pR.H() - nButtons * h) / (double)gaps);
    if (reverse) y = mRECT.B - h - dY;
    for (int i = 0; i < nButtons; ++i)
    {
      r[i] = IRECT(x, y, x + w, y + h);
      y += reverse ? -(h + dY) : (h + dY);
    }
  }
}

const IRECT* IRadioButtonsControl::GetButtonRECT(int i) const
{
  return (i >= 0 && i < mRECTs.GetSize()) ? mRECTs.Get() + i : nullptr;
}

void IRadioButtonsControl::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  if (pMod && pMod->R)
  {
    PromptUserInput();
    return;
  }
  const int n = mRECTs.GetSize();
  for (int i = 0; i < n; ++i)
    if (mRECTs.Get()[i].Contains(x, y))
    {
      mValue = ChoiceValue(i, n);
      break;
    }
  SetDirty();
}

bool IRadioButtonsControl::Draw(IGraphics* pGraphics)
{
  const int n = mRECTs.GetSize();
  int active = int(0.5 + mValue * (double)(n - 1));
  active = active < 0 ? 0 : (active > n - 1 ? n - 1 : active);
  for (int i = 0; i < n; ++i)
    pGraphics->DrawBitmap(&mBitmap, mRECTs.Get() + i, i == active ? 2 : 1, &mBlend);
  return true;
}

void IContactControl::OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  mValue = 0.0;
  SetDirty();
}

bool IBitmapOverlayControl::Draw(IGraphics* pGraphics)
{
  if (mValue < 0.5)
  {
    mTargetRECT = mTargetArea;
    return true;
  }
  mTargetRECT = mRECT;
  return IBitmapControl::Draw(pGraphics);
}

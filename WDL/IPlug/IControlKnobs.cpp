// Faders and knobs.
#include "IControl.h"

#include <cmath>

namespace
{
int BoundedFrame(double value, int n)
{
  if (n < 2) return 1;
  int i = 1 + int(0.5 + value * (double)(n - 1));
  return i < 1 ? 1 : (i > n ? n : i);
}

double WheelStep(const IMouseMod* pMod, int d)
{
  return (pMod && (pMod->C || pMod->S)) ? 0.001 * d : 0.01 * d;
}
} // namespace

IFaderControl::IFaderControl(IPlugBase* pPlug, int x, int y, int len, int paramIdx,
                             IBitmap* pBitmap, EDirection direction, bool onlyHandle)
    : IControl(pPlug, IRECT(), paramIdx), mLen(len), mBitmap(*pBitmap), mDirection(direction),
      mOnlyHandle(onlyHandle)
{
  if (direction == kVertical)
  {
    mHandleHeadroom = mBitmap.H;
    mRECT = mTargetRECT = IRECT(x, y, x + mBitmap.W, y + len);
  }
  else
  {
    mHandleHeadroom = mBitmap.W;
    mRECT = mTargetRECT = IRECT(x, y, x + len, y + mBitmap.H);
  }
}

IRECT IFaderControl::GetHandleRECT(double value) const
{
  if (value < 0.0) value = mValue;
  IRECT r(mRECT.L, mRECT.T, mRECT.L + mBitmap.W, mRECT.T + mBitmap.H);
  if (mDirection == kVertical)
  {
    const int offs = int((1.0 - value) * (double)(mLen - mHandleHeadroom));
    r.T += offs;
    r.B += offs;
  }
  else
  {
    const int offs = int(value * (double)(mLen - mHandleHeadroom));
    r.L += offs;
    r.R += offs;
  }
  return r;
}

void IFaderControl::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  if (pMod && pMod->R)
  {
    PromptUserInput();
    return;
  }
  SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int /*dX*/, int /*dY*/, IMouseMod* /*pMod*/)
{
  SnapToMouse(x, y);
}

void IFaderControl::SnapToMouse(int x, int y)
{
  const double travel = (double)(mLen - mHandleHeadroom);
  if (mDirection == kVertical)
    mValue = 1.0 - (double)(y - mRECT.T - mHandleHeadroom / 2) / travel;
  else
    mValue = (double)(x - mRECT.L - mHandleHeadroom / 2) / travel;
  SetDirty();
}

void IFaderControl::OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* pMod, int d)
{
  mValue += WheelStep(pMod, d);
  SetDirty();
}

bool IFaderControl::Draw(IGraphics* pGraphics)
{
  IRECT r = GetHandleRECT();
  return pGraphics->DrawBitmap(&mBitmap, &r, 1, &mBlend);
}

bool IFaderControl::IsHit(int x, int y)
{
  return mOnlyHandle ? GetHandleRECT().Contains(x, y) : mTargetRECT.Contains(x, y);
}

void IKnobControl::OnMouseDrag(int /*x*/, int /*y*/, int dX, int dY, IMouseMod* pMod)
{
  double gearing = mGearing;
  if (pMod && (pMod->C || pMod->S)) gearing *= 10.0;
  if (mDirection == kVertical)
    mValue += (double)dY / (double)(mRECT.T - mRECT.B) / gearing;
  else
    mValue += (double)dX / (double)(mRECT.R - mRECT.L) / gearing;
  SetDirty();
}

void IKnobControl::OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* pMod, int d)
{
  mValue += WheelStep(pMod, d);
  SetDirty();
}

IKnobLineControl::IKnobLineControl(IPlugBase* pPlug, IRECT pR, int paramIdx, const IColor* pColor,
                                   double innerRadius, double outerRadius, double minAngle,
                                   double maxAngle, EDirection direction, double gearing)
    : IKnobControl(pPlug, pR, paramIdx, direction, gearing), mColor(*pColor),
      mMinAngle((float)minAngle), mMaxAngle((float)maxAngle), mInnerRadius((float)innerRadius),
      mOuterRadius((float)outerRadius)
{
  if (mOuterRadius == 0.0f) mOuterRadius = 0.5f * (float)pR.W();
  mBlend = IChannelBlend(IChannelBlend::kBlendClobber);
}

bool IKnobLineControl::Draw(IGraphics* pGraphics)
{
  const double v = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  const float sinV = (float)std::sin(v), cosV = (float)std::cos(v);
  const float cx = mRECT.MW(), cy = mRECT.MH();
  return pGraphics->DrawLine(&mColor, cx + mInnerRadius * sinV, cy - mInnerRadius * cosV,
                             cx + mOuterRadius * sinV, cy - mOuterRadius * cosV, &mBlend, true);
}

IKnobRotaterControl::IKnobRotaterControl(IPlugBase* pPlug, int x, int y, int paramIdx,
                                         IBitmap* pBitmap, double minAngle, double maxAngle,
                                         int yOffsetZeroDeg, EDirection direction, double gearing)
    : IKnobControl(pPlug, IRECT(x, y, x + pBitmap->W, y + pBitmap->H), paramIdx, direction,
                   gearing),
      mBitmap(*pBitmap), mMinAngle(minAngle), mMaxAngle(maxAngle), mYOffset(yOffsetZeroDeg)
{
}

bool IKnobRotaterControl::Draw(IGraphics* pGraphics)
{
  const int cX = (mRECT.L + mRECT.R) / 2, cY = (mRECT.T + mRECT.B) / 2;
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  return pGraphics->DrawRotatedBitmap(&mBitmap, cX, cY, angle, mYOffset, &mBlend);
}

IKnobMultiControl::IKnobMultiControl(IPlugBase* pPlug, int x, int y, int paramIdx,
                                     IBitmap* pBitmap, EDirection direction, double gearing)
    : IKnobControl(pPlug, IRECT(x, y, pBitmap), paramIdx, direction, gearing), mBitmap(*pBitmap)
{
}

bool IKnobMultiControl::Draw(IGraphics* pGraphics)
{
  return pGraphics->DrawBitmap(&mBitmap, &mRECT, BoundedFrame(mValue, mBitmap.N), &mBlend);
}

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IPlugBase* pPlug, int x, int y, int paramIdx,
                                                   IBitmap* pBase, IBitmap* pMask, IBitmap* pTop,
                                                   double minAngle, double maxAngle,
                                                   EDirection direction, double gearing)
    : IKnobControl(pPlug, IRECT(x, y, x + pBase->W, y + pBase->H), paramIdx, direction, gearing),
      mBase(*pBase), mMask(*pMask), mTop(*pTop), mMinAngle(minAngle), mMaxAngle(maxAngle)
{
}

bool IKnobRotatingMaskControl::Draw(IGraphics* pGraphics)
{
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  return pGraphics->DrawRotatedMask(&mBase, &mMask, &mTop, mRECT.L, mRECT.T, angle, &mBlend);
}

// IGraphics: the drawing operations controls use, on the drawing bitmap.
#include "IGraphics.h"

#include "lice.h"

#include <cmath>

namespace
{
// The bitmap layer's blend-mode word for a blend record.
int LiceBlendMode(const IChannelBlend* pBlend)
{
  if (!pBlend) return LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA;
  switch (pBlend->mMethod)
  {
    case IChannelBlend::kBlendClobber: return LICE_BLIT_MODE_COPY;
    case IChannelBlend::kBlendAdd: return LICE_BLIT_MODE_ADD | LICE_BLIT_USE_ALPHA;
    case IChannelBlend::kBlendColorDodge: return LICE_BLIT_MODE_DODGE | LICE_BLIT_USE_ALPHA;
    case IChannelBlend::kBlendNone:
    default: return LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA;
  }
}

float LiceWeight(const IChannelBlend* pBlend)
{
  return pBlend ? pBlend->mWeight : 1.0f;
}

LICE_pixel LicePixel(const IColor* pColor)
{
  return pColor->Pixel();
}
} // namespace

bool IGraphics::DrawBitmap(IBitmap* pIBitmap, IRECT* pDest, int srcX, int srcY,
                           const IChannelBlend* pBlend)
{
  LICE_IBitmap* pLB = pIBitmap ? pIBitmap->mData : nullptr;
  if (!pLB || !mDrawBitmap) return true; // a picture that failed to load draws nothing
  IRECT r = pDest->Intersect(&mDrawRECT);
  srcX += r.L - pDest->L;
  srcY += r.T - pDest->T;
  LICE_Blit(mDrawBitmap, pLB, r.L, r.T, srcX, srcY, r.W(), r.H(), LiceWeight(pBlend),
            LiceBlendMode(pBlend));
  return true;
}

bool IGraphics::DrawBitmap(IBitmap* pIBitmap, IRECT* pDest, int bmState,
                           const IChannelBlend* pBlend)
{
  int srcX = 0, srcY = 0;
  if (pIBitmap && pIBitmap->N > 1 && bmState > 1)
  {
    if (pIBitmap->mFramesAreHorizontal)
      srcX = int(0.5 + (double)pIBitmap->W * (double)(bmState - 1) / (double)pIBitmap->N);
    else
      srcY = int(0.5 + (double)pIBitmap->H * (double)(bmState - 1) / (double)pIBitmap->N);
  }
  return DrawBitmap(pIBitmap, pDest, srcX, srcY, pBlend);
}

bool IGraphics::DrawRotatedBitmap(IBitmap* pIBitmap, int destCtrX, int destCtrY, double angle,
                                  int yOffsetZeroDeg, const IChannelBlend* pBlend)
{
  LICE_IBitmap* pLB = pIBitmap ? pIBitmap->mData : nullptr;
  if (!pLB || !mDrawBitmap) return true;
  const int W = pIBitmap->W, H = pIBitmap->H;
  const int destX = destCtrX - W / 2, destY = destCtrY - H / 2;
  LICE_RotatedBlit(mDrawBitmap, pLB, destX, destY, W, H, 0.0f, 0.0f, (float)W, (float)H,
                   (float)angle, false, LiceWeight(pBlend),
                   LiceBlendMode(pBlend) | LICE_BLIT_FILTER_BILINEAR, 0.0f, (float)yOffsetZeroDeg);
  return true;
}

bool IGraphics::DrawRotatedMask(IBitmap* pIBase, IBitmap* pIMask, IBitmap* pITop, int x, int y,
                                double angle, const IChannelBlend* pBlend)
{
  LICE_IBitmap* pBase = pIBase ? pIBase->mData : nullptr;
  LICE_IBitmap* pMask = pIMask ? pIMask->mData : nullptr;
  LICE_IBitmap* pTop = pITop ? pITop->mData : nullptr;
  if (!pBase || !mDrawBitmap || !mTmpBitmap) return true;
  const double dA = angle * 3.14159265358979323846 / 180.0;
  const int W = pIBase->W, H = pIBase->H;
  const float xOffs = (W % 2) ? -0.5f : 0.0f;

  LICE_Copy(mTmpBitmap, pBase);
  LICE_ClearRect(mTmpBitmap, 0, 0, W, H, LICE_RGBA(255, 255, 255, 0));
  if (pMask)
    LICE_RotatedBlit(mTmpBitmap, pMask, 0, 0, W, H, 0.0f, 0.0f, (float)W, (float)H, (float)dA,
                     true, 1.0f,
                     LICE_BLIT_MODE_ADD | LICE_BLIT_FILTER_BILINEAR | LICE_BLIT_USE_ALPHA, xOffs,
                     0.0f);
  if (pTop)
    LICE_RotatedBlit(mTmpBitmap, pTop, 0, 0, W, H, 0.0f, 0.0f, (float)W, (float)H, (float)dA, true,
                     1.0f, LICE_BLIT_MODE_COPY | LICE_BLIT_FILTER_BILINEAR | LICE_BLIT_USE_ALPHA,
                     xOffs, 0.0f);

  IRECT dest(x, y, x + W, y + H);
  IRECT r = dest.Intersect(&mDrawRECT);
  LICE_Blit(mDrawBitmap, mTmpBitmap, r.L, r.T, r.L - x, r.T - y, r.W(), r.H(), LiceWeight(pBlend),
            LiceBlendMode(pBlend));
  return true;
}

bool IGraphics::FillIRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend)
{
  LICE_FillRect(mDrawBitmap, pR->L, pR->T, pR->W(), pR->H(), LicePixel(pColor),
                LiceWeight(pBlend), LiceBlendMode(pBlend));
  return true;
}

bool IGraphics::DrawPoint(const IColor* pColor, float x, float y, const IChannelBlend* pBlend,
                          bool /*antiAlias*/)
{
  LICE_PutPixel(mDrawBitmap, int(x + 0.5f), int(y + 0.5f), LicePixel(pColor), LiceWeight(pBlend),
                LiceBlendMode(pBlend));
  return true;
}

bool IGraphics::ForcePixel(const IColor* pColor, int x, int y)
{
  if (!mDrawBitmap || !mDrawBitmap->getBits()) return true;
  if (x < 0 || y < 0 || x >= mDrawBitmap->getWidth() || y >= mDrawBitmap->getHeight()) return true;
  mDrawBitmap->getBits()[y * mDrawBitmap->getRowSpan() + x] = LicePixel(pColor);
  return true;
}

bool IGraphics::DrawLine(const IColor* pColor, float x1, float y1, float x2, float y2,
                         const IChannelBlend* pBlend, bool antiAlias)
{
  LICE_FLine(mDrawBitmap, x1, y1, x2, y2, LicePixel(pColor), LiceWeight(pBlend),
             LiceBlendMode(pBlend), antiAlias);
  return true;
}

bool IGraphics::DrawArc(const IColor* pColor, float cx, float cy, float r, float minAngle,
                        float maxAngle, const IChannelBlend* pBlend, bool antiAlias)
{
  LICE_Arc(mDrawBitmap, cx, cy, r, minAngle, maxAngle, LicePixel(pColor), LiceWeight(pBlend),
           LiceBlendMode(pBlend), antiAlias);
  return true;
}

bool IGraphics::DrawCircle(const IColor* pColor, float cx, float cy, float r,
                           const IChannelBlend* pBlend, bool antiAlias)
{
  LICE_Circle(mDrawBitmap, cx, cy, r, LicePixel(pColor), LiceWeight(pBlend), LiceBlendMode(pBlend),
              antiAlias);
  return true;
}

bool IGraphics::RoundRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend,
                          int cornerradius, bool aa)
{
  LICE_RoundRect(mDrawBitmap, (float)pR->L, (float)pR->T, (float)pR->W(), (float)pR->H(),
                 cornerradius, LicePixel(pColor), LiceWeight(pBlend), LiceBlendMode(pBlend), aa);
  return true;
}

bool IGraphics::FillRoundRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend,
                              int cornerradius, bool aa)
{
  const int x1 = pR->L, y1 = pR->T, h = pR->H(), w = pR->W(), r = cornerradius;
  const LICE_pixel color = LicePixel(pColor);
  const float weight = LiceWeight(pBlend);
  const int mode = LiceBlendMode(pBlend);
  LICE_FillRect(mDrawBitmap, x1 + r, y1, w - 2 * r, h, color, weight, mode);
  LICE_FillRect(mDrawBitmap, x1, y1 + r, r, h - 2 * r, color, weight, mode);
  LICE_FillRect(mDrawBitmap, pR->R - r, y1 + r, r, h - 2 * r, color, weight, mode);
  LICE_FillCircle(mDrawBitmap, (float)(x1 + r), (float)(y1 + r), (float)r, color, weight, mode, aa);
  LICE_FillCircle(mDrawBitmap, (float)(pR->R - r - 1), (float)(pR->B - r - 1), (float)r, color,
                  weight, mode, aa);
  LICE_FillCircle(mDrawBitmap, (float)(pR->R - r - 1), (float)(y1 + r), (float)r, color, weight,
                  mode, aa);
  LICE_FillCircle(mDrawBitmap, (float)(x1 + r), (float)(pR->B - r - 1), (float)r, color, weight,
                  mode, aa);
  return true;
}

bool IGraphics::FillCircle(const IColor* pColor, int cx, int cy, float r,
                           const IChannelBlend* pBlend, bool antiAlias)
{
  LICE_FillCircle(mDrawBitmap, (float)cx, (float)cy, r, LicePixel(pColor), LiceWeight(pBlend),
                  LiceBlendMode(pBlend), antiAlias);
  return true;
}

bool IGraphics::FillTriangle(const IColor* pColor, int x1, int y1, int x2, int y2, int x3, int y3,
                             const IChannelBlend* pBlend)
{
  LICE_FillTriangle(mDrawBitmap, x1, y1, x2, y2, x3, y3, LicePixel(pColor), LiceWeight(pBlend),
                    LiceBlendMode(pBlend));
  return true;
}

bool IGraphics::FillIConvexPolygon(const IColor* pColor, int* x, int* y, int npoints,
                                   const IChannelBlend* pBlend)
{
  LICE_FillConvexPolygon(mDrawBitmap, x, y, npoints, LicePixel(pColor), LiceWeight(pBlend),
                         LiceBlendMode(pBlend));
  return true;
}

bool IGraphics::DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi)
{
  LICE_Line(mDrawBitmap, xi, yLo, xi, yHi, LicePixel(pColor), 1.0f, LICE_BLIT_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi)
{
  LICE_Line(mDrawBitmap, xLo, yi, xHi, yi, LicePixel(pColor), 1.0f, LICE_BLIT_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawRect(const IColor* pColor, IRECT* pR)
{
  DrawHorizontalLine(pColor, pR->T, pR->L, pR->R);
  DrawHorizontalLine(pColor, pR->B, pR->L, pR->R);
  DrawVerticalLine(pColor, pR->L, pR->T, pR->B);
  DrawVerticalLine(pColor, pR->R, pR->T, pR->B);
  return true;
}

bool IGraphics::DrawVerticalLine(const IColor* pColor, IRECT* pR, float x)
{
  x = x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
  const int xi = pR->L + int(x * (float)pR->W());
  return DrawVerticalLine(pColor, xi, pR->T, pR->B);
}

bool IGraphics::DrawHorizontalLine(const IColor* pColor, IRECT* pR, float y)
{
  y = y < 0.0f ? 0.0f : (y > 1.0f ? 1.0f : y);
  const int yi = pR->B - int(y * (float)pR->H());
  return DrawHorizontalLine(pColor, yi, pR->L, pR->R);
}

bool IGraphics::DrawRadialLine(const IColor* pColor, float cx, float cy, float angle, float rMin,
                               float rMax, const IChannelBlend* pBlend, bool antiAlias)
{
  const float sinV = std::sin(angle), cosV = std::cos(angle);
  return DrawLine(pColor, cx + rMin * sinV, cy - rMin * cosV, cx + rMax * sinV, cy - rMax * cosV,
                  pBlend, antiAlias);
}

IColor IGraphics::GetPoint(int x, int y)
{
  const LICE_pixel pix = LICE_GetPixel(mDrawBitmap, x, y);
  return IColor((int)LICE_GETA(pix), (int)LICE_GETR(pix), (int)LICE_GETG(pix), (int)LICE_GETB(pix));
}

// LICE_CachedFont: settings, the choice between the two paths, the native
// path (through a bitmap's drawing context or the scratch bitmap) and the
// process-wide rendering bitmaps.

#include "lice_text.h"
#include "lice.h"
#include "lice_text_shared.h"

#include <algorithm>
#include <cstring>

std::mutex gLiceTextLock;
LICE_SysBitmap* gLiceTextRenderBm = nullptr;
LICE_SysBitmap* gLiceTextNativeBm = nullptr;
int gLiceTextLiveFonts = 0;

LICE_SysBitmap* LICE_TextRenderBitmap(int size)
{
  if (!gLiceTextRenderBm) gLiceTextRenderBm = new LICE_SysBitmap();
  LICE_SysBitmap* bm = gLiceTextRenderBm;
  const int want = std::max(256, size);
  if (bm->getWidth() < want || bm->getHeight() < want)
    bm->resize(std::max(want, bm->getWidth()), std::max(want, bm->getHeight()));
  HDC dc = bm->getDC();
  ::SetTextColor(dc, 0xFFFFFF);
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, 0);
  return bm;
}

LICE_CachedFont::LICE_CachedFont()
{
  std::lock_guard<std::mutex> lock(gLiceTextLock);
  ++gLiceTextLiveFonts;
}

LICE_CachedFont::~LICE_CachedFont()
{
  if ((mFlags & LICE_FONT_FLAG_OWNS_HFONT) && mFont) DeleteObject(mFont);
  std::lock_guard<std::mutex> lock(gLiceTextLock);
  if (--gLiceTextLiveFonts == 0)
  {
    delete gLiceTextRenderBm;
    delete gLiceTextNativeBm;
    gLiceTextRenderBm = gLiceTextNativeBm = nullptr;
  }
}

void LICE_CachedFont::ForgetGlyphs()
{
  std::memset(mLowChars, 0, sizeof(mLowChars));
  mExtraChars.clear();
  mCacheStore.clear();
}

void LICE_CachedFont::SetFromHFont(HFONT font, int flags)
{
  if ((mFlags & LICE_FONT_FLAG_OWNS_HFONT) && mFont && mFont != font) DeleteObject(mFont);
  mFlags = flags;
  mFont = font;
  ForgetGlyphs();
  if (!font) return;
  {
    std::lock_guard<std::mutex> lock(gLiceTextLock);
    HDC dc = LICE_TextRenderBitmap(256)->getDC();
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    mLineHeight = tm.tmHeight;
    if (old) SelectObject(dc, old);
    else SWELL_ClearFont(dc);
  }
  if (flags & LICE_FONT_FLAG_PRECALCALL)
    for (int c = 0; c < 128; ++c) RenderGlyph(static_cast<unsigned short>(c));
}

LICE_pixel LICE_CachedFont::SetTextColor(LICE_pixel color)
{
  const LICE_pixel prev = mFg;
  mFg = color;
  return prev;
}

LICE_pixel LICE_CachedFont::SetBkColor(LICE_pixel color)
{
  const LICE_pixel prev = mBg;
  mBg = color;
  return prev;
}

LICE_pixel LICE_CachedFont::SetEffectColor(LICE_pixel color)
{
  const LICE_pixel prev = mEffectColor;
  mEffectColor = color;
  return prev;
}

int LICE_CachedFont::SetBkMode(int mode)
{
  const int prev = mBkMode;
  mBkMode = mode;
  return prev;
}

void LICE_CachedFont::SetCombineMode(int mode, float alpha)
{
  mCombineMode = mode;
  mCombineOpacity = alpha;
}

int LICE_CachedFont::DrawText(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                              int dtFlags)
{
  if (!str || !rect) return 0;
  if (!bm && !(dtFlags & DT_CALCRECT)) return 0;
  const int kGlyphOnly = LICE_FONT_FLAG_PRECALCALL | LICE_FONT_FLAG_VERTICAL |
                         LICE_FONT_FLAG_VERTICAL_BOTTOMUP | LICE_FONT_FLAG_FX_BLUR |
                         LICE_FONT_FLAG_FX_INVERT | LICE_FONT_FLAG_FX_MONO |
                         LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE;
  const bool native =
      mFont && (mLineHeight > 255 ||
                ((mFlags & LICE_FONT_FLAG_FORCE_NATIVE) && !(dtFlags & LICE_DT_USEFGALPHA) &&
                 !(mFlags & kGlyphOnly) && (mLineSpacing == 0 || (dtFlags & DT_SINGLELINE))));
  return native ? DrawNative(bm, str, strcnt, rect, dtFlags)
                : DrawGlyphs(bm, str, strcnt, rect, dtFlags);
}

int LICE_CachedFont::DrawNative(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                                int dtFlags)
{
  const int fmt = (dtFlags & ~LICE_DT_USEFGALPHA) | DT_NOPREFIX;
  HDC dc = bm ? bm->getDC() : nullptr;
  if (dc)
  {
    HGDIOBJ old = SelectObject(dc, mFont);
    ::SetTextColor(dc, static_cast<int>(mFg & 0xFFFFFF));
    ::SetBkMode(dc, mBkMode);
    if (mBkMode == OPAQUE) ::SetBkColor(dc, static_cast<int>(mBg & 0xFFFFFF));
    const int ret = SWELL_DrawText(dc, str, strcnt, rect, fmt);
    if (old) SelectObject(dc, old);
    else SWELL_ClearFont(dc);
    return ret;
  }

  // No drawing context: the covered part of the destination goes through the
  // scratch bitmap, where the engine draws, and comes back at the opacity.
  std::lock_guard<std::mutex> lock(gLiceTextLock);
  if (!gLiceTextNativeBm) gLiceTextNativeBm = new LICE_SysBitmap(4, 4);
  LICE_SysBitmap* scratch = gLiceTextNativeBm;
  HDC sdc = scratch->getDC();
  if (!sdc) return 0;
  SelectObject(sdc, mFont);
  ::SetTextColor(sdc, static_cast<int>(mFg & 0xFFFFFF));
  ::SetBkMode(sdc, mBkMode);
  ::SetBkColor(sdc, static_cast<int>(mBg & 0xFFFFFF));
  RECT mr = {0, 0, 0, 0};
  const int h = SWELL_DrawText(sdc, str, strcnt, &mr, (fmt & DT_SINGLELINE) | DT_NOPREFIX | DT_CALCRECT);
  const int w = mr.right;
  if (dtFlags & DT_CALCRECT)
  {
    SWELL_ClearFont(sdc);
    rect->right = rect->left + w;
    rect->bottom = rect->top + h;
    return h;
  }
  const long long L = rect->left, T = rect->top, R = rect->right, B = rect->bottom;
  long long x = L, y = T;
  if (dtFlags & DT_RIGHT) x = R - w;
  else if (dtFlags & DT_CENTER) x = L + (R - L) / 2 - w / 2;
  if (dtFlags & DT_BOTTOM) y = B - h;
  else if (dtFlags & DT_VCENTER) y = T + (B - T) / 2 - h / 2;
  const int margin = mLineHeight / 16 + 2;
  long long bl = std::max<long long>(x - margin, 0), bt = std::max<long long>(y, 0);
  long long br = std::min<long long>(x + w + margin, bm->getWidth());
  long long bb = std::min<long long>(y + h, bm->getHeight());
  if (!(dtFlags & DT_NOCLIP))
  {
    bl = std::max(bl, L);
    bt = std::max(bt, T);
    br = std::min(br, R);
    bb = std::min(bb, B);
  }
  int ret = 0;
  if (bl < br && bt < bb && h > 0)
  {
    const int bw = static_cast<int>(br - bl), bh = static_cast<int>(bb - bt);
    if (scratch->getWidth() < bw || scratch->getHeight() < bh)
      scratch->resize(std::max(bw, scratch->getWidth()), std::max(bh, scratch->getHeight()));
    sdc = scratch->getDC();
    if (sdc)
    {
      SelectObject(sdc, mFont); // a resize may have made a new context
      ::SetTextColor(sdc, static_cast<int>(mFg & 0xFFFFFF));
      ::SetBkMode(sdc, mBkMode);
      ::SetBkColor(sdc, static_cast<int>(mBg & 0xFFFFFF));
      LICE_Blit(scratch, bm, 0, 0, static_cast<int>(bl), static_cast<int>(bt), bw, bh, 1.0f,
                LICE_BLIT_MODE_COPY);
      RECT tr = {static_cast<int>(x - bl), static_cast<int>(y - bt),
                 static_cast<int>(x - bl) + w, static_cast<int>(y - bt) + h};
      ret = SWELL_DrawText(sdc, str, strcnt, &tr, (fmt & DT_SINGLELINE) | DT_NOPREFIX | DT_NOCLIP);
      LICE_Blit(bm, scratch, static_cast<int>(bl), static_cast<int>(bt), 0, 0, bw, bh,
                mCombineOpacity, LICE_BLIT_MODE_COPY);
    }
  }
  if (sdc) SWELL_ClearFont(sdc);
  return ret;
}

// LICE_CachedFont's glyph path: rendering characters into coverage masks,
// measuring with them and compositing them.

#include "lice_text.h"
#include "lice.h"
#include "lice_combine.h"
#include "lice_text_shared.h"
#include "swell-utf8.h"

#include <algorithm>
#include <cstring>

namespace
{
// The next character of the glyph path: a UTF-8 sequence, or one byte read
// as Windows Latin-1 where the text is not UTF-8. Characters beyond 16 bits
// have no cache key and stand as U+FFFD.
unsigned short NextChar(const unsigned char*& p, const unsigned char* end)
{
  unsigned cp = 0;
  const int len = SWELL_DecodeUTF8(p, static_cast<size_t>(end - p), &cp);
  if (!len)
  {
    cp = SWELL_Cp1252ToUnicode(*p);
    ++p;
  }
  else p += len;
  return static_cast<unsigned short>(cp > 0xFFFF ? 0xFFFD : cp);
}

std::vector<unsigned short> Decode(const char* str, int strcnt, bool single)
{
  size_t n = strcnt < 0 ? std::strlen(str) : strnlen(str, static_cast<size_t>(strcnt));
  const unsigned char* p = reinterpret_cast<const unsigned char*>(str);
  const unsigned char* end = p + n;
  std::vector<unsigned short> out;
  out.reserve(n);
  while (p < end)
  {
    unsigned short c = NextChar(p, end);
    if (c == '\r') continue;
    if (c == '\n' && single) c = ' ';
    out.push_back(c);
  }
  return out;
}

void Blur(std::vector<unsigned char>& m, int w, int h)
{
  const std::vector<unsigned char> src = m;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      int sum = 0, cnt = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
        {
          const int xx = x + dx, yy = y + dy;
          if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
          sum += src[static_cast<size_t>(yy) * w + xx];
          ++cnt;
        }
      m[static_cast<size_t>(y) * w + x] = static_cast<unsigned char>(sum / cnt);
    }
}
} // namespace

LICE_CachedFont::charEnt* LICE_CachedFont::FindGlyph(unsigned short c)
{
  charEnt* e = nullptr;
  if (c < 128) e = &mLowChars[c];
  else
  {
    auto it = std::lower_bound(mExtraChars.begin(), mExtraChars.end(), c,
                               [](const charEnt& a, unsigned short k) { return a.mChar < k; });
    if (it != mExtraChars.end() && it->mChar == c) e = &*it;
  }
  if (!e || e->mPos == 0)
  {
    RenderGlyph(c);
    if (c < 128) e = &mLowChars[c];
    else
    {
      auto it = std::lower_bound(mExtraChars.begin(), mExtraChars.end(), c,
                                 [](const charEnt& a, unsigned short k) { return a.mChar < k; });
      e = it != mExtraChars.end() && it->mChar == c ? &*it : nullptr;
    }
  }
  return e && e->mPos > 0 ? e : nullptr;
}

bool LICE_CachedFont::RenderGlyph(unsigned short c)
{
  charEnt* e;
  if (c < 128) e = &mLowChars[c];
  else
  {
    if (mFlags & LICE_FONT_FLAG_PRECALCALL) return false;
    auto it = std::lower_bound(mExtraChars.begin(), mExtraChars.end(), c,
                               [](const charEnt& a, unsigned short k) { return a.mChar < k; });
    if (it == mExtraChars.end() || it->mChar != c) it = mExtraChars.insert(it, charEnt());
    e = &*it;
  }
  *e = charEnt();
  e->mChar = c;
  e->mPos = -1;
  if (!mFont || mLineHeight >= 1024 || mLineHeight < 1) return false;

  std::string s;
  SWELL_AppendUTF8(s, c);
  const int margin = mLineHeight / 16 + 2;
  std::vector<unsigned char> cov;
  int w = 0, h = 0, adv = 0;
  {
    std::lock_guard<std::mutex> lock(gLiceTextLock);
    LICE_SysBitmap* bm = LICE_TextRenderBitmap(2 * mLineHeight + 8);
    HDC dc = bm->getDC();
    if (!dc) return false;
    HGDIOBJ old = SelectObject(dc, mFont);
    RECT r = {0, 0, 0, 0};
    SWELL_DrawText(dc, s.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    adv = r.right;
    // Room on both sides for parts of the glyph outside its advance.
    w = std::min(bm->getWidth(), adv + 2 * margin + mLineHeight / 2);
    h = std::min(bm->getHeight(), r.bottom);
    if (w > 0 && h > 0)
    {
      LICE_ClearRect(bm, 0, 0, w, h);
      RECT dr = {margin, 0, w, h};
      SWELL_DrawText(dc, s.c_str(), -1, &dr, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
      cov.resize(static_cast<size_t>(w) * h);
      const LICE_pixel* px = bm->getBits();
      const int span = bm->getRowSpan();
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          cov[static_cast<size_t>(y) * w + x] =
              static_cast<unsigned char>(LICE_GETR(px[static_cast<size_t>(y) * span + x]));
    }
    if (old) SelectObject(dc, old);
    else SWELL_ClearFont(dc);
  }
  if (w <= 0 || h <= 0)
  {
    e->mPos = 1 + static_cast<int>(mCacheStore.size());
    e->mAdvance = std::max(adv, 0);
    return true;
  }
  if (mFlags & LICE_FONT_FLAG_FX_BLUR) Blur(cov, w, h);
  if (mFlags & LICE_FONT_FLAG_FX_INVERT)
    for (unsigned char& v : cov) v = static_cast<unsigned char>(255 - v);

  int first = w, last = -1;
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y)
      if (cov[static_cast<size_t>(y) * w + x])
      {
        first = std::min(first, x);
        last = std::max(last, x);
        break;
      }
  const int mw = last >= first ? last - first + 1 : 0;
  const size_t at = mCacheStore.size();
  const size_t need = at + static_cast<size_t>(mw) * h;
  if (need > mCacheStore.capacity()) mCacheStore.reserve((need / 65536 + 1) * 65536);
  mCacheStore.resize(need);
  for (int y = 0; y < h && mw; ++y)
    std::memcpy(&mCacheStore[at + static_cast<size_t>(y) * mw], &cov[static_cast<size_t>(y) * w + first],
                static_cast<size_t>(mw));
  e->mPos = 1 + static_cast<int>(at);
  e->mWidth = mw;
  e->mHeight = mw ? h : 0;
  e->mAdvance = adv;
  e->mLeftBearing = mw ? margin - first : 0;
  return true;
}

bool LICE_CachedFont::DrawGlyph(LICE_IBitmap* bm, unsigned short c, int xpos, int ypos, RECT* clipR)
{
  const charEnt* e = FindGlyph(c);
  return e && DrawGlyphAt(bm, e, xpos, ypos, clipR, mCombineOpacity);
}

bool LICE_CachedFont::DrawGlyphAt(LICE_IBitmap* bm, const charEnt* e, int xpos, int ypos,
                                  const RECT* clip, float opacity)
{
  if (!bm || !e->mWidth || !e->mHeight) return false;
  LICE_pixel* bits = bm->getBits();
  if (!bits) return false;
  const long long gx = static_cast<long long>(xpos) - e->mLeftBearing, gy = ypos;
  long long l = std::max<long long>(gx, 0), t = std::max<long long>(gy, 0);
  long long r = std::min<long long>(gx + e->mWidth, bm->getWidth());
  long long b = std::min<long long>(gy + e->mHeight, bm->getHeight());
  if (clip)
  {
    l = std::max<long long>(l, clip->left);
    t = std::max<long long>(t, clip->top);
    r = std::min<long long>(r, clip->right);
    b = std::min<long long>(b, clip->bottom);
  }
  if (l >= r || t >= b) return false;

  if (mBkMode == OPAQUE)
    LICE_FillRect(bm, static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                  static_cast<int>(b - t), mBg, opacity, mCombineMode & ~LICE_BLIT_USE_ALPHA);

  const int op = mCombineMode & LICE_BLIT_MODE_MASK;
  if (op > LICE_BLIT_MODE_HSVADJ) return false;
  const int W = LICE_Weight(opacity);
  const unsigned char* mask = mCacheStore.data() + (e->mPos - 1);
  const int span = bm->getRowSpan();
  const bool flipped = bm->isFlipped();
  const int H = bm->getHeight();
  const bool mono = (mFlags & LICE_FONT_FLAG_FX_MONO) != 0;
  const bool effect = (mFlags & (LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE)) != 0;

  if (mono && op == LICE_BLIT_MODE_COPY && opacity == 1.0f)
  {
    // Exact opacity 1 with Copy stores the colours' whole pixel values.
    for (long long y = t; y < b; ++y)
    {
      const unsigned char* m = mask + (y - gy) * e->mWidth;
      LICE_pixel* row = bits + (flipped ? H - 1 - y : y) * span;
      for (long long x = l; x < r; ++x)
      {
        const unsigned f = m[x - gx];
        if (f) row[x] = effect && f != 255 ? mEffectColor : mFg;
      }
    }
    return true;
  }

  // Every weight below lies in 1..256 for W > 0, where the unclamped
  // combiners hold; a negative W needs the clamped ones.
  return LICE_SelectCombiner(op, W > 0 ? 128 : W, W <= 0, [&](auto tag) {
    using C = typename decltype(tag)::type;
    const int fr = static_cast<int>(LICE_GETR(mFg)), fg = static_cast<int>(LICE_GETG(mFg)),
              fb = static_cast<int>(LICE_GETB(mFg));
    const int er = static_cast<int>(LICE_GETR(mEffectColor)),
              eg = static_cast<int>(LICE_GETG(mEffectColor)),
              eb = static_cast<int>(LICE_GETB(mEffectColor));
    for (long long y = t; y < b; ++y)
    {
      const unsigned char* m = mask + (y - gy) * e->mWidth;
      LICE_pixel* row = bits + (flipped ? H - 1 - y : y) * span;
      for (long long x = l; x < r; ++x)
      {
        const int f = m[x - gx];
        if (!f) continue;
        int wt;
        if (mono) wt = std::min(W, 256);
        else wt = W == 256 ? f + 1 : std::min(W * f / 256, 256);
        if (!wt) continue;
        LICE_pixel_chan* d = reinterpret_cast<LICE_pixel_chan*>(row + x);
        if (effect && f != 255) C::doPix(d, er, eg, eb, 255, wt);
        else C::doPix(d, fr, fg, fb, 255, wt);
      }
    }
  });
}

int LICE_CachedFont::DrawGlyphs(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                                int dtFlags)
{
  const std::vector<unsigned short> text = Decode(str, strcnt, (dtFlags & DT_SINGLELINE) != 0);
  const bool vertical = (mFlags & LICE_FONT_FLAG_VERTICAL) != 0;
  const bool upward = vertical && (mFlags & LICE_FONT_FLAG_VERTICAL_BOTTOMUP);
  const int lineStep = mLineHeight + mLineSpacing;

  // Measuring along the text (a) and across the lines (c); for horizontal
  // fonts a is x and c is y.
  long long extentA = 0, extentC = 0;
  {
    long long a = 0, c = 0;
    for (unsigned short ch : text)
    {
      if (ch == '\n')
      {
        a = 0;
        c += lineStep;
        continue;
      }
      const charEnt* e = FindGlyph(ch);
      if (!e) continue;
      if (vertical)
      {
        a += e->mAdvance;
        extentA = std::max(extentA, a);
        extentC = std::max(extentC, c + e->mWidth);
      }
      else
      {
        extentA = std::max(extentA, a - e->mLeftBearing + e->mWidth);
        a += e->mAdvance;
        extentA = std::max(extentA, a);
        extentC = std::max(extentC, c + e->mHeight);
      }
    }
  }
  const int tw = static_cast<int>(std::min<long long>(vertical ? extentC : extentA, 1 << 30));
  const int th = static_cast<int>(std::min<long long>(vertical ? extentA : extentC, 1 << 30));
  if (dtFlags & DT_CALCRECT)
  {
    rect->right = rect->left + tw;
    rect->bottom = rect->top + th;
    return vertical ? tw : th;
  }
  if (!bm) return 0;

  float opacity = mCombineOpacity;
  if (dtFlags & LICE_DT_USEFGALPHA) opacity *= static_cast<float>(LICE_GETA(mFg)) / 255.0f;
  if (LICE_Weight(opacity) == 0) return 0;

  long long x0 = rect->left, y0 = rect->top;
  if (dtFlags & DT_CENTER) x0 += (static_cast<long long>(rect->right) - rect->left - tw) / 2;
  else if (dtFlags & DT_RIGHT) x0 = static_cast<long long>(rect->right) - tw;
  if (dtFlags & DT_VCENTER) y0 += (static_cast<long long>(rect->bottom) - rect->top - th) / 2;
  else if (dtFlags & DT_BOTTOM) y0 = static_cast<long long>(rect->bottom) - th;

  RECT clip = {0, 0, bm->getWidth(), bm->getHeight()};
  if (!(dtFlags & DT_NOCLIP))
  {
    clip.left = std::max(clip.left, rect->left);
    clip.top = std::max(clip.top, rect->top);
    clip.right = std::min(clip.right, rect->right);
    clip.bottom = std::min(clip.bottom, rect->bottom);
  }
  if (clip.left >= clip.right || clip.top >= clip.bottom) return 0;

  long long a = 0, c = 0;
  for (unsigned short ch : text)
  {
    if (ch == '\n')
    {
      a = 0;
      c += lineStep;
      continue;
    }
    const charEnt* e = FindGlyph(ch);
    if (!e) continue;
    long long px, py;
    if (!vertical) px = x0 + a, py = y0 + c;
    else if (upward) px = x0 + c, py = y0 + th - a - e->mAdvance;
    else px = x0 + c, py = y0 + a;
    if (px > -(1LL << 30) && px < (1LL << 30) && py > -(1LL << 30) && py < (1LL << 30))
      DrawGlyphAt(bm, e, static_cast<int>(px + (vertical ? e->mLeftBearing : 0)),
                  static_cast<int>(py), &clip, opacity);
    a += e->mAdvance;
  }
  return vertical ? tw : th;
}

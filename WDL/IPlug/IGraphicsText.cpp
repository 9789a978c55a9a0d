// IGraphics: text drawing and measuring over the process-wide font cache.
#include "IGraphics.h"

#include "lice_text.h"

#include <cstring>
#include <mutex>
#include <vector>

namespace
{
// One cached font per distinct (size, orientation, style, name), shared by
// every editor of the module and deleted when it unloads. The mutex guards
// the list and also every use of a cached font: a font keeps mutable state
// (colour, glyph cache) and editors draw on their own GUI threads.
class FontStorage
{
public:
  struct Entry
  {
    int size, orientation, style;
    char name[36];
    LICE_IFont* font;
  };

  ~FontStorage()
  {
    for (Entry& e : mEntries) delete e.font;
  }

  LICE_IFont* Find(const IText* pTxt) const
  {
    for (const Entry& e : mEntries)
      if (e.size == pTxt->mSize && e.orientation == pTxt->mOrientation &&
          e.style == (int)pTxt->mStyle && !strncmp(e.name, pTxt->mFont, sizeof(e.name)))
        return e.font;
    return nullptr;
  }

  void Add(LICE_IFont* font, const IText* pTxt)
  {
    Entry e = {pTxt->mSize, pTxt->mOrientation, (int)pTxt->mStyle, {}, font};
    strncpy(e.name, pTxt->mFont, sizeof(e.name) - 1);
    mEntries.push_back(e);
  }

  std::mutex mMutex;

private:
  std::vector<Entry> mEntries;
};

FontStorage s_fontCache;

int NativeQuality(IText::EQuality q)
{
  switch (q)
  {
    case IText::kQualityDefault: return DEFAULT_QUALITY;
    case IText::kQualityNonAntiAliased: return NONANTIALIASED_QUALITY;
    default: return ANTIALIASED_QUALITY;
  }
}

HFONT MakeNativeFont(const IText* pTxt, int h)
{
  const int esc = 10 * pTxt->mOrientation;
  const int weight = pTxt->mStyle == IText::kStyleBold ? FW_BOLD : FW_NORMAL;
  const int italic = pTxt->mStyle == IText::kStyleItalic ? 1 : 0;
  return CreateFont(h < 2 ? 2 : h, 0, esc, esc, weight, italic, 0, 0, 0, 0, 0,
                    NativeQuality(pTxt->mQuality), 0, pTxt->mFont);
}

// Caller holds s_fontCache.mMutex.
LICE_IFont* CacheFontLocked(IText* pTxt)
{
  LICE_IFont* font = s_fontCache.Find(pTxt);
  if (!font)
  {
    // The font owns its native font and draws natively where it can.
    const int flags = LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE;
    const int h = pTxt->mSize;
    HFONT hFont = MakeNativeFont(pTxt, h);
    if (!hFont) return nullptr;
    auto* cached = new LICE_CachedFont;
    cached->SetFromHFont(hFont, flags);
    const int lineHeight = cached->GetLineHeight();
    if (lineHeight > 0 && lineHeight != h)
    {
      // Once more at the size whose line height comes closest to the one asked for.
      if (HFONT scaled = MakeNativeFont(pTxt, (int)((double)h * h / lineHeight + 0.5)))
        cached->SetFromHFont(scaled, flags);
    }
    s_fontCache.Add(cached, pTxt);
    font = cached;
  }
  pTxt->mCached = font;
  return font;
}
} // namespace

LICE_IFont* IGraphics::CacheFont(IText* pTxt)
{
  std::lock_guard<std::mutex> lock(s_fontCache.mMutex);
  return CacheFontLocked(pTxt);
}

bool IGraphics::MeasureIText(IText* pTxt, const char* str, IRECT* pR)
{
  return DrawIText(pTxt, str, pR, true);
}

bool IGraphics::DrawIText(IText* pTxt, const char* str, IRECT* pR, bool measure)
{
  if (!str || !str[0]) return true;
  std::lock_guard<std::mutex> lock(s_fontCache.mMutex);
  LICE_IFont* font = pTxt->mCached ? pTxt->mCached : CacheFontLocked(pTxt);
  if (!font) return false;

  font->SetTextColor(pTxt->mColor.Pixel());
  int fmt = DT_NOCLIP;
  if (pTxt->mColor.A < 255) fmt |= LICE_DT_USEFGALPHA;
  if (pTxt->mAlign == IText::kAlignCenter)
    fmt |= DT_CENTER;
  else if (pTxt->mAlign == IText::kAlignFar)
    fmt |= DT_RIGHT;

  if (measure)
  {
    RECT r = {0, 0, 0, 0};
    font->DrawText(mDrawBitmap, str, -1, &r, fmt | DT_CALCRECT);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (pTxt->mAlign == IText::kAlignCenter)
    {
      pR->L = (int)pR->MW() - w / 2;
      pR->R = pR->L + w;
    }
    else if (pTxt->mAlign == IText::kAlignFar)
    {
      pR->L = pR->R - w;
      pR->R = pR->L + w;
    }
    else
    {
      pR->R = pR->L + w;
    }
    pR->B = pR->T + h;
    return true;
  }

  RECT r = {pR->L, pR->T, pR->R, pR->B};
  font->DrawText(mDrawBitmap, str, -1, &r, fmt);
  return true;
}

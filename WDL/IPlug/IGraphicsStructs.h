#pragma once
// The editor's plain records: rectangles, colours, blend choices, pictures,
// text styles and mouse modifiers. Values, copied freely; IBitmap and IText
// only borrow what their pointers point at.

#include <cstring>

class LICE_IBitmap;
class LICE_IFont;

// A colour as four channels 0-255.
struct IColor
{
  int A, R, G, B;
  IColor(int a = 255, int r = 0, int g = 0, int b = 0) : A(a), R(r), G(g), B(b) {}
  bool operator==(const IColor& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColor& o) const { return !(*this == o); }
  // 0xAARRGGBB, each channel masked to 8 bits.
  unsigned int Pixel() const
  {
    return ((unsigned)(A & 0xff) << 24) | ((unsigned)(R & 0xff) << 16) |
           ((unsigned)(G & 0xff) << 8) | (unsigned)(B & 0xff);
  }
};

const IColor COLOR_TRANSPARENT(0, 0, 0, 0);
const IColor COLOR_BLACK(255, 0, 0, 0);
const IColor COLOR_GRAY(255, 127, 127, 127);
const IColor COLOR_WHITE(255, 255, 255, 255);
const IColor COLOR_RED(255, 255, 0, 0);
const IColor COLOR_GREEN(255, 0, 255, 0);
const IColor COLOR_BLUE(255, 0, 0, 255);
const IColor COLOR_YELLOW(255, 255, 255, 0);
const IColor COLOR_ORANGE(255, 255, 127, 0);
const IColor DEFAULT_TEXT_COLOR = COLOR_BLACK;
const IColor DEFAULT_TEXT_ENTRY_BGCOLOR = COLOR_WHITE;
const IColor DEFAULT_TEXT_ENTRY_FGCOLOR = COLOR_BLACK;

// How a control composites onto the drawing bitmap; weight 1.0 is opaque.
struct IChannelBlend
{
  enum EBlendMethod
  {
    kBlendNone = 0,
    kBlendClobber = 1,
    kBlendAdd = 2,
    kBlendColorDodge = 3
  };
  EBlendMethod mMethod;
  float mWeight;
  IChannelBlend(EBlendMethod method = kBlendNone, float weight = 1.0f)
      : mMethod(method), mWeight(weight)
  {
  }
};

// A picture from the bitmap cache (which owns mData) with its frame layout:
// N frames stacked top to bottom, or side by side when mFramesAreHorizontal.
struct IBitmap
{
  LICE_IBitmap* mData;
  int W, H, N;
  bool mFramesAreHorizontal;
  IBitmap(LICE_IBitmap* pData = nullptr, int w = 0, int h = 0, int n = 1,
          bool framesAreHorizontal = false)
      : mData(pData), W(w), H(h), N(n < 1 ? 1 : n), mFramesAreHorizontal(framesAreHorizontal)
  {
  }
  int FrameWidth() const { return mFramesAreHorizontal ? W / N : W; }
  int FrameHeight() const { return mFramesAreHorizontal ? H : H / N; }
};

// A text style. mCached is the font the container's font cache made for it
// (null until the text is first drawn; owned by the cache).
struct IText
{
  static constexpr int kMaxFontLen = 32;
  enum EStyle
  {
    kStyleNormal = 0,
    kStyleBold = 1,
    kStyleItalic = 2
  };
  enum EAlign
  {
    kAlignNear = 0,
    kAlignCenter = 1,
    kAlignFar = 2
  };
  enum EQuality
  {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3
  };

  char mFont[kMaxFontLen];
  int mSize;
  IColor mColor;
  IColor mTextEntryBGColor;
  IColor mTextEntryFGColor;
  EStyle mStyle;
  EAlign mAlign;
  int mOrientation; // degrees
  EQuality mQuality;
  LICE_IFont* mCached = nullptr;

  // Null colours take the defaults; a null or empty font name is "Monaco".
  IText(int size = 10, const IColor* pColor = nullptr, const char* font = nullptr,
        EStyle style = kStyleNormal, EAlign align = kAlignCenter, int orientation = 0,
        EQuality quality = kQualityDefault, const IColor* pTEBGColor = nullptr,
        const IColor* pTEFGColor = nullptr)
      : mSize(size), mColor(pColor ? *pColor : DEFAULT_TEXT_COLOR),
        mTextEntryBGColor(pTEBGColor ? *pTEBGColor : DEFAULT_TEXT_ENTRY_BGCOLOR),
        mTextEntryFGColor(pTEFGColor ? *pTEFGColor : DEFAULT_TEXT_ENTRY_FGCOLOR), mStyle(style),
        mAlign(align), mOrientation(orientation), mQuality(quality)
  {
    const char* name = (font && *font) ? font : "Monaco";
    std::strncpy(mFont, name, kMaxFontLen - 1);
    mFont[kMaxFontLen - 1] = '\0';
  }
  explicit IText(const IColor* pColor) : IText(10, pColor) {}
};

// Mouse buttons and modifier keys: left, right, shift, control, option/alt.
struct IMouseMod
{
  bool L, R, S, C, A;
  IMouseMod(bool l = false, bool r = false, bool s = false, bool c = false, bool a = false)
      : L(l), R(r), S(s), C(c), A(a)
  {
  }
};

// A rectangle in pixels; right and bottom are exclusive. All zero is empty.
struct IRECT
{
  int L, T, R, B;

  IRECT() : L(0), T(0), R(0), B(0) {}
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}
  // One frame of pBitmap with its top-left corner at (x, y).
  IRECT(int x, int y, const IBitmap* pBitmap)
      : L(x), T(y), R(x + pBitmap->FrameWidth()), B(y + pBitmap->FrameHeight())
  {
  }

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  void Clear() { L = T = R = B = 0; }
  bool operator==(const IRECT& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRECT& o) const { return !(*this == o); }

  int W() const { return R - L; }
  int H() const { return B - T; }
  float MW() const { return 0.5f * (float)(L + R); }
  float MH() const { return 0.5f * (float)(T + B); }

  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }
  bool Contains(const IRECT* p) const
  {
    return !Empty() && !p->Empty() && p->L >= L && p->R <= R && p->T >= T && p->B <= B;
  }
  // Touching on the right or bottom edge counts as intersecting.
  bool Intersects(const IRECT* p) const
  {
    return !Empty() && !p->Empty() && R >= p->L && L < p->R && B >= p->T && T < p->B;
  }
  IRECT Intersect(const IRECT* p) const
  {
    if (!Intersects(p)) return IRECT();
    return IRECT(L > p->L ? L : p->L, T > p->T ? T : p->T, R < p->R ? R : p->R,
                 B < p->B ? B : p->B);
  }
  IRECT Union(const IRECT* p) const
  {
    if (Empty()) return *p;
    if (p->Empty()) return *this;
    return IRECT(L < p->L ? L : p->L, T < p->T ? T : p->T, R > p->R ? R : p->R,
                 B > p->B ? B : p->B);
  }
  // The i-th of n equal columns (rows), edges computed in float and truncated.
  IRECT SubRectHorizontal(int n, int i) const
  {
    const float w = (float)W() / (float)n;
    const int l = L + (int)(w * (float)i);
    return IRECT(l, T, (int)((float)l + w), B);
  }
  IRECT SubRectVertical(int n, int i) const
  {
    const float h = (float)H() / (float)n;
    const int t = T + (int)(h * (float)i);
    return IRECT(L, t, R, (int)((float)t + h));
  }
};

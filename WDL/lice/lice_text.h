#pragma once
// Text in bitmaps. LICE_CachedFont measures and draws with a native font
// (swell.h) in one of two ways: handing the string to the native text engine,
// or rendering each character once into an 8-bit coverage mask, caching it
// and compositing the masks itself with the blend modes of lice.h.
//
// A font is used by one thread at a time ([any] means any single thread);
// the rendering bitmaps all cached fonts share are guarded inside.

#include "lice_bitmap.h"
#include "swell.h"

#include <vector>

// Font flags (SetFromHFont).
#define LICE_FONT_FLAG_VERTICAL 1          // characters advance downward
#define LICE_FONT_FLAG_VERTICAL_BOTTOMUP 2 // with VERTICAL: upward instead
#define LICE_FONT_FLAG_PRECALCALL 4        // render 0-127 at once, never above 127
#define LICE_FONT_FLAG_FX_BLUR 0x10
#define LICE_FONT_FLAG_FX_INVERT 0x20
#define LICE_FONT_FLAG_FX_MONO 0x40        // no intermediate coverage levels
#define LICE_FONT_FLAG_FX_SHADOW 0x80      // with OUTLINE: partial coverage
#define LICE_FONT_FLAG_FX_OUTLINE 0x100    //   takes the effect colour
#define LICE_FONT_FLAG_OWNS_HFONT 0x200    // deletes the native font it holds
#define LICE_FONT_FLAG_FORCE_NATIVE 0x400  // draw natively when possible

// DrawText format flag beside the DT_ ones of swell.h: the combine opacity
// is multiplied by the text colour's alpha / 255 (never drawn natively).
#define LICE_DT_USEFGALPHA 0x40000000

class LICE_IFont
{
public:
  virtual ~LICE_IFont() {}

  // [any] Adopts font with the flags above; every cached glyph is forgotten.
  virtual void SetFromHFont(HFONT font, int flags = 0) = 0;
  // [any] Each returns the previous value.
  virtual LICE_pixel SetTextColor(LICE_pixel color) = 0;
  virtual LICE_pixel SetBkColor(LICE_pixel color) = 0;
  virtual LICE_pixel SetEffectColor(LICE_pixel color) = 0;
  virtual int SetBkMode(int mode) = 0;
  // [any] Blend-mode word and opacity of the glyph path (lice.h).
  virtual void SetCombineMode(int mode, float alpha = 1.0f) = 0;
  // [any] Draws (or with DT_CALCRECT measures, setting rect's right and
  // bottom) strcnt bytes of str (all of it when negative). Returns the
  // text's height (width for vertical fonts); 0 when nothing was drawn.
  virtual int DrawText(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect,
                       int dtFlags) = 0;
  virtual LICE_pixel GetTextColor() = 0;
  // [any] The native font; owned by the font only with OWNS_HFONT.
  virtual HFONT GetHFont() = 0;
  virtual int GetLineHeight() = 0;
};

class LICE_CachedFont : public LICE_IFont
{
public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;
  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  void SetFromHFont(HFONT font, int flags = 0) override;
  LICE_pixel SetTextColor(LICE_pixel color) override;
  LICE_pixel SetBkColor(LICE_pixel color) override;
  LICE_pixel SetEffectColor(LICE_pixel color) override;
  int SetBkMode(int mode) override;
  void SetCombineMode(int mode, float alpha = 1.0f) override;
  int DrawText(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, int dtFlags) override;
  LICE_pixel GetTextColor() override { return mFg; }
  HFONT GetHFont() override { return mFont; }
  int GetLineHeight() override { return mLineHeight; }

  // [any] Composites the cached mask of character c (rendered now when
  // missing) with its pen position at (xpos, ypos), clipped to clipR.
  // False when there is no glyph or nothing could be drawn.
  virtual bool DrawGlyph(LICE_IBitmap* bm, unsigned short c, int xpos, int ypos, RECT* clipR);

  // [any] Pixels added between lines of multi-line text by the glyph path.
  void SetLineSpacing(int spacing) { mLineSpacing = spacing; }

  // One cached character.
  struct charEnt
  {
    int mPos;            // 1 + offset of the mask in mCacheStore; 0 not rendered, < 0 no glyph
    int mWidth, mHeight; // mask size
    int mAdvance;        // pixels to the next character
    unsigned short mChar; // sort key of mExtraChars
    int mLeftBearing;    // pixels the mask starts left of the pen
  };

protected:
  // The entry for c, rendered first when needed; null when c has no glyph.
  charEnt* FindGlyph(unsigned short c);
  bool RenderGlyph(unsigned short c);
  int DrawNative(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, int dtFlags);
  int DrawGlyphs(LICE_IBitmap* bm, const char* str, int strcnt, RECT* rect, int dtFlags);
  void ForgetGlyphs();
  bool DrawGlyphAt(LICE_IBitmap* bm, const charEnt* e, int xpos, int ypos, const RECT* clip,
                   float opacity);

  LICE_pixel mFg = 0;
  LICE_pixel mBg = 0xFFFFFFFF;
  LICE_pixel mEffectColor = 0xFFFFFFFF;
  int mCombineMode = 0;
  float mCombineOpacity = 1.0f;
  int mBkMode = 0;
  int mFlags = 0;
  int mLineHeight = 0;
  int mLineSpacing = 0;
  HFONT mFont = nullptr;
  charEnt mLowChars[128] = {};
  std::vector<charEnt> mExtraChars;      // sorted by mChar
  std::vector<unsigned char> mCacheStore; // capacity grows by 65536 bytes
};

#pragma once
// The native text engine behind font objects: a FreeType face at one size,
// its HarfBuzz font for laying out lines, and a cache of rendered glyphs.

#include <hb.h>

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

typedef struct FT_FaceRec_* FT_Face;

struct SWELL_FontFace
{
  FT_Face mFace = nullptr;
  hb_font_t* mHb = nullptr;
  bool mMono = false; // rendered without antialiasing
  float mAscent = 0.0f, mDescent = 0.0f, mLeading = 0.0f; // pixels

  // One rendered glyph: coverage 0-255, top-left corner relative to the pen
  // on the baseline (top grows upward, as FreeType gives it).
  struct Raster
  {
    int mLeft, mTop, mWidth, mHeight;
    size_t mOffset; // into mStore
  };
  // Guards the face, the HarfBuzz font and the glyph cache: a font may be
  // measured on several threads at once (the default font always is shared).
  std::mutex mLock;
  std::unordered_map<unsigned, Raster> mGlyphs;
  std::vector<unsigned char> mStore;
  int mRasterCount = 0; // glyphs rendered so far (each once)
  hb_buffer_t* mBuf = nullptr; // reused for every line laid out
  // Shaped lines of the last call, kept so that drawing allocates nothing
  // once a label has been drawn.
  struct Glyph
  {
    unsigned mId;
    int mX;       // pen position in 1/64 pixel from the line's start
    int mDx, mDy; // HarfBuzz offsets, 1/64 pixel
  };
  struct Line
  {
    std::vector<Glyph> mGlyphs;
    double mWidth = 0.0; // typographic width in pixels
  };
  std::vector<Line> mLines;
};

// [any] A face for the requested name (" Bold" / " Italic" suffixes ask for
// weight and slant) at size pixels per em; falls back to the system
// sans-serif; null when no font can be loaded at all.
SWELL_FontFace* SWELL_CreateFace(const char* name, float size, bool mono);
// [any] Null is ignored.
void SWELL_DestroyFace(SWELL_FontFace* face);
// [any] The face of the default font (sans-serif, 10 points), made once and
// kept for the life of the process; null when there is no font at all.
SWELL_FontFace* SWELL_DefaultFace();
// [any] The glyph's raster, rendered on first use. Caller holds face->mLock.
const SWELL_FontFace::Raster* SWELL_GetRaster(SWELL_FontFace* face, unsigned glyph);

// [any] Resolves a requested font name to a font file and face index through
// fontconfig, caching the answer under its own mutex. False when fontconfig
// has nothing to offer.
bool SWELL_ResolveFontName(const std::string& name, std::string* file, int* index);

struct HDC__;
// [any] The face text in ctx is drawn with: the selected font's, else the
// default font's (also for a null context); null when there is no font.
SWELL_FontFace* SWELL_ContextFace(HDC__* ctx);

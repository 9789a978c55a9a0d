// Font objects: CreateFont, the FreeType faces behind them, their glyph
// cache, and GetTextMetrics.

#include "swell.h"
#include "swell-font.h"
#include "swell-internal.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>

#include <cmath>
#include <cstring>
#include <new>

namespace
{
// FreeType wants creation and destruction of faces in one library serialised;
// each face is then used under its own lock.
std::mutex sLibraryLock;
FT_Library Library()
{
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l)) l = nullptr;
    return l;
  }();
  return lib;
}

SWELL_FontFace* LoadFace(const std::string& file, int index, float size, bool mono)
{
  std::lock_guard<std::mutex> lock(sLibraryLock);
  FT_Library lib = Library();
  if (!lib) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, file.c_str(), index, &face)) return nullptr;
  const FT_F26Dot6 size26 = static_cast<FT_F26Dot6>(std::lround(size * 64.0f));
  if (FT_IS_SCALABLE(face) ? FT_Set_Char_Size(face, 0, size26, 72, 72)
                           : (face->num_fixed_sizes < 1 || FT_Select_Size(face, 0)))
  {
    FT_Done_Face(face);
    return nullptr;
  }
  SWELL_FontFace* f = new (std::nothrow) SWELL_FontFace();
  if (!f)
  {
    FT_Done_Face(face);
    return nullptr;
  }
  f->mFace = face;
  f->mMono = mono;
  if (FT_IS_SCALABLE(face))
  {
    // Unrounded design metrics, so that measuring does not depend on hinting.
    const float scale = size / static_cast<float>(face->units_per_EM);
    f->mAscent = static_cast<float>(face->ascender) * scale;
    f->mDescent = -static_cast<float>(face->descender) * scale;
    f->mLeading = static_cast<float>(face->height) * scale - f->mAscent - f->mDescent;
  }
  else
  {
    const FT_Size_Metrics& m = face->size->metrics;
    f->mAscent = static_cast<float>(m.ascender) / 64.0f;
    f->mDescent = -static_cast<float>(m.descender) / 64.0f;
    f->mLeading = static_cast<float>(m.height) / 64.0f - f->mAscent - f->mDescent;
  }
  if (f->mLeading < 0.0f) f->mLeading = 0.0f;
  // hb_ft keeps its own reference to the face and drops it in
  // hb_font_destroy, which is therefore also called under sLibraryLock.
  f->mHb = hb_ft_font_create_referenced(face);
  f->mBuf = hb_buffer_create();
  return f;
}
} // namespace

SWELL_FontFace* SWELL_CreateFace(const char* name, float size, bool mono)
{
  std::string file;
  int index = 0;
  SWELL_FontFace* f = nullptr;
  if (name && *name && SWELL_ResolveFontName(name, &file, &index))
    f = LoadFace(file, index, size, mono);
  if (!f && SWELL_ResolveFontName(std::string(), &file, &index))
    f = LoadFace(file, index, size, mono);
  return f;
}

void SWELL_DestroyFace(SWELL_FontFace* face)
{
  if (!face) return;
  {
    std::lock_guard<std::mutex> lock(sLibraryLock);
    hb_buffer_destroy(face->mBuf);
    hb_font_destroy(face->mHb);
    FT_Done_Face(face->mFace);
  }
  delete face;
}

SWELL_FontFace* SWELL_DefaultFace()
{
  static SWELL_FontFace* face = SWELL_CreateFace("", 10.0f, false);
  return face;
}

const SWELL_FontFace::Raster* SWELL_GetRaster(SWELL_FontFace* f, unsigned glyph)
{
  auto it = f->mGlyphs.find(glyph);
  if (it != f->mGlyphs.end()) return &it->second;

  SWELL_FontFace::Raster r{0, 0, 0, 0, f->mStore.size()};
  const FT_Int32 load = FT_LOAD_DEFAULT | FT_LOAD_COLOR | (f->mMono ? FT_LOAD_TARGET_MONO : 0);
  if (!FT_Load_Glyph(f->mFace, glyph, load) &&
      !FT_Render_Glyph(f->mFace->glyph, f->mMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL))
  {
    const FT_GlyphSlot slot = f->mFace->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    r.mLeft = slot->bitmap_left;
    r.mTop = slot->bitmap_top;
    r.mWidth = static_cast<int>(bm.width);
    r.mHeight = static_cast<int>(bm.rows);
    const FT_Pixel_Mode mode = static_cast<FT_Pixel_Mode>(bm.pixel_mode);
    if (mode != FT_PIXEL_MODE_GRAY && mode != FT_PIXEL_MODE_MONO && mode != FT_PIXEL_MODE_BGRA)
      r.mWidth = r.mHeight = 0;
    f->mStore.resize(r.mOffset + static_cast<size_t>(r.mWidth) * static_cast<size_t>(r.mHeight));
    unsigned char* out = f->mStore.data() + r.mOffset;
    for (int y = 0; y < r.mHeight; ++y)
    {
      const unsigned char* row = bm.buffer + static_cast<long>(y) * bm.pitch;
      for (int x = 0; x < r.mWidth; ++x)
      {
        unsigned char c;
        if (mode == FT_PIXEL_MODE_GRAY)
          c = static_cast<unsigned char>(bm.num_grays == 256 ? row[x] : row[x] * 255 / (bm.num_grays - 1));
        else if (mode == FT_PIXEL_MODE_MONO) c = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        else c = row[x * 4 + 3]; // colour glyphs: their alpha is the coverage
        *out++ = c;
      }
    }
  }
  ++f->mRasterCount;
  return &f->mGlyphs.emplace(glyph, r).first->second;
}

HFONT CreateFont(int height, int width, int escapement, int, int weight, int italic, int, int,
                 int, int, int, int quality, int, const char* facename)
{
  // |INT_MIN| does not exist as an int; it is far outside the range anyway.
  const long long h = height, w = width;
  long long size = h ? (h < 0 ? -h : h) : (w < 0 ? -w : w);
  if (size < 2 || size > 8192) size = 10;

  std::string name;
  if (facename)
  {
    const size_t n = strnlen(facename, 900);
    name.assign(facename, n);
  }
  if (weight >= 700) name += " Bold";
  if (italic) name += " Italic";

  HGDIOBJ__* obj = new (std::nothrow) HGDIOBJ__();
  if (!obj) return nullptr;
  obj->mType = SWELL_kFont;
  obj->mSize = static_cast<float>(size);
  obj->mEscapement = static_cast<float>(escapement) / 10.0f;
  obj->mQuality = quality == 0 || quality == 3 || quality == 4 ? quality : 0;
  obj->mFace = SWELL_CreateFace(name.c_str(), obj->mSize, obj->mQuality == 3);
  if (!obj->mFace)
  {
    delete obj;
    return nullptr;
  }
  return obj;
}

SWELL_FontFace* SWELL_ContextFace(HDC ctx)
{
  HGDIOBJ f = ctx ? ctx->mCurFont : nullptr;
  return f && f->mFace ? f->mFace : SWELL_DefaultFace();
}

int GetTextMetrics(HDC ctx, TEXTMETRIC* tm)
{
  if (!tm) return 0;
  tm->tmHeight = 16;
  tm->tmAscent = 12;
  tm->tmDescent = 4;
  tm->tmInternalLeading = 3;
  tm->tmAveCharWidth = 10;
  if (!ctx) return 0;
  SWELL_FontFace* f = SWELL_ContextFace(ctx);
  if (!f) return 1;
  tm->tmInternalLeading = static_cast<int>(f->mLeading);
  tm->tmAscent = static_cast<int>(f->mAscent);
  tm->tmDescent = static_cast<int>(f->mDescent);
  const int sum = tm->tmInternalLeading + tm->tmAscent + tm->tmDescent;
  tm->tmAveCharWidth = sum * 2 / 3;
  tm->tmHeight = sum ? sum + 1 : 0;
  return 1;
}

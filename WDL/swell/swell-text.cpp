// SWELL_DrawText: preparing, laying out (HarfBuzz), measuring and drawing
// (FreeType rasters from the font's glyph cache) a string in a context.

#include "swell.h"
#include "swell-font.h"
#include "swell-internal.h"
#include "swell-utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
constexpr int kMaxChars = 4095;

// The text as it is measured and drawn: prefixes and carriage returns
// dropped, line feeds kept (or spaces in single-line mode), cut after
// kMaxChars bytes without splitting a UTF-8 sequence, then made UTF-8.
std::string PrepareText(const char* str, int len, int format)
{
  char buf[kMaxChars];
  int n = 0;
  bool cut = false;
  const bool single = (format & DT_SINGLELINE) != 0;
  for (int i = 0; (len < 0 || i < len) && str[i]; ++i)
  {
    char c = str[i];
    if (c == '&' && !(format & DT_NOPREFIX))
    {
      ++i;
      if ((len >= 0 && i >= len) || !str[i]) break;
      c = str[i];
    }
    if (c == '\r') continue;
    if (c == '\n' && single) c = ' ';
    if (n == kMaxChars)
    {
      cut = true;
      break;
    }
    buf[n++] = c;
  }
  if (cut)
  {
    // Drop a multi-byte sequence the cut left incomplete, so that a long
    // valid UTF-8 text is not misread as Latin-1 because of its last bytes.
    int lead = n - 1;
    while (lead > 0 && n - lead < 4 && (static_cast<unsigned char>(buf[lead]) & 0xC0) == 0x80)
      --lead;
    const unsigned char b = static_cast<unsigned char>(buf[lead]);
    const int need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (b >= 0xC0 && n - lead < need && SWELL_IsValidUTF8(buf, static_cast<size_t>(lead)))
      n = lead;
  }
  return SWELL_ToUTF8(buf, static_cast<size_t>(n));
}

using Glyph = SWELL_FontFace::Glyph;
using Line = SWELL_FontFace::Line;

// Caller holds face->mLock.
void Shape(SWELL_FontFace* f, const char* text, size_t len, Line* line)
{
  hb_buffer_t* buf = f->mBuf;
  hb_buffer_clear_contents(buf);
  hb_buffer_add_utf8(buf, text, static_cast<int>(len), 0, static_cast<int>(len));
  hb_buffer_guess_segment_properties(buf);
  hb_shape(f->mHb, buf, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
  long long pen = 0;
  line->mGlyphs.resize(count);
  for (unsigned i = 0; i < count; ++i)
  {
    line->mGlyphs[i] = Glyph{info[i].codepoint, static_cast<int>(pen), pos[i].x_offset,
                             pos[i].y_offset};
    pen += pos[i].x_advance;
  }
  // Right-to-left runs come out in visual order already; their advances add
  // up the same way.
  line->mWidth = static_cast<double>(pen) / 64.0;
}

struct Clip
{
  int l, t, r, b;
};

inline unsigned char Mix(unsigned dst, unsigned src, unsigned c)
{
  return static_cast<unsigned char>((src * c + dst * (255u - c) + 127u) / 255u);
}

// Positions are long long: rectangles near the int limits must not overflow.
void FillBox(HDC ctx, const Clip& clip, long long x, long long y, int w, int h, int color)
{
  const int l = static_cast<int>(std::max<long long>(x, clip.l));
  const int t = static_cast<int>(std::max<long long>(y, clip.t));
  const int r = static_cast<int>(std::min<long long>(x + w, clip.r));
  const int b = static_cast<int>(std::min<long long>(y + h, clip.b));
  uint32_t* px = static_cast<uint32_t*>(ctx->mBits);
  const uint32_t v = 0xFF000000u | (static_cast<uint32_t>(color) & 0xFFFFFFu);
  for (int yy = t; yy < b; ++yy)
    for (int xx = l; xx < r; ++xx) px[static_cast<long>(yy) * ctx->mWidth + xx] = v;
}

// Caller holds face->mLock.
void DrawLine(HDC ctx, SWELL_FontFace* f, const Clip& clip, const Line& line, long long x,
              long long baseline)
{
  unsigned char* bits = static_cast<unsigned char*>(ctx->mBits);
  const unsigned tc = static_cast<unsigned>(ctx->mTextColor);
  const unsigned tb = tc & 0xFF, tg = (tc >> 8) & 0xFF, tr = (tc >> 16) & 0xFF;
  for (const Glyph& g : line.mGlyphs)
  {
    const SWELL_FontFace::Raster* r = SWELL_GetRaster(f, g.mId);
    if (!r->mWidth) continue;
    // Whole-pixel pen positions: one raster per glyph serves every place.
    const long long gx =
        x + static_cast<long long>(std::floor((g.mX + g.mDx) / 64.0 + 0.5)) + r->mLeft;
    const long long gy =
        baseline - static_cast<long long>(std::floor(g.mDy / 64.0 + 0.5)) - r->mTop;
    const long long x0 = std::max<long long>(gx, clip.l), x1 = std::min<long long>(gx + r->mWidth, clip.r);
    const long long y0 = std::max<long long>(gy, clip.t), y1 = std::min<long long>(gy + r->mHeight, clip.b);
    const unsigned char* mask = f->mStore.data() + r->mOffset;
    for (long long yy = y0; yy < y1; ++yy)
    {
      const unsigned char* m = mask + (yy - gy) * r->mWidth;
      unsigned char* d = bits + (yy * ctx->mWidth) * 4;
      for (long long xx = x0; xx < x1; ++xx)
      {
        const unsigned c = m[xx - gx];
        if (!c) continue;
        unsigned char* p = d + xx * 4;
        p[0] = Mix(p[0], tb, c);
        p[1] = Mix(p[1], tg, c);
        p[2] = Mix(p[2], tr, c);
        p[3] = Mix(p[3], 255u, c);
      }
    }
  }
}
} // namespace

int SWELL_DrawText(HDC ctx, const char* str, int len, RECT* rect, int format)
{
  if (!ctx || !str || !rect) return 0;
  const std::string text = PrepareText(str, len, format);
  if (text.empty()) return 0;
  SWELL_FontFace* f = SWELL_ContextFace(ctx);
  if (!f) return 0;

  std::lock_guard<std::mutex> lock(f->mLock);
  std::vector<Line>& lines = f->mLines;
  size_t count = 0;
  size_t start = 0;
  for (;;)
  {
    const size_t nl = text.find('\n', start);
    const size_t n = (nl == std::string::npos ? text.size() : nl) - start;
    // A line feed at the very end opens no further line.
    if (nl == std::string::npos && n == 0 && count) break;
    if (lines.size() <= count) lines.emplace_back();
    Shape(f, text.data() + start, n, &lines[count++]);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  lines.resize(count);

  const double lineSum = static_cast<double>(f->mAscent) + f->mDescent + f->mLeading;
  const int lineHeight = static_cast<int>(std::floor(lineSum + 1.5));
  int width = 0;
  for (const Line& l : lines)
    width = std::max(width, static_cast<int>(std::floor(l.mWidth + 0.5)));
  int height = lineHeight * static_cast<int>(lines.size());
  if (height) ++height;

  if (format & DT_CALCRECT)
  {
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
    return height;
  }
  if (!ctx->mBits) return height;

  const long long L = rect->left, T = rect->top, R = rect->right, B = rect->bottom;
  long long x = L, y = T;
  if (format & DT_RIGHT) x = R - width;
  else if (format & DT_CENTER) x = L + (R - L) / 2 - width / 2;
  if (format & DT_BOTTOM) y = B - height;
  else if (format & DT_VCENTER) y = T + (B - T) / 2 - height / 2;

  Clip clip{0, 0, ctx->mWidth, ctx->mHeight};
  if (!(format & DT_NOCLIP))
  {
    clip.l = std::max(clip.l, rect->left);
    clip.t = std::max(clip.t, rect->top);
    clip.r = std::min(clip.r, rect->right);
    clip.b = std::min(clip.b, rect->bottom);
  }
  if (clip.l >= clip.r || clip.t >= clip.b) return height;

  const bool opaque = ctx->mBkMode == OPAQUE;
  const int ascent = static_cast<int>(std::floor(f->mAscent + 0.5));
  if (lines.size() == 1)
  {
    if (opaque) FillBox(ctx, clip, x, y, width, height, ctx->mBkColor);
    DrawLine(ctx, f, clip, lines[0], x, y + ascent);
  }
  else
  {
    const int step = static_cast<int>(std::floor(lineSum + 0.5));
    for (const Line& l : lines)
    {
      if (opaque)
        FillBox(ctx, clip, x, y, static_cast<int>(std::floor(l.mWidth + 0.5)), step,
                ctx->mBkColor);
      DrawLine(ctx, f, clip, l, x, y + ascent);
      y += step;
    }
  }
  return height;
}

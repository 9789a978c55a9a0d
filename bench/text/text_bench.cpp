// Microseconds to draw a 12-character label at 10 points into a 190 x 120
// bitmap after the first draw: natively and through the glyph path of
// LICE_CachedFont, and with HarfBuzz + FreeType used directly (shaping every
// time, rasters from a glyph cache kept here), so the framework's overhead
// shows as a ratio.

#include "lice.h"
#include "lice_text.h"

#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{
const char kLabel[] = "Quorvane 1.0"; // 12 characters
static_assert(sizeof(kLabel) == 13, "a 12-character label");

HFONT TenPoint()
{
  return CreateFont(10, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "sans-serif");
}

void DrawWithFont(benchmark::State& state, int fontFlags, int format, LICE_pixel color)
{
  LICE_SysBitmap bm(190, 120);
  LICE_Clear(&bm, 0xFF202020);
  LICE_CachedFont font;
  font.SetFromHFont(TenPoint(), fontFlags | LICE_FONT_FLAG_OWNS_HFONT);
  font.SetTextColor(color);
  RECT r = {10, 50, 180, 70};
  font.DrawText(&bm, kLabel, -1, &r, format); // first draw fills the caches
  for (auto _ : state)
  {
    RECT rr = r;
    benchmark::DoNotOptimize(font.DrawText(&bm, kLabel, -1, &rr, format));
    benchmark::ClobberMemory();
  }
}

void BM_LabelNative(benchmark::State& state)
{
  DrawWithFont(state, LICE_FONT_FLAG_FORCE_NATIVE, DT_NOCLIP | DT_CENTER, 0xFFE0E0E0);
}

void BM_LabelGlyphPath(benchmark::State& state)
{
  DrawWithFont(state, 0, DT_NOCLIP | DT_CENTER, 0xFFE0E0E0);
}

void BM_LabelGlyphPathTranslucent(benchmark::State& state)
{
  DrawWithFont(state, LICE_FONT_FLAG_FORCE_NATIVE, DT_NOCLIP | DT_CENTER | LICE_DT_USEFGALPHA,
               0x80E0E0E0);
}

// The same label with the libraries alone: the face fontconfig picks for
// sans-serif, shaped every time, glyphs rendered once into a map.
struct DirectText
{
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
  hb_font_t* hb = nullptr;
  hb_buffer_t* buf = hb_buffer_create();
  struct Glyph
  {
    int left, top, w, h;
    std::vector<unsigned char> cov;
  };
  std::unordered_map<unsigned, Glyph> cache;

  DirectText()
  {
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    FcPattern* m = FcFontMatch(nullptr, pat, &res);
    FcChar8* file = nullptr;
    FcPatternGetString(m, FC_FILE, 0, &file);
    FT_Init_FreeType(&lib);
    FT_New_Face(lib, reinterpret_cast<const char*>(file), 0, &face);
    FT_Set_Char_Size(face, 0, 10 * 64, 72, 72);
    hb = hb_ft_font_create_referenced(face);
    FcPatternDestroy(m);
    FcPatternDestroy(pat);
  }
  ~DirectText()
  {
    hb_buffer_destroy(buf);
    hb_font_destroy(hb);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
  }

  const Glyph& Get(unsigned gid)
  {
    auto it = cache.find(gid);
    if (it != cache.end()) return it->second;
    FT_Load_Glyph(face, gid, FT_LOAD_DEFAULT);
    FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
    const FT_Bitmap& b = face->glyph->bitmap;
    Glyph g{face->glyph->bitmap_left, face->glyph->bitmap_top, static_cast<int>(b.width),
            static_cast<int>(b.rows), {}};
    g.cov.resize(static_cast<size_t>(g.w) * g.h);
    for (int y = 0; y < g.h; ++y) std::memcpy(&g.cov[y * g.w], b.buffer + y * b.pitch, g.w);
    return cache.emplace(gid, std::move(g)).first->second;
  }

  void Draw(LICE_pixel* px, int span, int W, int H, int x, int baseline, LICE_pixel color)
  {
    hb_buffer_clear_contents(buf);
    hb_buffer_add_utf8(buf, kLabel, -1, 0, -1);
    hb_buffer_guess_segment_properties(buf);
    hb_shape(hb, buf, nullptr, 0);
    unsigned n = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &n);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &n);
    int pen = 0;
    const unsigned cr = (color >> 16) & 255, cg = (color >> 8) & 255, cb = color & 255;
    for (unsigned i = 0; i < n; ++i)
    {
      const Glyph& g = Get(info[i].codepoint);
      const int gx = x + (pen + 32) / 64 + g.left, gy = baseline - g.top;
      for (int yy = 0; yy < g.h; ++yy)
      {
        if (gy + yy < 0 || gy + yy >= H) continue;
        unsigned char* row = reinterpret_cast<unsigned char*>(px + (gy + yy) * span);
        for (int xx = 0; xx < g.w; ++xx)
        {
          const unsigned c = g.cov[yy * g.w + xx];
          if (!c || gx + xx < 0 || gx + xx >= W) continue;
          unsigned char* p = row + (gx + xx) * 4;
          p[0] = static_cast<unsigned char>((cb * c + p[0] * (255 - c) + 127) / 255);
          p[1] = static_cast<unsigned char>((cg * c + p[1] * (255 - c) + 127) / 255);
          p[2] = static_cast<unsigned char>((cr * c + p[2] * (255 - c) + 127) / 255);
          p[3] = static_cast<unsigned char>((255 * c + p[3] * (255 - c) + 127) / 255);
        }
      }
      pen += pos[i].x_advance;
    }
  }
};

void BM_LabelHarfBuzzFreeTypeDirect(benchmark::State& state)
{
  LICE_MemBitmap bm(190, 120);
  LICE_Clear(&bm, 0xFF202020);
  DirectText t;
  t.Draw(bm.getBits(), bm.getRowSpan(), 190, 120, 60, 60, 0xFFE0E0E0);
  for (auto _ : state)
  {
    t.Draw(bm.getBits(), bm.getRowSpan(), 190, 120, 60, 60, 0xFFE0E0E0);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_LabelNative)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LabelGlyphPath)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LabelGlyphPathTranslucent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LabelHarfBuzzFreeTypeDirect)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  benchmark::AddCustomContext("compile flags", QV_BENCH_FLAGS);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Draws Quorvane's editor pictures with the project's own bitmap and text
// code and writes them as PNG files:
//
//   make_pictures <folder>   writes Background.png, swapBtn.png, monoBtn.png
//   make_pictures <folder> <preview.png>
//                            also writes the panel with both switches off
//                            beside it with both on, three times enlarged
//
// The committed pictures under resources/img are this program's output, so
// anyone can change the artwork here and regenerate them. The switch
// pictures hold two frames stacked vertically: off above on.

#include <png.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "lice.h"
#include "lice_text.h"

namespace
{
// Panel geometry shared with the editor layout: the switches' positions are
// fixed by the product (13, 30) and (154, 36); these sizes centre both on the
// row y = 50 and keep them the same distance from the panel's edges.
constexpr int kPanelW = 190, kPanelH = 120;
constexpr int kSwapX = 13, kSwapY = 30, kSwapW = 23, kSwapH = 40;
constexpr int kMonoX = 154, kMonoY = 36, kMonoW = 23, kMonoH = 28;
constexpr int kLabelY = 76;

constexpr LICE_pixel kAmberLit = LICE_RGBA(255, 176, 64, 255);
constexpr LICE_pixel kAmberDark = LICE_RGBA(96, 66, 30, 255);

LICE_pixel Mix(LICE_pixel a, LICE_pixel b, float t)
{
  auto ch = [t](unsigned x, unsigned y) {
    return static_cast<unsigned>(std::lround(x + (static_cast<float>(y) - x) * t));
  };
  return LICE_RGBA(ch(LICE_GETR(a), LICE_GETR(b)), ch(LICE_GETG(a), LICE_GETG(b)),
                   ch(LICE_GETB(a), LICE_GETB(b)), ch(LICE_GETA(a), LICE_GETA(b)));
}

// A filled rectangle with rounded corners, edges antialiased by the circle
// fills.
void FillRounded(LICE_IBitmap* bm, int x, int y, int w, int h, int r, LICE_pixel c)
{
  LICE_FillRect(bm, x + r, y, w - 2 * r, h, c, 1.0f, LICE_BLIT_MODE_COPY);
  LICE_FillRect(bm, x, y + r, r, h - 2 * r, c, 1.0f, LICE_BLIT_MODE_COPY);
  LICE_FillRect(bm, x + w - r, y + r, r, h - 2 * r, c, 1.0f, LICE_BLIT_MODE_COPY);
  const float rr = static_cast<float>(r) - 0.5f;
  LICE_FillCircle(bm, x + rr, y + rr, rr, c, 1.0f, LICE_BLIT_MODE_COPY, true);
  LICE_FillCircle(bm, x + w - 1 - rr, y + rr, rr, c, 1.0f, LICE_BLIT_MODE_COPY, true);
  LICE_FillCircle(bm, x + rr, y + h - 1 - rr, rr, c, 1.0f, LICE_BLIT_MODE_COPY, true);
  LICE_FillCircle(bm, x + w - 1 - rr, y + h - 1 - rr, rr, c, 1.0f, LICE_BLIT_MODE_COPY, true);
}

// A vertical gradient from top to bottom colour over a rounded rectangle,
// drawn row by row inside a mask of the rounded shape.
void GradientRounded(LICE_IBitmap* bm, int x, int y, int w, int h, int r, LICE_pixel top,
                     LICE_pixel bottom)
{
  LICE_MemBitmap mask(w, h);
  LICE_Clear(&mask, 0);
  FillRounded(&mask, 0, 0, w, h, r, LICE_RGBA(255, 255, 255, 255));
  for (int row = 0; row < h; ++row)
  {
    const LICE_pixel c = Mix(top, bottom, h > 1 ? static_cast<float>(row) / (h - 1) : 0.0f);
    for (int col = 0; col < w; ++col)
    {
      const unsigned a = LICE_GETA(LICE_GetPixel(&mask, col, row));
      if (a) LICE_PutPixel(bm, x + col, y + row, c, a / 255.0f, LICE_BLIT_MODE_COPY);
    }
  }
}

class Text
{
public:
  Text(int size, bool bold)
  {
    mFont.SetFromHFont(CreateFont(size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, 0, 0, 0,
                                  ANTIALIASED_QUALITY, 0, "DejaVu Sans"),
                       LICE_FONT_FLAG_OWNS_HFONT);
  }
  // Centred on cx with its top at y; letter spacing in pixels between
  // characters, as engraved panel lettering has.
  void Centred(LICE_IBitmap* bm, const char* s, int cx, int y, LICE_pixel c, int spacing = 0)
  {
    mFont.SetTextColor(c);
    std::vector<int> widths;
    int total = 0;
    for (const char* p = s; *p; ++p)
    {
      RECT r{0, 0, 0, 0};
      mFont.DrawText(bm, p, 1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      widths.push_back(r.right - r.left);
      total += r.right - r.left + (p[1] ? spacing : 0);
    }
    int x = cx - total / 2;
    for (size_t i = 0; s[i]; ++i)
    {
      RECT r{x, y, x + widths[i] + 4, y + 40};
      mFont.DrawText(bm, s + i, 1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
      x += widths[i] + spacing;
    }
  }

private:
  LICE_CachedFont mFont;
};

void Screw(LICE_IBitmap* bm, float cx, float cy)
{
  LICE_FillCircle(bm, cx, cy, 3.2f, LICE_RGBA(14, 15, 18, 255), 1.0f, 0, true);
  LICE_FillCircle(bm, cx, cy, 2.6f, LICE_RGBA(96, 102, 112, 255), 1.0f, 0, true);
  LICE_FLine(bm, cx - 1.8f, cy + 1.2f, cx + 1.8f, cy - 1.2f, LICE_RGBA(30, 32, 36, 255), 1.0f, 0,
             true);
}

void DrawBackground(LICE_IBitmap* bm)
{
  // Brushed dark metal: a vertical gradient with a faint, fixed grain.
  unsigned seed = 0x51ed270bu;
  for (int y = 0; y < kPanelH; ++y)
  {
    const LICE_pixel row =
        Mix(LICE_RGBA(52, 57, 65, 255), LICE_RGBA(27, 30, 35, 255), y / (kPanelH - 1.0f));
    for (int x = 0; x < kPanelW; x += 6)
    {
      seed = seed * 1664525u + 1013904223u;
      const float grain = ((seed >> 24) % 7) / 255.0f;
      LICE_FillRect(bm, x, y, 6, 1, Mix(row, LICE_RGBA(255, 255, 255, 255), grain), 1.0f, 0);
    }
  }
  // Bevel: light above and left, shadow below and right.
  LICE_Line(bm, 0, 0, kPanelW - 1, 0, LICE_RGBA(96, 104, 116, 255), 1.0f, 0, false);
  LICE_Line(bm, 0, 0, 0, kPanelH - 1, LICE_RGBA(74, 80, 90, 255), 1.0f, 0, false);
  LICE_Line(bm, 0, kPanelH - 1, kPanelW - 1, kPanelH - 1, LICE_RGBA(8, 9, 11, 255), 1.0f, 0,
            false);
  LICE_Line(bm, kPanelW - 1, 0, kPanelW - 1, kPanelH - 1, LICE_RGBA(12, 13, 16, 255), 1.0f, 0,
            false);

  Screw(bm, 6.5f, 6.5f);
  Screw(bm, kPanelW - 7.5f, 6.5f);
  Screw(bm, 6.5f, kPanelH - 7.5f);
  Screw(bm, kPanelW - 7.5f, kPanelH - 7.5f);

  // Product name with an amber rule under it.
  Text name(15, true);
  name.Centred(bm, "QUORVANE", kPanelW / 2, 8, LICE_RGBA(234, 236, 240, 255), 2);
  LICE_FillRect(bm, 62, 28, kPanelW - 124, 1, kAmberLit, 0.85f, 0);
  Text sub(8, false);
  sub.Centred(bm, "STEREO UTILITY", kPanelW / 2, 32, LICE_RGBA(150, 158, 170, 255), 1);

  // Recessed wells the switches sit in.
  const LICE_pixel well = LICE_RGBA(13, 14, 17, 255);
  FillRounded(bm, kSwapX - 2, kSwapY - 2, kSwapW + 4, kSwapH + 4, 6, well);
  FillRounded(bm, kMonoX - 2, kMonoY - 2, kMonoW + 4, kMonoH + 4, 6, well);

  // Centre: left and right channel marks joined the way the signal flows.
  const LICE_pixel mark = LICE_RGBA(110, 118, 130, 255);
  Text ch(9, true);
  ch.Centred(bm, "L", 70, 45, mark);
  ch.Centred(bm, "R", 120, 45, mark);
  LICE_FLine(bm, 79, 51, 107, 51, mark, 0.7f, 0, true);
  LICE_FLine(bm, 83, 57, 111, 57, mark, 0.7f, 0, true);
  LICE_FillTriangle(bm, 107, 48, 107, 54, 111, 51, mark, 0.7f, 0);
  LICE_FillTriangle(bm, 83, 54, 83, 60, 79, 57, mark, 0.7f, 0);

  // Switch labels, one line under both switches.
  Text label(9, true);
  const LICE_pixel labelColour = LICE_RGBA(200, 206, 214, 255);
  label.Centred(bm, "SWAP", kSwapX + kSwapW / 2, kLabelY, labelColour, 1);
  label.Centred(bm, "MONO", kMonoX + kMonoW / 2, kLabelY, labelColour, 1);

  // Maker line under a hairline.
  LICE_Line(bm, 16, 99, kPanelW - 17, 99, LICE_RGBA(60, 65, 74, 255), 1.0f, 0, false);
  LICE_Line(bm, 16, 100, kPanelW - 17, 100, LICE_RGBA(16, 17, 20, 255), 1.0f, 0, false);
  Text maker(8, true);
  maker.Centred(bm, "ORVANTINE", kPanelW / 2, 104, LICE_RGBA(130, 138, 150, 255), 2);
}

// One button frame at row offset y0: a raised cap with an LED strip at the
// top and the switch's symbol below it.
template <class Symbol>
void DrawButton(LICE_IBitmap* bm, int y0, int w, int h, bool on, Symbol symbol)
{
  GradientRounded(bm, 0, y0, w, h, 4, LICE_RGBA(24, 26, 30, 255), LICE_RGBA(10, 11, 13, 255));
  GradientRounded(bm, 1, y0 + 1, w - 2, h - 2, 3,
                  on ? LICE_RGBA(88, 94, 104, 255) : LICE_RGBA(76, 82, 92, 255),
                  on ? LICE_RGBA(52, 56, 63, 255) : LICE_RGBA(44, 48, 54, 255));
  // Highlight along the cap's top edge.
  LICE_Line(bm, 4, y0 + 1, w - 5, y0 + 1, LICE_RGBA(130, 138, 150, 255), 0.8f, 0, false);
  if (on)
  {
    // Glow spreading from the lit LED onto the cap.
    for (int i = 4; i >= 1; --i)
      FillRounded(bm, 5 - i, y0 + 4 - i, w - 10 + 2 * i, 4 + 2 * i, 2 + i / 2,
                  Mix(LICE_RGBA(70, 70, 70, 255), kAmberLit, 0.25f / i));
    FillRounded(bm, 5, y0 + 4, w - 10, 4, 2, kAmberLit);
    LICE_Line(bm, 7, y0 + 5, w - 8, y0 + 5, LICE_RGBA(255, 236, 196, 255), 1.0f, 0, false);
  }
  else
  {
    FillRounded(bm, 5, y0 + 4, w - 10, 4, 2, kAmberDark);
  }
  symbol(bm, y0, on ? LICE_RGBA(250, 250, 252, 255) : LICE_RGBA(160, 168, 180, 255));
}

// Crossing arrows: left and right exchanged.
void SwapSymbol(LICE_IBitmap* bm, int y0, LICE_pixel c)
{
  const float yt = y0 + 19.5f, yb = y0 + 28.5f;
  LICE_FLine(bm, 6, yt, 15, yt, c, 1.0f, 0, true);
  LICE_FillTriangle(bm, 14, static_cast<int>(yt) - 3, 14, static_cast<int>(yt) + 3, 18,
                    static_cast<int>(yt), c, 1.0f, 0);
  LICE_FLine(bm, 8, yb, 17, yb, c, 1.0f, 0, true);
  LICE_FillTriangle(bm, 9, static_cast<int>(yb) - 3, 9, static_cast<int>(yb) + 3, 5,
                    static_cast<int>(yb), c, 1.0f, 0);
}

// Two inputs merging into one.
void MonoSymbol(LICE_IBitmap* bm, int y0, LICE_pixel c)
{
  LICE_FLine(bm, 6.5f, y0 + 13.0f, 11.5f, y0 + 18.0f, c, 1.0f, 0, true);
  LICE_FLine(bm, 16.5f, y0 + 13.0f, 11.5f, y0 + 18.0f, c, 1.0f, 0, true);
  LICE_FLine(bm, 11.5f, y0 + 18.0f, 11.5f, y0 + 23.0f, c, 1.0f, 0, true);
  LICE_FillCircle(bm, 11.5f, y0 + 18.0f, 1.3f, c, 1.0f, 0, true);
}

// libpng reports errors by longjmp: only this function's frame is unwound,
// and it holds nothing that needs destroying.
bool WriteRows(png_structp png, png_infop info, FILE* f, int w, int h, const unsigned char* rgba)
{
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y)
    png_write_row(png, const_cast<unsigned char*>(rgba) + static_cast<size_t>(y) * w * 4);
  png_write_end(png, info);
  return true;
}

bool WritePng(LICE_IBitmap* bm, const std::string& path)
{
  const int w = bm->getWidth(), h = bm->getHeight();
  std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const LICE_pixel p = LICE_GetPixel(bm, x, y);
      unsigned char* o = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      o[0] = static_cast<unsigned char>(LICE_GETR(p));
      o[1] = static_cast<unsigned char>(LICE_GETG(p));
      o[2] = static_cast<unsigned char>(LICE_GETB(p));
      o[3] = static_cast<unsigned char>(LICE_GETA(p));
    }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool ok = info && WriteRows(png, info, f, w, h, rgba.data());
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0 && ok;
}

template <class Symbol>
bool WriteSwitch(const std::string& path, int w, int h, Symbol symbol)
{
  LICE_SysBitmap bm(w, 2 * h);
  LICE_Clear(&bm, 0); // transparent around the rounded cap
  DrawButton(&bm, 0, w, h, false, symbol);
  DrawButton(&bm, h, w, h, true, symbol);
  return WritePng(&bm, path);
}

// The editor as it will look: background, then each switch's frame.
bool WritePreview(const std::string& dir, const std::string& path)
{
  LICE_IBitmap* bg = LICE_LoadPNG((dir + "/Background.png").c_str());
  LICE_IBitmap* swap = LICE_LoadPNG((dir + "/swapBtn.png").c_str());
  LICE_IBitmap* mono = LICE_LoadPNG((dir + "/monoBtn.png").c_str());
  bool ok = bg && swap && mono;
  if (ok)
  {
    constexpr int kScale = 3;
    LICE_MemBitmap out(2 * kPanelW * kScale + kScale * 4, kPanelH * kScale);
    LICE_Clear(&out, LICE_RGBA(255, 255, 255, 255));
    for (int state = 0; state < 2; ++state)
    {
      LICE_MemBitmap panel(kPanelW, kPanelH);
      LICE_Blit(&panel, bg, 0, 0, nullptr, 1.0f, LICE_BLIT_MODE_COPY);
      LICE_Blit(&panel, swap, kSwapX, kSwapY, 0, state * kSwapH, kSwapW, kSwapH, 1.0f,
                LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA);
      LICE_Blit(&panel, mono, kMonoX, kMonoY, 0, state * kMonoH, kMonoW, kMonoH, 1.0f,
                LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA);
      LICE_ScaledBlit(&out, &panel, state * (kPanelW + 4) * kScale, 0, kPanelW * kScale,
                      kPanelH * kScale, 0, 0, kPanelW, kPanelH, 1.0f, LICE_BLIT_MODE_COPY);
    }
    ok = WritePng(&out, path);
  }
  delete bg;
  delete swap;
  delete mono;
  return ok;
}
} // namespace

int main(int argc, char** argv)
{
  if (argc != 2 && argc != 3)
  {
    std::fprintf(stderr, "usage: %s <output folder> [preview.png]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  LICE_SysBitmap bg(kPanelW, kPanelH);
  DrawBackground(&bg);
  bool ok = WritePng(&bg, dir + "/Background.png");
  ok = WriteSwitch(dir + "/swapBtn.png", kSwapW, kSwapH, SwapSymbol) && ok;
  ok = WriteSwitch(dir + "/monoBtn.png", kMonoW, kMonoH, MonoSymbol) && ok;
  if (!ok) std::fprintf(stderr, "could not write the pictures into %s\n", dir.c_str());
  if (ok && argc == 3 && !WritePreview(dir, argv[2]))
  {
    std::fprintf(stderr, "could not write the preview %s\n", argv[2]);
    ok = false;
  }
  return ok ? 0 : 1;
}

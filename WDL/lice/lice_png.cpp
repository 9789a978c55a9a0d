// PNG decoding into 32-bit bitmaps through libpng.

#include "lice.h"
#include "lice_imageloader.h"
#include "lice_rows.h"

#include <png.h>

#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <strings.h>

namespace
{
// Largest picture accepted, checked against the header before anything is
// allocated: 32768 pixels a side and 64 Mi pixels (256 MiB) in all.
constexpr png_uint_32 kMaxSide = 32768;
constexpr unsigned long long kMaxPixels = 1ull << 26;

std::atomic<LICE_PNGMessageFunc> gMessageFunc{nullptr};

void OnPngError(png_structp png, png_const_charp msg)
{
  if (LICE_PNGMessageFunc f = gMessageFunc.load()) f(msg, true);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp msg)
{
  if (LICE_PNGMessageFunc f = gMessageFunc.load()) f(msg, false);
}

struct MemReader
{
  const unsigned char* pos;
  size_t left;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t len)
{
  auto* r = static_cast<MemReader*>(png_get_io_ptr(png));
  // Running out of data is a decoding error, reported where it happens.
  if (len > r->left) png_error(png, "read beyond the end of the data");
  std::memcpy(out, r->pos, len);
  r->pos += len;
  r->left -= len;
}

struct LoadState
{
  png_structp png = nullptr;
  png_infop info = nullptr;
  LICE_IBitmap* target = nullptr;  // the caller's bitmap, or null
  LICE_IBitmap* created = nullptr; // made here; deleted again on failure
  png_bytep* rows = nullptr;
};

// Everything libpng can fail in happens here, between setjmp and return.
// libpng leaves by longjmp on an error, so this function holds no object
// with a destructor and keeps its state in *st, which the caller owns.
bool Decode(LoadState* st, FILE* fp, MemReader* mem)
{
  png_structp png = st->png;
  png_infop info = st->info;
  if (setjmp(*png_set_longjmp_fn(png, longjmp, sizeof(jmp_buf)))) return false;

  png_set_user_limits(png, kMaxSide, kMaxSide);
  if (fp) png_init_io(png, fp);
  else png_set_read_fn(png, mem, ReadFromMemory);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int bit_depth = 0, color_type = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(png, info, &width, &height, &bit_depth, &color_type, &interlace, &compression,
               &filter);
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
      static_cast<unsigned long long>(width) * height > kMaxPixels)
    return false;

  // Every row arrives as alpha, red, green, blue, 8 bits each.
  if (color_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (color_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS))
  {
    png_set_tRNS_to_alpha(png);
    color_type |= PNG_COLOR_MASK_ALPHA;
  }
  if (bit_depth == 16) png_set_strip_16(png);
  if (bit_depth < 8) png_set_packing(png);
  if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  if (color_type & PNG_COLOR_MASK_ALPHA) png_set_swap_alpha(png);
  else png_set_filler(png, 0xff, PNG_FILLER_BEFORE);

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  LICE_IBitmap* bm = st->target;
  if (bm) bm->resize(w, h);
  else bm = st->created = new (std::nothrow) LICE_MemBitmap(w, h, 4);
  if (!bm || bm->getWidth() != w || bm->getHeight() != h) return false;
  const LICE_RowAccess rows(bm);
  if (!rows.row0) return false;

  st->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!st->rows) return false;
  for (int i = 0; i < h; ++i) st->rows[i] = reinterpret_cast<png_bytep>(rows.row(i));
  png_read_image(png, st->rows);

  // Bytes alpha, red, green, blue become the pixel 0xAARRGGBB, whose bytes
  // in memory run the other way round.
  for (int i = 0; i < h; ++i)
  {
    LICE_pixel* __restrict p = rows.row(i);
    for (int x = 0; x < w; ++x)
    {
      // A byte swap written as shifts, which vectorises without SSSE3.
      const LICE_pixel v = p[x];
      p[x] = (v >> 24) | ((v >> 8) & 0xff00u) | ((v << 8) & 0xff0000u) | (v << 24);
    }
  }
  return true;
}

LICE_IBitmap* Load(FILE* fp, MemReader* mem, LICE_IBitmap* bmp)
{
  LoadState st;
  st.target = bmp;
  st.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!st.png) return nullptr;
  st.info = png_create_info_struct(st.png);
  if (!st.info)
  {
    png_destroy_read_struct(&st.png, nullptr, nullptr);
    return nullptr;
  }
  const bool ok = Decode(&st, fp, mem);
  png_destroy_read_struct(&st.png, &st.info, nullptr);
  std::free(st.rows);
  if (!ok)
  {
    delete st.created;
    return nullptr;
  }
  return st.created ? st.created : bmp;
}

bool HasPngExtension(const char* name)
{
  const char* tail = nullptr;
  for (const char* p = name; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == '.') tail = p;
  return tail && strcasecmp(tail, ".png") == 0;
}

LICE_IBitmap* LoadWithCheck(const char* filename, bool checkFileName, LICE_IBitmap* bmp)
{
  if (checkFileName && (!filename || !HasPngExtension(filename))) return nullptr;
  return LICE_LoadPNG(filename, bmp);
}

const char* PngExtensions()
{
  return "PNG files (*.PNG)\0*.PNG\0";
}
} // namespace

_LICE_ImageLoader_rec* LICE_ImageLoader_list = nullptr;

class LICE_PNGLoader
{
public:
  _LICE_ImageLoader_rec rec;
  LICE_PNGLoader()
  {
    rec.loadfunc = LoadWithCheck;
    rec.get_extlist = PngExtensions;
    rec._next = LICE_ImageLoader_list;
    LICE_ImageLoader_list = &rec;
  }
};

static LICE_PNGLoader sPngLoader;

void LICE_SetPNGMessageFunc(LICE_PNGMessageFunc func)
{
  gMessageFunc.store(func);
}

LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp)
{
  if (!filename) return nullptr;
  FILE* fp = std::fopen(filename, "rb");
  if (!fp) return nullptr;
  LICE_IBitmap* out = Load(fp, nullptr, bmp);
  std::fclose(fp);
  return out;
}

LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, int length, LICE_IBitmap* bmp)
{
  if (!data || length <= 7 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0)
    return nullptr;
  MemReader mem = {static_cast<const unsigned char*>(data), static_cast<size_t>(length)};
  return Load(nullptr, &mem, bmp);
}

LICE_IBitmap* LICE_LoadPNGFromResource(void*, const char*, LICE_IBitmap*)
{
  return nullptr;
}

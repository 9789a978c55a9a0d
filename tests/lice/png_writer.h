#pragma once
// Writes small PNG pictures with libpng so that the loader tests need no
// binary files.

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

struct PngPicture
{
  int width = 1, height = 1;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<unsigned char> trns; // palette alpha entries
  std::vector<unsigned char> data; // packed rows as libpng expects them
};

inline void PngAppend(png_structp png, png_bytep d, size_t n)
{
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), d, d + n);
}
inline void PngFlush(png_structp) {}

inline bool WritePngBody(png_structp png, png_infop info, const PngPicture& s,
                         std::vector<unsigned char>* out, std::vector<png_bytep>* rows)
{
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, PngAppend, PngFlush);
  png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!s.palette.empty())
    png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
  if (!s.trns.empty())
    png_set_tRNS(png, info, s.trns.data(), static_cast<int>(s.trns.size()), nullptr);
  png_write_info(png, info);
  png_write_image(png, rows->data());
  png_write_end(png, info);
  return true;
}

inline std::vector<unsigned char> MakePng(const PngPicture& s)
{
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const size_t rowBytes = s.data.size() / static_cast<size_t>(s.height);
  std::vector<png_bytep> rows;
  for (int y = 0; y < s.height; ++y)
    rows.push_back(const_cast<png_bytep>(s.data.data()) + rowBytes * static_cast<size_t>(y));
  if (!WritePngBody(png, info, s, &out, &rows)) out.clear();
  png_destroy_write_struct(&png, &info);
  return out;
}

inline bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

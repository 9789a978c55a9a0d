#pragma once
// UTF-8 checks and decoding shared by the text engine and the bitmap
// library's glyph path. Text that is not valid UTF-8 is read as Windows
// Latin-1 (code page 1252), one character per byte.

#include <cstddef>
#include <string>

// Code points of bytes 0x80-0x9F in Windows Latin-1; the five unassigned
// bytes keep their own value. Bytes 0xA0-0xFF are the same as Unicode.
inline unsigned SWELL_Cp1252ToUnicode(unsigned char b)
{
  static const unsigned short kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b;
}

// Decodes one well-formed UTF-8 sequence at s (n bytes available): returns
// its length and sets *cp, or 0 for a malformed, overlong, surrogate or
// out-of-range sequence (or one cut short).
inline int SWELL_DecodeUTF8(const unsigned char* s, size_t n, unsigned* cp)
{
  if (n == 0) return 0;
  const unsigned b0 = s[0];
  if (b0 < 0x80)
  {
    *cp = b0;
    return 1;
  }
  int len;
  unsigned v, min;
  if ((b0 & 0xE0) == 0xC0) len = 2, v = b0 & 0x1F, min = 0x80;
  else if ((b0 & 0xF0) == 0xE0) len = 3, v = b0 & 0x0F, min = 0x800;
  else if ((b0 & 0xF8) == 0xF0) len = 4, v = b0 & 0x07, min = 0x10000;
  else return 0;
  if (n < static_cast<size_t>(len)) return 0;
  for (int i = 1; i < len; ++i)
  {
    if ((s[i] & 0xC0) != 0x80) return 0;
    v = (v << 6) | (s[i] & 0x3Fu);
  }
  if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  *cp = v;
  return len;
}

inline bool SWELL_IsValidUTF8(const char* s, size_t n)
{
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  unsigned cp;
  for (size_t i = 0; i < n;)
  {
    const int len = SWELL_DecodeUTF8(p + i, n - i, &cp);
    if (!len) return false;
    i += static_cast<size_t>(len);
  }
  return true;
}

inline void SWELL_AppendUTF8(std::string& out, unsigned cp)
{
  if (cp < 0x80) out += static_cast<char>(cp);
  else if (cp < 0x800)
  {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  else if (cp < 0x10000)
  {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  else
  {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// s as UTF-8: unchanged when it is valid, else each byte read as Latin-1.
inline std::string SWELL_ToUTF8(const char* s, size_t n)
{
  if (SWELL_IsValidUTF8(s, n)) return std::string(s, n);
  std::string out;
  out.reserve(n * 2);
  for (size_t i = 0; i < n; ++i)
    SWELL_AppendUTF8(out, SWELL_Cp1252ToUnicode(static_cast<unsigned char>(s[i])));
  return out;
}

#include "base64encdec.h"

namespace
{
// Value of a Base64 character, or -1 outside the alphabet.
int DecodeChar(unsigned char c)
{
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}
} // namespace

int base64decode(const char* src, unsigned char* dest, int maxlen)
{
  if (!src || !dest || maxlen <= 0) return 0;
  unsigned int accum = 0;
  int bits = 0, written = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(src); written < maxlen; ++p)
  {
    const int v = DecodeChar(*p);
    if (v < 0) break;
    accum = ((accum << 6) | static_cast<unsigned int>(v)) & 0xFFFFFu;
    bits += 6;
    if (bits >= 8)
    {
      bits -= 8;
      dest[written++] = static_cast<unsigned char>(accum >> bits);
    }
  }
  return written;
}

void base64encode(const unsigned char* src, char* dest, int len)
{
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  int i = 0;
  for (; i + 3 <= len; i += 3)
  {
    const unsigned v = (unsigned(src[i]) << 16) | (unsigned(src[i + 1]) << 8) | src[i + 2];
    *dest++ = kAlphabet[(v >> 18) & 63];
    *dest++ = kAlphabet[(v >> 12) & 63];
    *dest++ = kAlphabet[(v >> 6) & 63];
    *dest++ = kAlphabet[v & 63];
  }
  const int rest = len - i;
  if (rest == 1)
  {
    const unsigned v = unsigned(src[i]) << 16;
    *dest++ = kAlphabet[(v >> 18) & 63];
    *dest++ = kAlphabet[(v >> 12) & 63];
    *dest++ = '=';
    *dest++ = '=';
  }
  else if (rest == 2)
  {
    const unsigned v = (unsigned(src[i]) << 16) | (unsigned(src[i + 1]) << 8);
    *dest++ = kAlphabet[(v >> 18) & 63];
    *dest++ = kAlphabet[(v >> 12) & 63];
    *dest++ = kAlphabet[(v >> 6) & 63];
    *dest++ = '=';
  }
  *dest = '\0';
}

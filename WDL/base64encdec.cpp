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

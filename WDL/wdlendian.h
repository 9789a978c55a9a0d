#pragma once
// Byte-order helpers. Files and host fields that are big-endian (preset files,
// four-character codes) go through these; everything else is native
// little-endian on the x86-64 target.

#include <cstdint>
#include <cstring>

inline uint16_t WDL_bswap16(uint16_t v) { return __builtin_bswap16(v); }
inline uint32_t WDL_bswap32(uint32_t v) { return __builtin_bswap32(v); }
inline uint64_t WDL_bswap64(uint64_t v) { return __builtin_bswap64(v); }

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
inline uint32_t WDL_bswap32_if_le(uint32_t v) { return WDL_bswap32(v); }
inline uint64_t WDL_bswap64_if_le(uint64_t v) { return WDL_bswap64(v); }
#else
inline uint32_t WDL_bswap32_if_le(uint32_t v) { return v; }
inline uint64_t WDL_bswap64_if_le(uint64_t v) { return v; }
#endif

// Big-endian reads and writes of unaligned memory.
inline uint32_t WDL_ReadBE32(const void* p)
{
  uint32_t v;
  std::memcpy(&v, p, 4);
  return WDL_bswap32_if_le(v);
}
inline void WDL_WriteBE32(void* p, uint32_t v)
{
  v = WDL_bswap32_if_le(v);
  std::memcpy(p, &v, 4);
}

// A float's bits as a big-endian 32-bit pattern, and back.
inline uint32_t WDL_FloatToBE32(float f)
{
  uint32_t v;
  std::memcpy(&v, &f, 4);
  return WDL_bswap32_if_le(v);
}
inline float WDL_BE32ToFloat(uint32_t be)
{
  const uint32_t v = WDL_bswap32_if_le(be);
  float f;
  std::memcpy(&f, &v, 4);
  return f;
}

// A four-character code from its text: the first character is the most
// significant byte ('ln0p' is 0x6C6E3070). Avoids multi-character literals,
// whose value is implementation-defined.
constexpr uint32_t WDL_FourCC(const char (&s)[5])
{
  return (static_cast<uint32_t>(static_cast<unsigned char>(s[0])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(s[1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(s[2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(s[3]));
}

// ACF (the host's component model): base types, the 16-byte identifier record
// and the component model's own result codes.
#pragma once

#include <cstdint>
#include <cstring>

typedef int32_t acfSInt32;
typedef uint32_t acfUInt32;
typedef uint16_t acfUInt16;
typedef uint8_t acfUInt8;
typedef int64_t acfSInt64;
typedef uint64_t acfUInt64;

// Result of every component-model operation: 0 is success, failures are negative.
typedef acfSInt32 ACFRESULT;

// Marks data and functions that the module exports by name (the identifier data,
// ACFInterlockedIncrement/Decrement and the two identifier texts). The module is
// built with hidden visibility, so these say "default" explicitly.
#define ACF_EXPORT __attribute__((visibility("default")))

// The component model's 16-byte identifier. The three words are stored in the
// machine's byte order; Data4 is 8 bytes in storage order. Written as text in the
// 8-4-4-4-12 form: Data1, Data2, Data3, then the 8 bytes of Data4.
struct _acfUID
{
  acfUInt32 Data1;
  acfUInt16 Data2;
  acfUInt16 Data3;
  acfUInt8 Data4[8];
};
static_assert(sizeof(_acfUID) == 16, "_acfUID must be exactly 16 bytes");

typedef _acfUID acfUID;
typedef _acfUID acfIID;   // names an interface
typedef _acfUID acfCLSID; // names a component class

// Equal when all 16 bytes are equal: the 32-bit word, the two 16-bit words, then
// the last 8 bytes taken as two 32-bit words.
inline bool operator==(const _acfUID& a, const _acfUID& b)
{
  acfUInt32 a4[2], b4[2];
  std::memcpy(a4, a.Data4, 8);
  std::memcpy(b4, b.Data4, 8);
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 && a4[0] == b4[0] &&
         a4[1] == b4[1];
}
inline bool operator!=(const _acfUID& a, const _acfUID& b) { return !(a == b); }

// Strict ordering (by the 16 bytes' fields) so identifiers can key ordered maps.
// Not part of the component model; used by the stand-in host.
struct acfUIDLess
{
  bool operator()(const _acfUID& a, const _acfUID& b) const
  {
    if (a.Data1 != b.Data1) return a.Data1 < b.Data1;
    if (a.Data2 != b.Data2) return a.Data2 < b.Data2;
    if (a.Data3 != b.Data3) return a.Data3 < b.Data3;
    return std::memcmp(a.Data4, b.Data4, 8) < 0;
  }
};

// The component model's results besides the AAX codes of AAX_Errors.h.
enum : ACFRESULT
{
  ACF_OK = 0,
  ACF_E_UNEXPECTED = static_cast<ACFRESULT>(0x8000FFFFu), // unexpected failure
  ACF_E_NOINTERFACE = static_cast<ACFRESULT>(0x80000004u) // interface not supported
};

inline bool ACFSUCCEEDED(ACFRESULT r) { return r >= 0; }
inline bool ACFFAILED(ACFRESULT r) { return r < 0; }

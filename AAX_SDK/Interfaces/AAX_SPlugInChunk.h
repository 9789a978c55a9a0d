// AAX_SPlugInChunk: a chunk record as the host passes it (owned by the host).
#pragma once

#include "AAX.h"

#include <cstddef>
#include <cstdint>

// Header fields in native byte order, 4-byte aligned, no padding; the data
// area follows the header and holds fSize bytes (the declared array is only
// its start: the host allocates the whole record).
struct AAX_SPlugInChunk
{
  int32_t fSize;           // 0: number of valid bytes in the data area
  int32_t fVersion;        // 4
  int32_t fManufacturerID; // 8: neither read nor written by the support library
  int32_t fProductID;      // 12: idem
  int32_t fPlugInID;       // 16: idem
  AAX_CTypeID fChunkID;    // 20: four-character code
  char fName[32];          // 24: NUL-terminated, at most 31 characters
  char fData[1];           // 56: the data area
};

// Bytes before the data area.
constexpr size_t kAAX_SPlugInChunkHeaderSize = 56;

static_assert(offsetof(AAX_SPlugInChunk, fSize) == 0, "chunk layout");
static_assert(offsetof(AAX_SPlugInChunk, fVersion) == 4, "chunk layout");
static_assert(offsetof(AAX_SPlugInChunk, fManufacturerID) == 8, "chunk layout");
static_assert(offsetof(AAX_SPlugInChunk, fChunkID) == 20, "chunk layout");
static_assert(offsetof(AAX_SPlugInChunk, fName) == 24, "chunk layout");
static_assert(offsetof(AAX_SPlugInChunk, fData) == kAAX_SPlugInChunkHeaderSize, "chunk layout");
static_assert(alignof(AAX_SPlugInChunk) == 4, "chunk layout");

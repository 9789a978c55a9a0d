// Feeds arbitrary bytes to the PNG loader, into a new bitmap and into a
// caller's bitmap that already has a size.

#include "lice.h"
#include "lice_bitmap.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > (1u << 20)) return 0;
  const int len = static_cast<int>(size);
  std::unique_ptr<LICE_IBitmap> fresh(LICE_LoadPNGFromMemory(data, len));
  if (fresh && fresh->getWidth() > 0) LICE_GetPixel(fresh.get(), 0, 0);

  LICE_MemBitmap reuse(3, 5);
  LICE_LoadPNGFromMemory(data, len, &reuse);
  return 0;
}

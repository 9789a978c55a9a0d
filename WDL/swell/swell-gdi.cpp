#include "swell.h"
#include "swell-internal.h"

#include <cstdint>
#include <cstdlib>
#include <new>

HDC SWELL_CreateMemContext(HDC, int w, int h)
{
  if (w < 1 || h < 1) return nullptr;
  // 63 spare bytes let the pixels start on a 64-byte boundary.
  const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4u + 63u;
  void* mem = std::calloc(bytes, 1);
  if (!mem) return nullptr;
  HDC__* ctx = new (std::nothrow) HDC__();
  if (!ctx)
  {
    std::free(mem);
    return nullptr;
  }
  ctx->mAllocation = mem;
  ctx->mBits = reinterpret_cast<void*>((reinterpret_cast<uintptr_t>(mem) + 63u) & ~uintptr_t(63));
  ctx->mWidth = w;
  ctx->mHeight = h;
  return ctx;
}

void* SWELL_GetCtxFrameBuffer(HDC ctx)
{
  return ctx ? ctx->mBits : nullptr;
}

void SWELL_DeleteGfxContext(HDC ctx)
{
  if (!ctx) return;
  std::free(ctx->mAllocation);
  delete ctx;
}

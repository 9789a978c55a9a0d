#include "swell.h"
#include "swell-internal.h"
#include "swell-font.h"

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

HGDIOBJ SelectObject(HDC ctx, HGDIOBJ obj)
{
  if (!ctx || !obj) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (obj->mType)
  {
  case SWELL_kPen: slot = &ctx->mCurPen; break;
  case SWELL_kBrush: slot = &ctx->mCurBrush; break;
  case SWELL_kFont: slot = &ctx->mCurFont; break;
  default: return nullptr;
  }
  HGDIOBJ prev = *slot;
  *slot = obj;
  return prev;
}

void SWELL_ClearFont(HDC ctx)
{
  if (ctx) ctx->mCurFont = nullptr;
}

void DeleteObject(HGDIOBJ obj)
{
  if (!obj) return;
  SWELL_DestroyFace(obj->mFace);
  delete obj;
}

void SetTextColor(HDC ctx, int color)
{
  if (ctx) ctx->mTextColor = color & 0xFFFFFF;
}

int GetTextColor(HDC ctx)
{
  return ctx ? ctx->mTextColor : -1;
}

void SetBkColor(HDC ctx, int color)
{
  if (ctx) ctx->mBkColor = color & 0xFFFFFF;
}

void SetBkMode(HDC ctx, int mode)
{
  if (ctx) ctx->mBkMode = mode;
}

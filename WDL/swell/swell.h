#pragma once
// The drawing layer's memory contexts: a pixel buffer that bitmaps draw into
// and that the text engine (added later) renders into through the same handle.

#include "swell-types.h"

// [any] Creates a memory context of w x h 32-bit pixels (row span w), all
// zero, pixels aligned to 64 bytes. hdc (a reference context) is not used.
// Returns null when w or h is below 1 or memory runs out; the caller owns
// the result and frees it with SWELL_DeleteGfxContext.
HDC SWELL_CreateMemContext(HDC hdc, int w, int h);

// [any] The first pixel of the context's buffer (row 0 at the top, bytes
// blue, green, red, alpha), owned by the context; null for a null context.
void* SWELL_GetCtxFrameBuffer(HDC ctx);

// [any] Frees a context made by SWELL_CreateMemContext; null is ignored.
void SWELL_DeleteGfxContext(HDC ctx);

#pragma once
// The drawing layer: memory contexts (a pixel buffer that bitmaps draw into)
// and the text slice (fonts selected into a context, measured and drawn into
// its pixels by the native text engine: FreeType, HarfBuzz and fontconfig).
//
// A context is used by one thread at a time; [any] means any single thread.
// Fonts may be created, measured and deleted on several threads at once, but
// one font object is drawn with by one thread at a time unless noted.

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
// Objects selected into it are not deleted: they belong to their creators.
void SWELL_DeleteGfxContext(HDC ctx);

// SWELL_DrawText format flags.
#define DT_TOP 0
#define DT_LEFT 0
#define DT_CENTER 1
#define DT_RIGHT 2
#define DT_VCENTER 4
#define DT_BOTTOM 8
#define DT_SINGLELINE 0x20
#define DT_NOCLIP 0x100
#define DT_CALCRECT 0x400
#define DT_NOPREFIX 0x800

// Background modes (SetBkMode).
#define TRANSPARENT 0
#define OPAQUE 1

// CreateFont weights and qualities.
#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_QUALITY 0
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4

// [any] A font of |height| pixels per em (points at 72 dpi), or |width| when
// height is 0; sizes below 2 or above 8192 become 10. weight >= 700 asks for
// bold, a non-zero italic for italic; fontconfig resolves the face name (its
// own substitution stands in for names the system lacks, an empty name is
// the system sans-serif). quality: 4 antialiased, 3 monochrome, anything
// else the default (antialiased). escapement is stored in tenths of a
// degree. underline, strikeout, charset, the precisions, pitch and
// orientation are ignored. The caller owns the result (DeleteObject); null
// only when no font at all can be loaded.
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, int italic,
                 int underline, int strikeout, int charset, int outprecision, int clipprecision,
                 int quality, int pitchandfamily, const char* facename);

// [any] Stores obj in the context's slot for its kind (font, pen or brush)
// and returns the object that was there (null when none). Null ctx or obj:
// nothing happens, null is returned.
HGDIOBJ SelectObject(HDC ctx, HGDIOBJ obj);
// [any] Empties the context's font slot, so that text uses the default font
// again; for putting a context back as it was when it had no font selected.
void SWELL_ClearFont(HDC ctx);
// [any] Deletes an object made by this layer; null is ignored. The object
// must not stay selected in a context that is used afterwards.
void DeleteObject(HGDIOBJ obj);

// [any] Colours are 0x00RRGGBB, the channel order of a pixel; the top byte
// is ignored. GetTextColor gives -1 for a null context, and the colour last
// set otherwise (0, black, before any).
void SetTextColor(HDC ctx, int color);
int GetTextColor(HDC ctx);
void SetBkColor(HDC ctx, int color);
// [any] OPAQUE (1) fills the text's box with the background colour first;
// any other value draws the glyphs only.
void SetBkMode(HDC ctx, int mode);

// [any] Fills tm from the selected font (or the default font, the system
// sans-serif at 10 points): ascent, descent and leading truncated to whole
// pixels, height = their sum + 1 (0 when the sum is 0), average width =
// sum * 2 / 3. Returns 1; a null context leaves 16, 12, 4, 3, 10 and gives 0.
int GetTextMetrics(HDC ctx, TEXTMETRIC* tm);

// [any] Measures (DT_CALCRECT: sets rect's right and bottom) or draws up to
// len bytes of str (len < 0: up to its NUL; always stopping at a NUL and
// after at most 4095 bytes) into rect with the selected font, the text colour
// and the background mode. "&" is dropped and the next character taken
// literally unless DT_NOPREFIX; carriage returns are dropped; a line feed
// starts a new line, or is a space with DT_SINGLELINE. Text that is not valid
// UTF-8 is read as Windows Latin-1. Drawing clips to rect unless DT_NOCLIP,
// and always to the pixels. Returns the text's height in pixels (0 for a null
// context, a null rect or an empty text).
//
// Pixels (straight-alpha BGRA): each colour channel moves from its value to
// the text colour's in proportion to the glyph's coverage c (0-255), rounded:
// (text * c + old * (255 - c) + 127) / 255. The alpha byte is combined the
// same way towards 255, so a fully covered pixel becomes exactly the text
// colour with alpha 255 and an uncovered one is left as it was. The OPAQUE
// background box is the background colour with alpha 255.
int SWELL_DrawText(HDC ctx, const char* str, int len, RECT* rect, int format);

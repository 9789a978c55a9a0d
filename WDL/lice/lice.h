#pragma once
// The bitmap library: compositing, scaling, rotation, drawing primitives and
// PNG loading on the 32-bit bitmaps of lice_bitmap.h.
//
// Every compositing call takes an opacity (1.0 opaque; the integer weight is
// W = (int)(opacity * 256), limited to +/-4096) and a blend-mode word built
// from the constants below. Calls clip to the bitmaps, report nothing and
// draw nothing when a bitmap is null or has no pixels. A bitmap is used by one thread at a time;
// [any] means any single thread.

#include "lice_bitmap.h"
#include "swell-types.h"

// Blend-mode word: bits 0-7 the operation, bits 8-15 the filter, bit 16 the
// source-alpha flag.
#define LICE_BLIT_MODE_MASK 0xff
#define LICE_BLIT_MODE_COPY 0
#define LICE_BLIT_MODE_ADD 1
#define LICE_BLIT_MODE_DODGE 2
#define LICE_BLIT_MODE_MUL 3
#define LICE_BLIT_MODE_OVERLAY 4
#define LICE_BLIT_MODE_HSVADJ 5
// 0xF0 | (dst channel << 2) | src channel: copies one byte of each pixel.
#define LICE_BLIT_MODE_CHANCOPY 0xf0
#define LICE_BLIT_FILTER_MASK 0xff00
#define LICE_BLIT_FILTER_NONE 0
#define LICE_BLIT_FILTER_BILINEAR 0x100
#define LICE_BLIT_USE_ALPHA 0x10000

// [any] Composites srcrect of src (whole source when null) onto dest with its
// top-left corner at (dstx, dsty).
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, const RECT* srcrect,
               float opacity, int mode);
// [any] The same with the source rectangle given as position and size.
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy,
               int srcw, int srch, float opacity, int mode);
// [any] Resizes dest to src's size and copies every pixel.
void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src);

// [any] Composites a solid colour over w x h pixels at (x, y). The colour's
// alpha byte is used only with LICE_BLIT_USE_ALPHA (it scales the opacity)
// and by the opaque copy, which writes the colour unchanged.
void LICE_FillRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel color,
                   float opacity, int mode);
// [any] Sets every pixel to color.
void LICE_Clear(LICE_IBitmap* dest, LICE_pixel color);
// [any] Each pixel of the clipped rectangle becomes (pixel & mask) | orbits.
void LICE_ClearRect(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel mask = 0,
                    LICE_pixel orbits = 0);
// [any] The pixel at column x of image row y; 0 outside the bitmap.
LICE_pixel LICE_GetPixel(LICE_IBitmap* bm, int x, int y);
// [any] Composites color into one pixel (the source-alpha flag is ignored).
void LICE_PutPixel(LICE_IBitmap* bm, int x, int y, LICE_pixel color, float opacity, int mode);

// [any] The result of compositing src over dest with the shared combiner
// selection; dest unchanged when nothing would be drawn.
LICE_pixel LICE_CombinePixels(LICE_pixel dest, LICE_pixel src, float opacity, int mode);
// [any] Composites (r, g, b, a) into *px with integer weight W (256 opaque);
// W = 0 does nothing. Channels are limited to 0-255 and W to +/-4096. The
// Clamp form limits every result to 0-255, for weights outside 0-256.
void LICE_CombinePixels2(LICE_pixel* px, int r, int g, int b, int a, int W, int mode);
void LICE_CombinePixels2Clamp(LICE_pixel* px, int r, int g, int b, int a, int W, int mode);

// [any] Scales the source rectangle (fractional position and size) onto the
// destination rectangle; a negative dstw or dsth mirrors. Bilinear with
// LICE_BLIT_FILTER_BILINEAR (a box filter when shrinking below 1/1.7),
// nearest pixel otherwise.
void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                     int dsth, float srcx, float srcy, float srcw, float srch, float opacity,
                     int mode);
// [any] Like LICE_ScaledBlit with the source rectangle turned by angle
// (radians, clockwise on screen) about its centre moved by (rotxcent,
// rotycent). With cliptosourcerect only pixels of the source rectangle are
// sampled, else any pixel of the source bitmap.
void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int dstw,
                      int dsth, float srcx, float srcy, float srcw, float srch, float angle,
                      bool cliptosourcerect, float opacity, int mode, float rotxcent = 0.0f,
                      float rotycent = 0.0f);

// Drawing primitives. Pixel (x, y) is the point (x, y); shapes are clipped to
// the bitmap and touch each pixel at most once. Every pixel is composited as
// LICE_CombinePixels2 does, with the colour's channels and alpha byte, at
// weight W scaled by the pixel's coverage (antialiased) or W (not).

// [any] A line including both end points. Not antialiased: one pixel per step
// of the longer axis, the other coordinate rounded (halves away from the
// start). Antialiased (Xiaolin Wu): each step covers the two pixels around
// the exact line in proportion to their distance from it.
void LICE_Line(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel color,
               float opacity = 1.0f, int mode = 0, bool aa = true);
// [any] The same with fractional end points (rounded to the nearest pixel
// along the longer axis).
void LICE_FLine(LICE_IBitmap* dest, float x1, float y1, float x2, float y2, LICE_pixel color,
                float opacity = 1.0f, int mode = 0, bool aa = true);
// [any] A one-pixel outline of the circle of radius r about (cx, cy): pixels
// within half a pixel of it (not antialiased) or covered by 1 - distance.
void LICE_Circle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color,
                 float opacity = 1.0f, int mode = 0, bool aa = true);
// [any] The part of that outline from minAngle to maxAngle (radians, 0 at
// the top, growing clockwise on screen).
void LICE_Arc(LICE_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
              LICE_pixel color, float opacity = 1.0f, int mode = 0, bool aa = true);
// [any] The disc of radius r: pixels at distance <= r, or covered by
// r + 0.5 - distance (limited to 0..1) when antialiased.
void LICE_FillCircle(LICE_IBitmap* dest, float cx, float cy, float r, LICE_pixel color,
                     float opacity = 1.0f, int mode = 0, bool aa = true);
// [any] The outline through (x, y) and (x + w, y + h) with corners rounded by
// cornerradius (limited to half the shorter side), drawn like LICE_Circle.
void LICE_RoundRect(LICE_IBitmap* dest, float x, float y, float w, float h, int cornerradius,
                    LICE_pixel color, float opacity = 1.0f, int mode = 0, bool aa = true);
// [any] Fills every pixel inside or on the edges of the triangle.
void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3,
                       LICE_pixel color, float opacity = 1.0f, int mode = 0);
// [any] Fills every pixel inside or on the edges of the convex polygon with
// npoints corners x[i], y[i] (in either winding order).
void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int npoints,
                            LICE_pixel color, float opacity = 1.0f, int mode = 0);

// PNG loading. Each returns the bitmap holding the decoded picture: the
// caller's bitmap (resized to the picture) when one is given, else a new
// LICE_MemBitmap that the caller owns. Null on any failure; a caller's
// bitmap may then have been resized and partly written. [any]
LICE_IBitmap* LICE_LoadPNG(const char* filename, LICE_IBitmap* bmp = nullptr);
LICE_IBitmap* LICE_LoadPNGFromMemory(const void* data, int length, LICE_IBitmap* bmp = nullptr);
// [any] Loads Resources/<name> of the bundle this library was loaded from
// (the folder beside the module's own folder).
LICE_IBitmap* LICE_LoadPNGFromNamedResource(const char* name, LICE_IBitmap* bmp = nullptr);
// [any] Module resources do not exist on this platform: always null.
LICE_IBitmap* LICE_LoadPNGFromResource(void* hInst, const char* resid, LICE_IBitmap* bmp = nullptr);

// [any] Where libpng's warnings and errors go (null: nowhere, the default).
// is_error tells an error (the load fails) from a warning.
typedef void (*LICE_PNGMessageFunc)(const char* message, bool is_error);
void LICE_SetPNGMessageFunc(LICE_PNGMessageFunc func);

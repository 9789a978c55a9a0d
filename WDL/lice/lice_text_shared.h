#pragma once
// State every LICE_CachedFont shares (lice_text.cpp), guarded by
// gLiceTextLock: the bitmap glyphs are rendered in, the scratch bitmap of
// the native path, and the number of live fonts (both bitmaps go with the
// last one). Linux editors each run their own GUI thread, hence the lock.

#include "lice_bitmap.h"

#include <mutex>

extern std::mutex gLiceTextLock;
extern LICE_SysBitmap* gLiceTextRenderBm;
extern LICE_SysBitmap* gLiceTextNativeBm;
extern int gLiceTextLiveFonts;

// The rendering bitmap, created or grown to at least 256 x 256 and size x
// size, set up for white text on black. Caller holds gLiceTextLock.
LICE_SysBitmap* LICE_TextRenderBitmap(int size);

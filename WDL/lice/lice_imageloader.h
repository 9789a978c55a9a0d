#pragma once
// The list of picture loaders. Each loader links itself at the head of the
// list while the module loads (static construction), so the list is complete
// before any other code runs and is only read afterwards.

#include "lice_bitmap.h"

struct _LICE_ImageLoader_rec
{
  // Loads filename into bmp (or a new LICE_MemBitmap owned by the caller);
  // with checkFileName, names without the loader's extension give null.
  LICE_IBitmap* (*loadfunc)(const char* filename, bool checkFileName, LICE_IBitmap* bmp);
  // Pairs of description and pattern, NUL-separated, ending with two NULs.
  const char* (*get_extlist)();
  _LICE_ImageLoader_rec* _next;
};

// [any] Head of the list; null when no loader is linked in.
extern _LICE_ImageLoader_rec* LICE_ImageLoader_list;

#pragma once
// The wrapper a product derives from, chosen per build target: IPlugLV2 where
// the target defines IPLUG_LV2, else IPlugAAX. A product names IPlugWrapper
// as its base and MakePlug's result type, so one source builds both formats.

#ifdef IPLUG_LV2
#include "IPlugLV2.h"
using IPlugWrapper = IPlugLV2;
#else
#include "IPlugAAX.h"
using IPlugWrapper = IPlugAAX;
#endif

#pragma once
// The wrapper a product derives from, chosen per build target: IPlugLV2UI
// where the target defines IPLUG_LV2_UI (the LV2 UI binary's instance, which
// carries the editor and runs no audio), IPlugLV2 where it defines
// IPLUG_LV2, else IPlugAAX. A product names IPlugWrapper
// as its base and MakePlug's result type, so one source builds both formats.

#if defined(IPLUG_LV2_UI)
#include "IPlugLV2UI.h"
using IPlugWrapper = IPlugLV2UI;
#elif defined(IPLUG_LV2)
#include "IPlugLV2.h"
using IPlugWrapper = IPlugLV2;
#else
#include "IPlugAAX.h"
using IPlugWrapper = IPlugAAX;
#endif

// The bundle binary's one exported symbol. Compiled into each product's LV2
// binary (not into iplug_lv2, where a static link could drop it).
#include "IPlugLV2.h"

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
  return index == 0 ? IPlugLV2::Descriptor(IPlugLV2_PluginURI()) : nullptr;
}

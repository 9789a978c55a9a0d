// The UI binary's one exported symbol. Compiled into each product's LV2 UI
// binary (not into iplug_lv2_ui, where a static link could drop it).
#include "IPlugLV2UI.h"

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
  return index == 0 ? IPlugLV2UI::Descriptor(IPlugLV2UI_PluginURI()) : nullptr;
}

// Quorvane's LV2 identity, for the UI binary.
#include "IPlugLV2UI.h"
#include "resource.h"

const char* IPlugLV2UI_PluginURI() { return PLUG_LV2_URI; }

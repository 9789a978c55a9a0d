// Quorvane's LV2 identity, for the bundle binary and its generator.
#include "IPlugLV2.h"
#include "resource.h"

const char* IPlugLV2_PluginURI() { return PLUG_LV2_URI; }

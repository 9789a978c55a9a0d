#include "IPlugLV2.h"

const char* IPlugLV2_PluginURI() { return "urn:orvantine:qvtest"; }

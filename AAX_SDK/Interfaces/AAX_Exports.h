// Data the module exports besides its entry points and identifiers.
#pragma once

#include "ACF/acfbasetypes.h"

// Host parameter identifier of the master bypass: "MasterBypassID".
ACF_EXPORT extern const char* const cDefaultMasterBypassID;
// Host parameter identifier of the preview parameter: "PreviewID".
ACF_EXPORT extern const char* const cPreviewID;

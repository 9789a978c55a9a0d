// Quorvane's LV2 identity, for the bundle binary and its generator.
#include "IPlugLV2.h"
#include "Quorvane.h"
#include "resource.h"

const char* IPlugLV2_PluginURI() { return PLUG_LV2_URI; }

const IPlugLV2Metadata& IPlugLV2_Metadata()
{
  static const char* const kComments[Quorvane::kNumParams] = {PLUG_SWAP_COMMENT,
                                                              PLUG_MONO_COMMENT};
  static const IPlugLV2Metadata kMeta = [] {
    IPlugLV2Metadata m;
    m.minorVersion = PLUG_LV2_MINOR_VERSION;
    m.microVersion = PLUG_LV2_MICRO_VERSION;
    m.licenseURI = PLUG_LICENSE_URI;
    m.shortDescription = PLUG_SHORT_DESC;
    m.description = PLUG_DESCRIPTION;
    m.maintainerEmail = PLUG_MFR_EMAIL;
    m.maintainerHomepage = PLUG_MFR_HOMEPAGE;
    m.paramComments = kComments;
    m.nParamComments = Quorvane::kNumParams;
    return m;
  }();
  return kMeta;
}

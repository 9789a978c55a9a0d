#include "IPlugLV2.h"
#include "QvTest.h"

const char* IPlugLV2_PluginURI() { return "urn:orvantine:qvtest"; }

const IPlugLV2Metadata& IPlugLV2_Metadata()
{
  static const char* const kComments[QvTest::kNumParams] = {
      "Gain in decibels", "Which channels reach both outputs", "A whole number that does nothing",
      "On: silence"};
  static const IPlugLV2Metadata kMeta = [] {
    IPlugLV2Metadata m;
    m.minorVersion = 2;
    m.microVersion = 4;
    m.licenseURI = "https://orvantine.com/quorvane/license";
    m.shortDescription = "Test plug-in with one parameter of every kind";
    m.description = "Built for the tests only, never installed.";
    m.maintainerEmail = "plugins@orvantine.com";
    m.maintainerHomepage = "https://orvantine.com/quorvane";
    m.paramComments = kComments;
    m.nParamComments = QvTest::kNumParams;
    return m;
  }();
  return kMeta;
}

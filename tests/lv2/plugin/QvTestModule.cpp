// The test module's description entry: QvTest's identity and the AAX bridge's
// procedures, registered by the support library's GetEffectDescriptions call.

#include "AAX_CEffectGUI_IPLUG.h"
#include "AAX_CIPlugParameters.h"
#include "AAX_ICollection.h"
#include "IPlugAAX.h"
#include "IPlugAAX_Describe.h"

namespace
{
constexpr uint32_t CC(const char (&s)[5])
{
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

void Render(void* const begin[], const void* end)
{
  AAX_CIPlugParameters::StaticRenderAudio(reinterpret_cast<AAX_SIPlugRenderInfo* const*>(begin),
                                          end);
}

AAX_Result DescribeComponent(AAX_IEffectDescriptor* d, const AAX_SIPlugSetupInfo& s)
{
  return IPlugAAX_DescribeComponent(d, s, &Render);
}

// The host takes the first reference through QueryInterface.
IACFUnknown* CreateParameters()
{
  return static_cast<AAX_IACFEffectParameters_V4*>(IPlugAAX::Create());
}

IACFUnknown* CreateGUI() { return static_cast<AAX_IACFEffectGUI*>(AAX_CEffectGUI_IPLUG::Create()); }
} // namespace

AAX_Result GetEffectDescriptions(AAX_ICollection* collection)
{
  static const IPlugAAX_EffectIdentity kIdentity = {"QvTest\nQvTest",
                                                    512,
                                                    "2-2",
                                                    CC("Ovtn"),
                                                    CC("QvT1"),
                                                    {CC("QTN1"), CC("QTN2")},
                                                    {CC("QTA1"), CC("QTA2")},
                                                    "QvTest Midi",
                                                    "com.orvantine.aax.qvtest",
                                                    "Orvantine\nOrvantineOvtn",
                                                    0x00010203};
  static const IPlugAAX_DescriptionProcs kProcs = {&DescribeComponent, &CreateParameters,
                                                   &CreateGUI};
  return IPlugAAX_DescribeEffects(collection, kIdentity, kProcs);
}

// The effect description of an IPlug module against the stand-in host: the
// product's description field by field, a host without component factory,
// names and channel-configuration texts.
#include "IPlugAAX_Describe.h"
#include "StandInHost.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"
#include "AAX_VCollection.h"

#include <gtest/gtest.h>

using namespace aaxhost;

namespace
{
constexpr uint32_t CC(const char (&s)[5])
{
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

void Render(void* const[], const void*) {}
IACFUnknown* CreateParams() { return nullptr; }
IACFUnknown* CreateGUI() { return nullptr; }
AAX_Result Describe(AAX_IEffectDescriptor* d, const AAX_SIPlugSetupInfo& s)
{
  return IPlugAAX_DescribeComponent(d, s, &Render);
}

IPlugAAX_EffectIdentity Quorvane()
{
  return {"Quorvane\nQuorvane",
          512,
          "2-2",
          CC("Ovtn"),
          CC("ln0p"),
          {CC("EFN1"), CC("EFN2")},
          {CC("EFA1"), CC("EFA2")},
          "Quorvane Midi",
          "com.orvantine.aax.quorvane",
          "Orvantine\nOrvantineOvtn",
          0x00010000};
}

const IPlugAAX_DescriptionProcs kProcs = {&Describe, &CreateParams, &CreateGUI};

Description DescribeInto(StandInHost& host, const IPlugAAX_EffectIdentity& id, AAX_Result& err)
{
  {
    AAX_VCollection collection(host.Unknown());
    err = IPlugAAX_DescribeEffects(&collection, id, kProcs);
  }
  return host.LastDescription();
}

struct Started
{
  explicit Started(StandInHost& host) { AAX_CHostServices::Set(host.Unknown()); }
  ~Started() { AAX_CHostServices::Set(nullptr); }
};
} // namespace

TEST(EffectDescription, DescribesTheProductFieldByField)
{
  StandInHost host;
  AAX_Result err = -1;
  const Description d = DescribeInto(host, Quorvane(), err);
  EXPECT_EQ(err, 0);
  const std::vector<std::string> twice{"Quorvane", "Quorvane"};
  EXPECT_EQ(d.packageNames, twice);
  EXPECT_EQ(d.manufacturerNames, (std::vector<std::string>{"Orvantine", "OrvantineOvtn"}));
  EXPECT_EQ(d.packageVersion, 0x00010000u);
  ASSERT_EQ(d.effects.size(), 1u);
  const DescribedEffect& e = d.effects[0];
  EXPECT_EQ(e.id, "com.orvantine.aax.quorvane");
  EXPECT_EQ(e.names, twice);
  EXPECT_EQ(e.categories, std::vector<uint32_t>{512});
  ASSERT_EQ(e.procPtrs.size(), 2u);
  EXPECT_EQ(e.procPtrs.at(0), reinterpret_cast<void*>(&CreateParams));
  EXPECT_EQ(e.procPtrs.at(1), reinterpret_cast<void*>(&CreateGUI));
  EXPECT_TRUE(e.properties.values.empty());
  EXPECT_TRUE(e.resources.empty());
  EXPECT_TRUE(e.meters.empty());

  ASSERT_EQ(e.components.size(), 1u);
  const DescribedComponent& c = e.components[0];
  struct F
  {
    int32_t index;
    const char* kind;
    std::vector<int64_t> numbers;
    const char* name;
  };
  const F expected[] = {{6, "PrivateData", {4, 0}, ""},
                        {5, "PrivateData", {4, 0}, ""},
                        {7, "MIDINode", {3, 0xFFFF}, "Transport"},
                        {0, "AudioIn", {}, ""},
                        {1, "AudioOut", {}, ""},
                        {2, "AudioBufferLength", {}, ""},
                        {9, "PrivateData", {4, 0}, ""},
                        {8, "PrivateData", {8, 0}, ""}};
  ASSERT_EQ(c.fields.size(), std::size(expected));
  for (size_t i = 0; i < c.fields.size(); ++i)
  {
    EXPECT_EQ(c.fields[i].index, expected[i].index) << i;
    EXPECT_EQ(c.fields[i].kind, expected[i].kind) << i;
    EXPECT_EQ(c.fields[i].numbers, expected[i].numbers) << i;
    EXPECT_EQ(c.fields[i].name, expected[i].name) << i;
  }
  ASSERT_EQ(c.processProcs.size(), 1u);
  const DescribedProcessProc& p = c.processProcs[0];
  EXPECT_EQ(p.process, &Render);
  EXPECT_EQ(p.instanceInit, nullptr);
  EXPECT_EQ(p.background, nullptr);
  const std::map<int32_t, int32_t> props{{56, 0},
                                         {51, 0x00010002},
                                         {52, 0x00010002},
                                         {60, 1},
                                         {11, int32_t(CC("Ovtn"))},
                                         {12, int32_t(CC("ln0p"))},
                                         {13, int32_t(CC("EFN1"))},
                                         {14, int32_t(CC("EFA1"))}};
  EXPECT_EQ(p.properties.values, props);
}

TEST(EffectDescription, HostWithoutComponentFactoryReportsBothAssertionsAndAddsNothing)
{
  StandInHost services;
  Started started(services);
  HostConfig config;
  config.componentFactory = false;
  StandInHost host(config);
  AAX_Result err = 0;
  const Description d = DescribeInto(host, Quorvane(), err);
  EXPECT_EQ(err, AAX_ERROR_NULL_OBJECT);
  EXPECT_TRUE(d.effects.empty());
  const std::vector<AssertRecord> asserts = services.Services()->Asserts();
  ASSERT_EQ(asserts.size(), 2u);
  for (const AssertRecord& a : asserts)
  {
    EXPECT_EQ(a.file, "WDL/IPlug/AAX/IPlugAAX_Describe");
    EXPECT_EQ(a.note, "err == AAX_SUCCESS");
    EXPECT_EQ(a.flags, 3);
  }
  EXPECT_EQ(asserts[0].line, 140);
  EXPECT_EQ(asserts[1].line, 160);
}

TEST(EffectDescription, NamesStopAtAnEmptyLineAndConfigurationsFollowTheirText)
{
  StandInHost host;
  IPlugAAX_EffectIdentity id = Quorvane();
  id.names = "First\n\nNever";
  // A piece that is no pair takes no index; a third configuration has no type IDs.
  id.channelIO = "7-9 x 1-1 2-2";
  AAX_Result err = -1;
  const Description d = DescribeInto(host, id, err);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(d.packageNames, std::vector<std::string>{"First"});
  ASSERT_EQ(d.effects.size(), 1u);
  EXPECT_EQ(d.effects[0].names, std::vector<std::string>{"First"});
  const std::vector<DescribedComponent>& c = d.effects[0].components;
  ASSERT_EQ(c.size(), 2u);
  const DescribedProperties& first = c[0].processProcs.at(0).properties;
  EXPECT_EQ(uint32_t(first.Value(51)), 0x00080007u);
  EXPECT_EQ(uint32_t(first.Value(52)), 0xFF9C0000u);
  EXPECT_EQ(uint32_t(first.Value(13)), CC("EFN1"));
  const DescribedProperties& second = c[1].processProcs.at(0).properties;
  EXPECT_EQ(uint32_t(second.Value(51)), 0x00000001u);
  EXPECT_EQ(uint32_t(second.Value(13)), CC("EFN2"));
  EXPECT_EQ(uint32_t(second.Value(14)), CC("EFA2"));
}

TEST(EffectDescription, StemFormatsByChannelCount)
{
  const uint32_t expected[] = {0xFF9C0000, 0x00000001, 0x00010002, 0x00020003, 0x00040004,
                               0x00050005, 0x00060006, 0x00080007, 0x000C0008, 0xFF9C0000};
  for (int n = 0; n <= 9; ++n)
    EXPECT_EQ(uint32_t(getStemFormatForChans(n)), expected[n]) << n;
  EXPECT_EQ(uint32_t(getStemFormatForChans(-1)), 0xFF9C0000u);
}

TEST(EffectDescription, SetupRecordDefaults)
{
  const AAX_SIPlugSetupInfo s;
  EXPECT_FALSE(s.mNeedsGlobalMIDI);
  EXPECT_STREQ(s.mGlobalMIDINodeName, "GlobalMIDI");
  EXPECT_EQ(s.mGlobalMIDIEventMask, 0xFFFFu);
  EXPECT_FALSE(s.mNeedsInputMIDI);
  EXPECT_STREQ(s.mInputMIDINodeName, "InputMIDI");
  EXPECT_EQ(s.mInputMIDIChannelMask, 0xFFFFu);
  EXPECT_FALSE(s.mNeedsTransport);
  EXPECT_STREQ(s.mTransportMIDINodeName, "Transport");
  EXPECT_EQ(s.mNumMeters, 0u);
  EXPECT_EQ(s.mMeterIDs, nullptr);
  EXPECT_EQ(s.mNumAuxOutputStems, 0);
  for (int i = 0; i < 16; ++i)
  {
    EXPECT_EQ(s.mAuxOutputStemNames[i], nullptr);
    EXPECT_EQ(s.mAuxOutputStemFormats[i], 1);
  }
  EXPECT_EQ(s.mInputStemFormat, 1);
  EXPECT_EQ(s.mOutputStemFormat, 1);
  EXPECT_FALSE(s.mProperty151);
  EXPECT_TRUE(s.mProperty60);
  EXPECT_EQ(s.mManufacturerID, CC("none"));
  EXPECT_EQ(s.mProductID, CC("none"));
  EXPECT_EQ(s.mPluginID, CC("none"));
  EXPECT_EQ(s.mAudiosuiteID, CC("none"));
  EXPECT_EQ(s.mProperty56, 0);
  EXPECT_FALSE(s.mWantsSideChain);
}

#include "hosted_quorvane.h"
#include "test_plugs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
std::vector<unsigned char> Bytes(const ByteChunk& c)
{
  return std::vector<unsigned char>(c.GetBytes(), c.GetBytes() + c.Size());
}

std::vector<double> Doubles(const ByteChunk& c)
{
  std::vector<double> v(static_cast<size_t>(c.Size()) / 8);
  for (size_t i = 0; i < v.size(); ++i) c.Get(&v[i], static_cast<int>(i * 8));
  return v;
}

// Two parameters: an int switch-like one and a double one.
class PresetPlug : public TestPlug
{
public:
  explicit PresetPlug(int nPresets) : TestPlug(2, "2-2", 0, "Test", nPresets)
  {
    GetParam(0)->InitInt("i", 1, 0, 10);
    GetParam(1)->InitDouble("d", 0.5, 0.0, 1.0, 0.01);
  }
  IPreset* Preset(int i) { return mPresets.Get(i); }
};
} // namespace

TEST(Presets, QuorvaneMakesOneFilledPresetAtConstruction)
{
  std::unique_ptr<Quorvane> plug(static_cast<Quorvane*>(MakePlug()));
  ASSERT_EQ(plug->NPresets(), 1);
  EXPECT_STREQ(plug->GetPresetName(0), "Quorvane");
  ByteChunk bank;
  ASSERT_TRUE(plug->SerializePresets(&bank));
  // 08 00 00 00 "Quorvane" 01, then two doubles 0.0
  std::vector<unsigned char> want = {8, 0, 0, 0, 'Q', 'u', 'o', 'r', 'v', 'a', 'n', 'e', 1};
  want.resize(want.size() + 16, 0);
  EXPECT_EQ(Bytes(bank), want);
}

TEST(Presets, OneInitialisedPresetBankLayout)
{
  auto plug = MakeInitializedQuorvane();
  HostSet(*plug, Quorvane::kSwap, 1.0);
  plug->ModifyCurrentPreset();
  ByteChunk bank;
  ASSERT_TRUE(plug->SerializePresets(&bank));
  const std::vector<unsigned char> want = {8,   0,   0,   0,   'Q', 'u', 'o', 'r', 'v', 'a',
                                           'n', 'e', 1,   0,   0,   0,   0,   0,   0,   0xF0,
                                           0x3F, 0,  0,   0,   0,   0,   0,   0,   0};
  EXPECT_EQ(Bytes(bank), want);
}

TEST(Presets, DefaultNamesAndFilling)
{
  PresetPlug plug(3);
  EXPECT_STREQ(plug.GetPresetName(0), "empty");
  EXPECT_STREQ(plug.GetPresetName(3), "");
  plug.MakeDefaultPreset(nullptr, 2);
  EXPECT_STREQ(plug.GetPresetName(0), "Empty");
  EXPECT_TRUE(plug.Preset(1)->mInitialized);
  EXPECT_FALSE(plug.Preset(2)->mInitialized);
  EXPECT_EQ(Doubles(plug.Preset(1)->mChunk), (std::vector<double>{1.0, 0.5}));
  plug.MakeDefaultPreset("more", 5); // only one left: the rest do nothing
  EXPECT_STREQ(plug.GetPresetName(2), "more");
  EXPECT_FALSE(plug.MakePresetFromChunk("none left", &plug.Preset(0)->mChunk));
}

TEST(Presets, MakePresetTakesIntsForSwitchKindsAndStoresUnclamped)
{
  PresetPlug plug(2);
  ASSERT_TRUE(plug.MakePreset("p", 42, 0.25));
  EXPECT_EQ(Doubles(plug.Preset(0)->mChunk), (std::vector<double>{42.0, 0.25}));
  EXPECT_EQ(plug.Preset(0)->mChunk.Size(), 16);
}

TEST(Presets, NamedParamsFillTheRestFromLiveValues)
{
  PresetPlug plug(2);
  plug.GetParam(0)->Set(4.0);
  ASSERT_TRUE(plug.MakePresetFromNamedParams("n", 1, 1, 0.75));
  EXPECT_EQ(Doubles(plug.Preset(0)->mChunk), (std::vector<double>{4.0, 0.75}));
  ASSERT_TRUE(plug.MakePresetFromNamedParams("m", 1, 0, 7));
  EXPECT_EQ(Doubles(plug.Preset(1)->mChunk), (std::vector<double>{7.0, 0.5}));
}

TEST(Presets, BlobDecodesIntoAChunkOfTheGivenLength)
{
  PresetPlug plug(2);
  // "AAAAAAAA8D8=" is the 8 bytes of the double 1.0.
  ASSERT_TRUE(plug.MakePresetFromBlob("long", "AAAAAAAA8D8=", 16));
  EXPECT_EQ(Doubles(plug.Preset(0)->mChunk), (std::vector<double>{1.0, 0.0}));
  ASSERT_TRUE(plug.MakePresetFromBlob("short", "AAAAAAAA8D8=", 7));
  EXPECT_EQ(plug.Preset(1)->mChunk.Size(), 7);
  EXPECT_EQ(plug.Preset(1)->mChunk.GetBytes()[6], 0xF0);
}

TEST(Presets, RestoringAnUninitialisedPresetCapturesStateAsUserPreset)
{
  PresetPlug plug(3);
  plug.GetParam(0)->Set(6.0);
  EXPECT_TRUE(plug.RestorePreset(1));
  EXPECT_STREQ(plug.GetPresetName(1), "user preset 1");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(plug.presetsChanged, 1);
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 2");

  plug.GetParam(0)->Set(0.0);
  EXPECT_TRUE(plug.RestorePreset("user preset 1"));
  EXPECT_EQ(plug.GetParam(0)->Value(), 6.0);
  EXPECT_FALSE(plug.RestorePreset(""));
  EXPECT_FALSE(plug.RestorePreset(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(plug.RestorePreset("no such preset"));
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_FALSE(plug.RestorePreset(3));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
}

TEST(Presets, PruneDropsUninitialisedPresets)
{
  PresetPlug plug(4);
  plug.MakePreset("a", 1, 0.1);
  plug.MakePreset("b", 2, 0.2);
  plug.RestorePreset(3); // captured as "user preset 1" and current
  plug.PruneUninitializedPresets();
  EXPECT_EQ(plug.NPresets(), 3);
  EXPECT_STREQ(plug.GetPresetName(1), "b");
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 1");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2); // the index followed its preset
}

TEST(Presets, EnsureDefaultPresetFillsEveryFreeSlot)
{
  PresetPlug plug(3);
  plug.MakePreset("a", 1, 0.1);
  plug.EnsureDefaultPreset();
  EXPECT_STREQ(plug.GetPresetName(1), "Empty");
  EXPECT_STREQ(plug.GetPresetName(2), "Empty");
}

TEST(Presets, LongNamesKeepATerminatedPrefix)
{
  PresetPlug plug(1);
  const std::string name(400, 'n');
  plug.MakeDefaultPreset(name.c_str(), 1);
  EXPECT_EQ(std::string(plug.GetPresetName(0)), name.substr(0, 255));
  plug.ModifyCurrentPreset(name.c_str());
  EXPECT_EQ(std::string(plug.GetPresetName(0)).size(), 255u);
}

TEST(Presets, BankRoundTripsAndRestoresTheCurrentPreset)
{
  PresetPlug a(3);
  a.MakePreset("one", 1, 0.1);
  a.MakePreset("two", 2, 0.2);
  ByteChunk bank;
  ASSERT_TRUE(a.SerializePresets(&bank));

  PresetPlug b(3);
  b.MakeDefaultPreset("x", 3);
  EXPECT_EQ(b.UnserializePresets(&bank, 0), bank.Size());
  EXPECT_STREQ(b.GetPresetName(1), "two");
  EXPECT_FALSE(b.Preset(2)->mInitialized);
  EXPECT_EQ(b.Preset(2)->mChunk.Size(), 0);
  // The current preset (0) was restored into the live parameters.
  EXPECT_EQ(b.GetParam(0)->Value(), 1.0);
  EXPECT_EQ(b.GetParam(1)->Value(), 0.1);
}

TEST(Presets, BankCutShortKeepsEarlierPresetsAndLeavesTheCutOneAlone)
{
  PresetPlug a(2);
  a.MakePreset("one", 3, 0.3);
  a.MakePreset("two", 4, 0.4);
  ByteChunk bank;
  a.SerializePresets(&bank);

  for (int cut = 0; cut < bank.Size(); ++cut)
  {
    ByteChunk part;
    part.PutBytes(bank.GetBytes(), cut);
    PresetPlug b(2);
    b.MakePreset("keep0", 7, 0.7);
    b.MakePreset("keep1", 8, 0.8);
    EXPECT_EQ(b.UnserializePresets(&part, 0), -1) << cut;
    const bool firstWhole = cut >= 4 + 3 + 1 + 16;
    EXPECT_STREQ(b.GetPresetName(0), firstWhole ? "one" : "keep0") << cut;
    EXPECT_STREQ(b.GetPresetName(1), "keep1") << cut;
    EXPECT_EQ(Doubles(b.Preset(1)->mChunk), (std::vector<double>{8.0, 0.8})) << cut;
    // Live parameters end equal to the current preset.
    EXPECT_EQ(b.GetParam(0)->Value(), firstWhole ? 3.0 : 7.0) << cut;
  }
}

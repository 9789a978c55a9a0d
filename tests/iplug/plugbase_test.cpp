#include "test_plugs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(PlugBase, ConstructionStoresIdentityAndDefaults)
{
  TestPlug plug(3, "2-2");
  EXPECT_EQ(plug.NParams(), 3);
  EXPECT_EQ(plug.NPresets(), 1);
  EXPECT_NE(plug.GetParam(2), nullptr);
  EXPECT_EQ(plug.GetParam(3), nullptr);
  EXPECT_EQ(plug.GetParam(-1), nullptr);
  EXPECT_EQ(plug.GetParam(0)->Type(), IParam::kTypeNone);
  EXPECT_EQ(plug.GetHost(), kHostUninit);
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
  EXPECT_EQ(plug.GetBlockSize(), 0);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_STREQ(plug.GetEffectName(), "Test");
  EXPECT_STREQ(plug.GetAPIString(), "AAX");
  EXPECT_STREQ(plug.GetArchString(), "x64");
  EXPECT_EQ(plug.GetGUI(), nullptr);
}

TEST(PlugBase, LongEffectNamesKeepATerminatedPrefix)
{
  const std::string longName(300, 'x');
  TestPlug plug(0, "1-1", 0, longName.c_str());
  EXPECT_EQ(std::strlen(plug.GetEffectName()), 127u);
}

TEST(PlugBase, SetParameterFromGuiStoresSnappedValueButTellsHostTheRawOne)
{
  TestPlug plug(1, "2-2");
  plug.GetParam(0)->InitBool("b", false);
  plug.SetParameterFromGUI(0, 0.7);
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  ASSERT_EQ(plug.informed.size(), 1u);
  EXPECT_EQ(plug.informed[0].first, 0);
  EXPECT_EQ(plug.informed[0].second, 0.7);
  EXPECT_TRUE(plug.heldWhileInforming);
  ASSERT_EQ(plug.changes.size(), 1u);
  EXPECT_EQ(plug.changes[0], 0);
  EXPECT_EQ(plug.MutexDepth(), 0);
}

TEST(PlugBase, AttachGraphicsPushesNormalisedValuesAndTakesOwnership)
{
  int deleted = 0;
  {
    TestPlug plug(2, "2-2");
    plug.GetParam(0)->InitDouble("a", 25.0, 0.0, 100.0, 1.0, "", "", 2.0);
    plug.GetParam(1)->InitBool("b", true);
    plug.AttachGraphics(nullptr); // nothing
    EXPECT_EQ(plug.GetGUI(), nullptr);

    auto* gui = new RecordingGraphics(&deleted);
    plug.AttachGraphics(gui);
    EXPECT_EQ(plug.GetGUI(), gui);
    EXPECT_EQ(gui->prepDraws, 1);
    ASSERT_EQ(gui->calls.size(), 2u);
    EXPECT_EQ(gui->calls[0].idx, 0);
    EXPECT_DOUBLE_EQ(gui->calls[0].value, 0.5);
    EXPECT_TRUE(gui->calls[0].normalized);
    EXPECT_EQ(gui->calls[1].value, 1.0);

    // RedrawParamControls pushes real values, not normalised ones.
    gui->calls.clear();
    plug.RedrawParamControls();
    ASSERT_EQ(gui->calls.size(), 2u);
    EXPECT_EQ(gui->calls[0].value, 25.0);
    EXPECT_FALSE(gui->calls[0].normalized);
    EXPECT_EQ(deleted, 0);
  }
  EXPECT_EQ(deleted, 1); // the base deleted its editor
}

TEST(PlugBase, DirtyParametersInformsEveryParameterUnderTheMutex)
{
  TestPlug plug(2, "2-2");
  plug.GetParam(0)->InitDouble("a", 5.0, 0.0, 10.0, 1.0);
  plug.GetParam(1)->InitBool("b", true);
  plug.DirtyParameters();
  ASSERT_EQ(plug.informed.size(), 2u);
  EXPECT_EQ(plug.informed[0].second, 0.5);
  EXPECT_EQ(plug.informed[1].second, 1.0);
  EXPECT_TRUE(plug.heldWhileInforming);
}

TEST(PlugBase, OnParamResetVisitsEveryIndexInOrder)
{
  TestPlug plug(3, "1-1");
  plug.OnParamReset();
  EXPECT_EQ(plug.changes, (std::vector<int>{0, 1, 2}));
}

TEST(PlugBase, VersionHelpers)
{
  TestPlug plug(0, "1-1"); // version 0x10203 = 1.2.3
  char buf[32];
  plug.GetEffectVersionStr(buf);
  EXPECT_STREQ(buf, "v1.2.3D");
  EXPECT_EQ(plug.GetEffectVersion(true), 10203);
  EXPECT_EQ(plug.GetEffectVersion(false), 0x10203);
  EXPECT_EQ(GetDecimalVersion(0x10000), 10000);
  GetVersionStr(0x10000, buf);
  EXPECT_STREQ(buf, "v1.0.0");
  int major, minor, rev;
  GetVersionParts(0x0A0B0C, &major, &minor, &rev);
  EXPECT_EQ(major, 10);
  EXPECT_EQ(minor, 11);
  EXPECT_EQ(rev, 12);

  plug.SetHost("Reaper", 0x50607);
  EXPECT_EQ(plug.GetHost(), kHostReaper);
  EXPECT_EQ(plug.GetHostVersion(true), 50607);
  EXPECT_EQ(plug.GetHostVersion(false), 0x50607);
  plug.GetHostVersionStr(buf);
  EXPECT_STREQ(buf, "v5.6.7");
}

TEST(PlugBase, SamplesPerBeatNeedsAPositiveTempo)
{
  TestPlug plug(0, "1-1");
  EXPECT_EQ(plug.GetSamplesPerBeat(), 0.0);
  plug.tempo = 120.0;
  EXPECT_EQ(plug.GetSamplesPerBeat(), 22050.0);
}

TEST(PlugBase, MidiThroughAndSendMidiMsgsReportsAnyFailure)
{
  TestPlug plug(0, "1-1");
  IMidiMsg msg(3, 0x90, 60, 100);
  plug.ProcessMidiMsg(&msg);
  ASSERT_EQ(plug.sentMidi.size(), 1u);
  EXPECT_EQ(plug.sentMidi[0].mData1, 60);

  WDL_TypedBuf<IMidiMsg> list;
  list.Add(IMidiMsg(0, 0x80, 1, 0));
  list.Add(IMidiMsg(1, 0x80, 2, 0));
  EXPECT_TRUE(plug.SendMidiMsgs(&list));
  plug.sendResult = false;
  EXPECT_FALSE(plug.SendMidiMsgs(&list));
  EXPECT_EQ(plug.sentMidi.size(), 5u); // every message was still sent

  char name[16] = "x";
  EXPECT_FALSE(plug.MidiNoteName(60, name));
  EXPECT_STREQ(name, "");
}

TEST(PlugBase, SetLatencyRetimesTheDelayLine)
{
  TestPlug plug(0, "1-1", 0);
  plug.MakeDelayLine();
  plug.SetLatency(2);
  EXPECT_EQ(plug.GetLatency(), 2);
  plug.SetBlockSize(3);
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetOutputChannelConnections(0, 1, true);
  double in[3] = {1, 2, 3}, out[3];
  double* ins[] = {in};
  double* outs[] = {out};
  plug.AttachInputBuffers(0, 1, ins, 3);
  plug.AttachOutputBuffers(0, 1, outs);
  plug.PassThroughBuffers(0.0, 3);
  EXPECT_EQ(out[0], 0.0);
  EXPECT_EQ(out[1], 0.0);
  EXPECT_EQ(out[2], 1.0);
}

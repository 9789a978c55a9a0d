// The host-service wrappers talking to the stand-in host's components: every
// operation reaches its host operation with its arguments, missing interface
// versions give the fixed results, and references are released.
#include "StandInHost.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "ACF/acfuids.h"
#include "AAX_UIDs.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VHostServices.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace aaxhost;

namespace
{
HostConfig FirstVersionsOnly()
{
  HostConfig c;
  c.controller = 1;
  c.pageTableController = 1;
  c.transport = 1;
  c.hostServices = 1;
  c.pageTable = 1;
  c.viewContainer = 1;
  return c;
}

void ExpectLast(CallLog& log, const char* op, const std::string& args)
{
  const Call c = log.Last();
  EXPECT_EQ(c.op, op);
  EXPECT_EQ(c.args, args) << op;
}
} // namespace

TEST(ControllerWrapper, ForwardsEveryOperationWithItsArguments)
{
  StandInHost host;
  ControllerState st;
  st.effectID = "effect.id";
  st.sampleRate = 48000.0f;
  st.inputStemFormat = AAX_STEM_FORMAT(0, 1);
  st.outputStemFormat = AAX_STEM_FORMAT(1, 2);
  st.meters[7] = Meter{0.25f, 0.75f, true};
  st.midiIn.push_back({3, AAX_CMidiPacket{12, 3, {0x90, 60, 100, 0}, 0}});
  st.hostName = "Stand-in";
  st.targetPlatform = 2;
  st.isAudioSuite = true;
  st.todLocation = 123456789012;
  st.automationTimestamp = 77;
  st.hybridSignalLatency = 64;
  host.Controller()->SetState(st);
  CallLog& log = host.Controller()->Calls();

  AAX_VController c(host.Unknown());
  AAX_CString s;
  EXPECT_EQ(c.GetEffectID(&s), 0);
  EXPECT_EQ(s.StdString(), "effect.id");
  float f = 0;
  EXPECT_EQ(c.GetSampleRate(&f), 0);
  EXPECT_EQ(f, 48000.0f);
  AAX_EStemFormat stem{};
  EXPECT_EQ(c.GetInputStemFormat(&stem), 0);
  EXPECT_EQ(stem, 0x00000001);
  EXPECT_EQ(c.GetOutputStemFormat(&stem), 0);
  EXPECT_EQ(stem, 0x00010002);

  EXPECT_EQ(c.SetSignalLatency(256), 0);
  ExpectLast(log, "SetSignalLatency", "256");
  int32_t i = 0;
  EXPECT_EQ(c.GetSignalLatency(&i), 0);
  EXPECT_EQ(i, 256);

  AAX_EProperty which[2] = {AAX_EProperty(5), AAX_EProperty(6)};
  AAX_CPropertyValue values[2] = {100, 200};
  EXPECT_EQ(c.SetCycleCount(which, values, 2), 0);
  ExpectLast(log, "SetCycleCount", "5, 100; 6, 200; 2");
  EXPECT_EQ(c.GetCycleCount(AAX_EProperty(6), &i), 0);
  EXPECT_EQ(i, 200);

  int64_t l = 0;
  EXPECT_EQ(c.GetTODLocation(&l), 0);
  EXPECT_EQ(l, 123456789012);

  const uint8_t payload[3] = {1, 2, 3};
  EXPECT_EQ(c.PostPacket(4, payload, 3), 0);
  EXPECT_EQ(log.Last().op, "PostPacket");
  const int32_t word = 9;
  EXPECT_EQ(c.SendNotification(0x41535076, &word, 4), 0);
  EXPECT_EQ(c.SendNotification(0x1234), 0);
  ExpectLast(log, "SendNotification", "4660, null, 0");
  const ControllerState after = host.Controller()->State();
  ASSERT_EQ(after.packets.size(), 1u);
  EXPECT_EQ(after.packets[0].port, 4);
  EXPECT_EQ(after.packets[0].bytes, std::vector<uint8_t>({1, 2, 3}));
  ASSERT_EQ(after.notifications.size(), 2u);
  EXPECT_EQ(after.notifications[0].type, 0x41535076u);
  EXPECT_EQ(after.notifications[0].bytes.size(), 4u);
  EXPECT_TRUE(after.notifications[1].bytes.empty());

  EXPECT_EQ(c.GetCurrentMeterValue(7, &f), 0);
  EXPECT_EQ(f, 0.25f);
  EXPECT_EQ(c.GetMeterPeakValue(7, &f), 0);
  EXPECT_EQ(f, 0.75f);
  EXPECT_EQ(c.ClearMeterPeakValue(7), 0);
  EXPECT_EQ(c.GetMeterPeakValue(7, &f), 0);
  EXPECT_EQ(f, 0.0f);
  uint8_t clipped = 0;
  EXPECT_EQ(c.GetMeterClipped(7, &clipped), 0);
  EXPECT_EQ(clipped, 1);
  EXPECT_EQ(c.ClearMeterClipped(7), 0);
  EXPECT_EQ(c.GetMeterClipped(7, &clipped), 0);
  EXPECT_EQ(clipped, 0);
  EXPECT_EQ(c.GetCurrentMeterValue(8, &f), AAX_ERROR_INVALID_METER_INDEX);
  uint32_t u = 0;
  EXPECT_EQ(c.GetMeterCount(&u), 0);
  EXPECT_EQ(u, 1u);

  AAX_CMidiPacket midi{};
  int32_t port = -1;
  EXPECT_EQ(c.GetNextMIDIPacket(&port, &midi), 0);
  EXPECT_EQ(port, 3);
  EXPECT_EQ(midi.mTimestamp, 12u);
  EXPECT_EQ(midi.mData[1], 60);
  EXPECT_NE(c.GetNextMIDIPacket(&port, &midi), 0); // queue drained

  EXPECT_EQ(c.GetHybridSignalLatency(&i), 0);
  EXPECT_EQ(i, 64);
  EXPECT_EQ(c.GetCurrentAutomationTimestamp(&l), 0);
  EXPECT_EQ(l, 77);
  EXPECT_EQ(c.GetHostName(&s), 0);
  EXPECT_EQ(s.StdString(), "Stand-in");
  EXPECT_EQ(c.GetPlugInTargetPlatform(&i), 0);
  EXPECT_EQ(i, 2);
  EXPECT_EQ(c.GetIsAudioSuite(&clipped), 0);
  EXPECT_EQ(clipped, 1);
}

TEST(ControllerWrapper, FirstVersionHostGivesUnimplementedForLaterOperations)
{
  StandInHost host(FirstVersionsOnly());
  AAX_VController c(host.Unknown());
  AAX_CString s;
  int32_t i = 0;
  int64_t l = 0;
  uint8_t b = 0;
  EXPECT_EQ(c.SendNotification(1, nullptr, 0), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(c.SendNotification(1), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(c.GetHostName(&s), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(c.GetHybridSignalLatency(&i), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(c.GetCurrentAutomationTimestamp(&l), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(c.GetPlugInTargetPlatform(&i), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(c.GetIsAudioSuite(&b), AAX_ERROR_UNIMPLEMENTED);
  const float v = 1.0f;
  EXPECT_EQ(c.PostPacket(2, &v, 4), 0);
  EXPECT_EQ(host.Controller()->State().packets.size(), 1u);
  EXPECT_EQ(host.Controller()->Calls().Count("SendNotification"), 0u);
  // Version 1 page-table controller only: the file forms give null.
  EXPECT_EQ(c.CreateTableCopyForEffectFromFile("p", AAX_ETextEncoding(0), 1, 2, 3, 0, 8), nullptr);
  EXPECT_EQ(c.CreateTableCopyForLayoutFromFile("p", AAX_ETextEncoding(0), "l", 0, 8), nullptr);
}

TEST(ControllerWrapper, SecondVersionHostStillLacksTheThirdVersion)
{
  HostConfig config;
  config.controller = 2;
  StandInHost host(config);
  AAX_VController c(host.Unknown());
  int32_t i = 0;
  AAX_CString s;
  EXPECT_EQ(c.GetHostName(&s), 0);
  EXPECT_EQ(c.GetPlugInTargetPlatform(&i), AAX_ERROR_UNIMPLEMENTED);
}

TEST(ControllerWrapper, PageTableCopiesGoThroughAFactoryTable)
{
  StandInHost host;
  ControllerState st = host.Controller()->State();
  st.pageTable = {{"1", "", "2"}, {"MasterBypassID"}};
  host.Controller()->SetState(st);
  AAX_VController c(host.Unknown());

  std::unique_ptr<AAX_IPageTable> t(c.CreateTableCopyForEffect(11, 12, 13, 7, 8));
  ASSERT_NE(t, nullptr);
  ExpectLast(host.Factory()->Calls(), "CreateComponent",
             Args(ToText(AAXCompID_PageTable), static_cast<const void*>(nullptr),
                  ToText(IID_IAAXPageTableV2)));
  EXPECT_EQ(host.Controller()->Calls().Last().op, "CreateTableCopyForEffect");
  EXPECT_EQ(host.Controller()->Calls().Last().args.substr(0, 18), "11, 12, 13, 7, 8, ");
  int32_t pages = 0;
  EXPECT_EQ(t->GetNumPages(pages), 0);
  EXPECT_EQ(pages, 2);
  AAX_CString id;
  EXPECT_EQ(t->GetMappedParameterID(0, 2, id), 0);
  EXPECT_EQ(id.StdString(), "2");
  EXPECT_EQ(t->GetMappedParameterID(1, 0, id), 0);
  EXPECT_EQ(id.StdString(), "MasterBypassID");

  std::unique_ptr<AAX_IPageTable> layout(c.CreateTableCopyForLayout("fx", "Main", 1, 4));
  ASSERT_NE(layout, nullptr);
  ExpectLast(host.Controller()->Calls(), "CreateTableCopyForLayout",
             Args("fx", "Main", 1u, 4, static_cast<void*>(host.PageTables()[1].get())));
  std::unique_ptr<AAX_IPageTable> f1(
      c.CreateTableCopyForEffectFromFile("/p.xml", AAX_ETextEncoding(0), 1, 2, 3, 4, 5));
  std::unique_ptr<AAX_IPageTable> f2(
      c.CreateTableCopyForLayoutFromFile("/p.xml", AAX_ETextEncoding(0), "L", 4, 5));
  EXPECT_NE(f1, nullptr);
  EXPECT_NE(f2, nullptr);
  EXPECT_EQ(host.PageTables().size(), 4u);
}

TEST(ControllerWrapper, PageTableCopyGivesNullWhenAnythingIsMissing)
{
  HostConfig noController;
  noController.pageTableController = 0;
  StandInHost a(noController);
  AAX_VController ca(a.Unknown());
  EXPECT_EQ(ca.CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
  EXPECT_EQ(a.PageTables().size(), 1u); // the empty table is made first

  HostConfig oldTables;
  oldTables.pageTable = 1; // the host cannot make a version-2 table
  StandInHost b(oldTables);
  AAX_VController cb(b.Unknown());
  EXPECT_EQ(cb.CreateTableCopyForLayout("fx", "L", 0, 8), nullptr);
  EXPECT_EQ(b.Controller()->Calls().Count("CreateTableCopyForLayout"), 0u);

  HostConfig noFactory;
  noFactory.componentFactory = false;
  StandInHost d(noFactory);
  AAX_VController cd(d.Unknown());
  EXPECT_EQ(cd.CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
}

TEST(NullHost, EveryWrapperGivesItsFixedResults)
{
  AAX_VController c(nullptr);
  AAX_CString s;
  float f;
  int32_t i;
  int64_t l;
  uint32_t u;
  uint8_t b;
  AAX_EStemFormat stem;
  AAX_CMidiPacket midi;
  AAX_EProperty prop = AAX_EProperty(1);
  EXPECT_EQ(c.GetEffectID(&s), -20004);
  EXPECT_EQ(c.GetSampleRate(&f), -20004);
  EXPECT_EQ(c.GetInputStemFormat(&stem), -20004);
  EXPECT_EQ(c.GetOutputStemFormat(&stem), -20004);
  EXPECT_EQ(c.GetSignalLatency(&i), -20004);
  EXPECT_EQ(c.GetCycleCount(prop, &i), -20004);
  EXPECT_EQ(c.GetTODLocation(&l), -20004);
  EXPECT_EQ(c.SetSignalLatency(1), -20004);
  EXPECT_EQ(c.SetCycleCount(&prop, &i, 1), -20004);
  EXPECT_EQ(c.PostPacket(0, &f, 4), -20004);
  EXPECT_EQ(c.SendNotification(1, &f, 4), -20009);
  EXPECT_EQ(c.SendNotification(1), -20009);
  EXPECT_EQ(c.GetCurrentMeterValue(0, &f), -20004);
  EXPECT_EQ(c.GetMeterPeakValue(0, &f), -20004);
  EXPECT_EQ(c.ClearMeterPeakValue(0), -20004);
  EXPECT_EQ(c.GetMeterCount(&u), -20004);
  EXPECT_EQ(c.GetMeterClipped(0, &b), -20004);
  EXPECT_EQ(c.ClearMeterClipped(0), -20004);
  EXPECT_EQ(c.GetNextMIDIPacket(&i, &midi), -20004);
  EXPECT_EQ(c.GetHybridSignalLatency(&i), -20009);
  EXPECT_EQ(c.GetCurrentAutomationTimestamp(&l), -20009);
  EXPECT_EQ(c.GetHostName(&s), -20009);
  EXPECT_EQ(c.GetPlugInTargetPlatform(&i), -20009);
  EXPECT_EQ(c.GetIsAudioSuite(&b), -20009);
  EXPECT_EQ(c.CreateTableCopyForEffect(1, 2, 3, 0, 8), nullptr);
  EXPECT_EQ(c.CreateTableCopyForLayout("e", "l", 0, 8), nullptr);

  AAX_VAutomationDelegate a(nullptr);
  EXPECT_EQ(a.RegisterParameter("1"), -20004);
  EXPECT_EQ(a.UnregisterParameter("1"), -20004);
  EXPECT_EQ(a.PostSetValueRequest("1", 0.5), -20004);
  EXPECT_EQ(a.PostCurrentValue("1", 0.5), -20004);
  EXPECT_EQ(a.PostTouchRequest("1"), -20004);
  EXPECT_EQ(a.PostReleaseRequest("1"), -20004);
  EXPECT_EQ(a.GetTouchState("1", &b), -20004);

  AAX_VTransport t(nullptr);
  double d;
  bool playing;
  AAX_EFrameRate fr;
  AAX_EFeetFramesRate ff;
  int32_t j;
  int64_t m;
  EXPECT_EQ(t.GetCurrentTempo(&d), -20004);
  EXPECT_EQ(t.GetCurrentMeter(&i, &j), -20004);
  EXPECT_EQ(t.IsTransportPlaying(&playing), -20004);
  EXPECT_EQ(t.GetCurrentTickPosition(&l), -20004);
  EXPECT_EQ(t.GetCurrentLoopPosition(&playing, &l, &m), -20004);
  EXPECT_EQ(t.GetCurrentNativeSampleLocation(&l), -20004);
  EXPECT_EQ(t.GetCustomTickPosition(&l, 0), -20004);
  EXPECT_EQ(t.GetBarBeatPosition(&i, &j, &l, 0), -20004);
  EXPECT_EQ(t.GetTicksPerQuarter(&u), -20004);
  EXPECT_EQ(t.GetCurrentTicksPerBeat(&u), -20004);
  EXPECT_EQ(t.GetTimelineSelectionStartPosition(&l), -20009);
  EXPECT_EQ(t.GetTimeCodeInfo(&fr, &i), -20009);
  EXPECT_EQ(t.GetFeetFramesInfo(&ff, &l), -20009);
  EXPECT_EQ(t.IsMetronomeEnabled(&i), -20009);

  AAX_VViewContainer v(nullptr);
  AAX_Point pt{1, 2};
  const char* ids[] = {"1"};
  EXPECT_EQ(v.GetType(), 0);
  EXPECT_EQ(v.GetPtr(), nullptr);
  EXPECT_EQ(v.GetModifiers(&u), -20009);
  EXPECT_EQ(v.SetViewSize(pt), 0);
  EXPECT_EQ(v.HandleParameterMouseDown("1", 0), -20009);
  EXPECT_EQ(v.HandleParameterMouseDrag("1", 0), -20009);
  EXPECT_EQ(v.HandleParameterMouseUp("1", 0), -20009);
  EXPECT_EQ(v.HandleMultipleParametersMouseDown(ids, 1, 0), -20009);
  EXPECT_EQ(v.HandleMultipleParametersMouseDrag(ids, 1, 0), -20009);
  EXPECT_EQ(v.HandleMultipleParametersMouseUp(ids, 1, 0), -20009);

  AAX_VPageTable p(nullptr);
  EXPECT_FALSE(p.IsSupported());
  EXPECT_EQ(p.Clear(), -20009);
  EXPECT_EQ(p.Empty(b), -20009);
  EXPECT_EQ(p.GetNumPages(i), -20009);
  EXPECT_EQ(p.InsertPage(0), -20009);
  EXPECT_EQ(p.RemovePage(0), -20009);
  EXPECT_EQ(p.GetNumMappedParameterIDs(0, i), -20009);
  EXPECT_EQ(p.ClearMappedParameter(0, 0), -20009);
  EXPECT_EQ(p.GetMappedParameterID(0, 0, s), -20009);
  EXPECT_EQ(p.MapParameterID("1", 0, 0), -20009);
  EXPECT_EQ(p.GetNumParametersWithNameVariations(i), -20009);
  EXPECT_EQ(p.GetNameVariationParameterIDAtIndex(0, s), -20009);
  EXPECT_EQ(p.GetNumNameVariationsForParameter("1", i), -20009);
  EXPECT_EQ(p.GetParameterNameVariationAtIndex("1", 0, s, i), -20009);
  EXPECT_EQ(p.GetParameterNameVariationOfLength("1", 4, s), -20009);
  EXPECT_EQ(p.ClearParameterNameVariations(), -20009);
  EXPECT_EQ(p.ClearNameVariationsForParameter("1"), -20009);
  EXPECT_EQ(p.SetParameterNameVariation("1", s, 4), -20009);

  AAX_VHostServices h(nullptr);
  EXPECT_EQ(h.HandleAssertFailure("f", 1, "n", 3), -20004);
  EXPECT_EQ(h.Trace(1, "m"), -20004);
  EXPECT_EQ(h.StackTrace(1, 1, "m"), -20009);
}

TEST(AutomationWrapper, ForwardsRegistrationTouchAndRequests)
{
  StandInHost host;
  HostAutomationDelegate& hd = *host.Automation();
  AAX_VAutomationDelegate a(host.Unknown());
  EXPECT_EQ(a.PostTouchRequest("1"), AAX_ERROR_INVALID_PARAMETER_ID); // not registered yet
  EXPECT_EQ(a.RegisterParameter("1"), 0);
  EXPECT_EQ(a.RegisterParameter("MasterBypassID"), 0);
  EXPECT_EQ(hd.Registered(), (std::set<std::string>{"1", "MasterBypassID"}));
  uint8_t touched = 9;
  EXPECT_EQ(a.GetTouchState("1", &touched), 0);
  EXPECT_EQ(touched, 0);
  EXPECT_EQ(a.PostTouchRequest("1"), 0);
  EXPECT_EQ(a.GetTouchState("1", &touched), 0);
  EXPECT_EQ(touched, 1);
  EXPECT_EQ(a.PostSetValueRequest("1", 0.25), 0);
  ExpectLast(hd.Calls(), "PostSetValueRequest", "\"1\", 0.25");
  EXPECT_EQ(a.PostReleaseRequest("1"), 0);
  EXPECT_FALSE(hd.IsTouched("1"));
  EXPECT_EQ(a.PostCurrentValue("1", 0.75), 0);
  double v = 0;
  EXPECT_TRUE(hd.CurrentValue("1", &v));
  EXPECT_EQ(v, 0.75);
  ASSERT_EQ(hd.SetRequests().size(), 1u);
  EXPECT_EQ(hd.SetRequests()[0].id, "1");
  EXPECT_EQ(hd.SetRequests()[0].value, 0.25);
  EXPECT_EQ(a.UnregisterParameter("1"), 0);
  EXPECT_EQ(a.PostSetValueRequest("1", 0.5), AAX_ERROR_INVALID_PARAMETER_ID);
}

TEST(TransportWrapper, ForwardsEveryOperation)
{
  StandInHost host;
  TransportState st;
  st.tempo = 90.0;
  st.meterNumerator = 3;
  st.meterDenominator = 4;
  st.playing = true;
  st.tickPosition = 1920000;
  st.looping = true;
  st.loopStartTick = 10;
  st.loopEndTick = 20;
  st.nativeSampleLocation = 4410;
  st.ticksPerQuarter = 960000;
  st.sampleRate = 48000.0;
  st.selectionStart = 555;
  st.frameRate = AAX_EFrameRate(3);
  st.timeCodeOffset = 30;
  st.feetFramesRate = AAX_EFeetFramesRate(1);
  st.feetFramesOffset = 40;
  st.metronome = true;
  host.Transport()->SetState(st);
  AAX_VTransport t(host.Unknown());
  double d = 0;
  int32_t i = 0, j = 0;
  int64_t l = 0, m = 0;
  uint32_t u = 0;
  bool b = false;
  EXPECT_EQ(t.GetCurrentTempo(&d), 0);
  EXPECT_EQ(d, 90.0);
  EXPECT_EQ(t.GetCurrentMeter(&i, &j), 0);
  EXPECT_EQ(i, 3);
  EXPECT_EQ(j, 4);
  EXPECT_EQ(t.IsTransportPlaying(&b), 0);
  EXPECT_TRUE(b);
  EXPECT_EQ(t.GetCurrentTickPosition(&l), 0);
  EXPECT_EQ(l, 1920000);
  EXPECT_EQ(t.GetCurrentLoopPosition(&b, &l, &m), 0);
  EXPECT_EQ(l, 10);
  EXPECT_EQ(m, 20);
  EXPECT_EQ(t.GetCurrentNativeSampleLocation(&l), 0);
  EXPECT_EQ(l, 4410);
  // 90 quarters a minute at 48 kHz: 32000 samples per quarter.
  EXPECT_EQ(t.GetCustomTickPosition(&l, 48000), 0);
  EXPECT_EQ(l, 1440000);
  ExpectLast(host.Transport()->Calls(), "GetCustomTickPosition",
             Args(static_cast<void*>(&l), int64_t(48000)));
  // Sample 32000 * 7 + 16000: quarter 7.5 → bar 3 (3/4), beat 2, half a beat.
  int64_t ticks = 0;
  EXPECT_EQ(t.GetBarBeatPosition(&i, &j, &ticks, 32000 * 7 + 16000), 0);
  EXPECT_EQ(i, 3);
  EXPECT_EQ(j, 2);
  EXPECT_EQ(ticks, 480000);
  EXPECT_EQ(t.GetTicksPerQuarter(&u), 0);
  EXPECT_EQ(u, 960000u);
  EXPECT_EQ(t.GetCurrentTicksPerBeat(&u), 0);
  EXPECT_EQ(u, 960000u);
  EXPECT_EQ(t.GetTimelineSelectionStartPosition(&l), 0);
  EXPECT_EQ(l, 555);
  AAX_EFrameRate fr{};
  EXPECT_EQ(t.GetTimeCodeInfo(&fr, &i), 0);
  EXPECT_EQ(fr, 3);
  EXPECT_EQ(i, 30);
  AAX_EFeetFramesRate ff{};
  EXPECT_EQ(t.GetFeetFramesInfo(&ff, &l), 0);
  EXPECT_EQ(ff, 1);
  EXPECT_EQ(l, 40);
  EXPECT_EQ(t.IsMetronomeEnabled(&i), 0);
  EXPECT_EQ(i, 1);
}

TEST(TransportWrapper, FirstVersionHostGivesUnimplementedForTheSecond)
{
  StandInHost host(FirstVersionsOnly());
  AAX_VTransport t(host.Unknown());
  double d = 0;
  int64_t l = 0;
  int32_t i = 0;
  EXPECT_EQ(t.GetCurrentTempo(&d), 0);
  EXPECT_EQ(t.GetTimelineSelectionStartPosition(&l), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(t.IsMetronomeEnabled(&i), AAX_ERROR_UNIMPLEMENTED);
}

TEST(ViewContainerWrapper, ForwardsViewSizeModifiersAndMouse)
{
  StandInHost host;
  int window = 0;
  Ref<HostViewContainer> vc = host.NewViewContainer(&window, 3);
  vc->SetModifiers(5);
  AAX_VViewContainer v(static_cast<AAX_IACFViewContainer*>(vc.get()));
  EXPECT_EQ(v.GetType(), 3);
  EXPECT_EQ(v.GetPtr(), &window);
  uint32_t mods = 0;
  EXPECT_EQ(v.GetModifiers(&mods), 0);
  EXPECT_EQ(mods, 5u);
  AAX_Point size{120, 190};
  EXPECT_EQ(v.SetViewSize(size), 0);
  ASSERT_EQ(vc->SizeRequests().size(), 1u);
  EXPECT_EQ(vc->SizeRequests()[0].vert, 120);
  EXPECT_EQ(vc->SizeRequests()[0].horz, 190);
  EXPECT_NE(v.HandleParameterMouseDown("2", 1), 0); // not taken by default
  ExpectLast(vc->Calls(), "HandleParameterMouseDown", "\"2\", 1");
  vc->SetMouseResult(0);
  EXPECT_EQ(v.HandleParameterMouseDrag("2", 8), 0);
  ExpectLast(vc->Calls(), "HandleParameterMouseDrag", "\"2\", 8");
  EXPECT_EQ(v.HandleParameterMouseUp("2", 0), 0);
  const char* ids[] = {"1", "2"};
  EXPECT_EQ(v.HandleMultipleParametersMouseDown(ids, 2, 4), 0);
  ExpectLast(vc->Calls(), "HandleMultipleParametersMouseDown", "\"1\" \"2\" 2, 4");
  EXPECT_EQ(v.HandleMultipleParametersMouseDrag(ids, 2, 4), 0);
  EXPECT_EQ(v.HandleMultipleParametersMouseUp(ids, 1, 0), 0);
  ExpectLast(vc->Calls(), "HandleMultipleParametersMouseUp", "\"1\" 1, 0");
}

TEST(ViewContainerWrapper, FirstVersionContainerLacksMultipleParameterMouse)
{
  StandInHost host(FirstVersionsOnly());
  Ref<HostViewContainer> vc = host.NewViewContainer(nullptr);
  AAX_VViewContainer v(static_cast<AAX_IACFViewContainer*>(vc.get()));
  const char* ids[] = {"1"};
  EXPECT_EQ(v.HandleMultipleParametersMouseDown(ids, 1, 0), AAX_ERROR_UNIMPLEMENTED);
  vc->SetMouseResult(0);
  EXPECT_EQ(v.HandleParameterMouseDown("1", 0), 0);
}

TEST(PageTableWrapper, ForwardsPagesAndNameVariations)
{
  Ref<HostPageTable> table = Make<HostPageTable>(2);
  AAX_VPageTable p(static_cast<AAX_IACFPageTable*>(table.get()));
  EXPECT_TRUE(p.IsSupported());
  uint8_t empty = 0;
  EXPECT_EQ(p.Empty(empty), 0);
  EXPECT_EQ(empty, 1);
  EXPECT_EQ(p.InsertPage(0), 0);
  EXPECT_EQ(p.InsertPage(0), 0);
  EXPECT_EQ(p.InsertPage(5), AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_EQ(p.MapParameterID("1", 1, 2), 0);
  ExpectLast(table->Calls(), "MapParameterID", "\"1\", 1, 2");
  int32_t n = 0;
  EXPECT_EQ(p.GetNumPages(n), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(p.GetNumMappedParameterIDs(1, n), 0);
  EXPECT_EQ(n, 3);
  AAX_CString id;
  EXPECT_EQ(p.GetMappedParameterID(1, 2, id), 0);
  EXPECT_EQ(id.StdString(), "1");
  EXPECT_EQ(p.ClearMappedParameter(1, 2), 0);
  EXPECT_EQ(p.GetMappedParameterID(1, 2, id), 0);
  EXPECT_TRUE(id.Empty());
  EXPECT_EQ(p.RemovePage(0), 0);
  EXPECT_EQ(table->Pages().size(), 1u);

  EXPECT_EQ(p.SetParameterNameVariation("1", AAX_CString("Swap"), 4), 0);
  EXPECT_EQ(p.SetParameterNameVariation("1", AAX_CString("Sw"), 2), 0);
  EXPECT_EQ(p.SetParameterNameVariation("2", AAX_CString("Mono"), 4), 0);
  EXPECT_EQ(p.GetNumParametersWithNameVariations(n), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(p.GetNameVariationParameterIDAtIndex(1, id), 0);
  EXPECT_EQ(id.StdString(), "2");
  EXPECT_EQ(p.GetNumNameVariationsForParameter("1", n), 0);
  EXPECT_EQ(n, 2);
  int32_t len = 0;
  EXPECT_EQ(p.GetParameterNameVariationAtIndex("1", 0, id, len), 0);
  EXPECT_EQ(id.StdString(), "Sw");
  EXPECT_EQ(len, 2);
  EXPECT_EQ(p.GetParameterNameVariationOfLength("1", 4, id), 0);
  EXPECT_EQ(id.StdString(), "Swap");
  EXPECT_EQ(p.ClearNameVariationsForParameter("1"), 0);
  EXPECT_EQ(p.GetNumParametersWithNameVariations(n), 0);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(p.ClearParameterNameVariations(), 0);
  EXPECT_EQ(p.Clear(), 0);
  EXPECT_EQ(p.Empty(empty), 0);
  EXPECT_EQ(empty, 1);
}

TEST(PageTableWrapper, FirstVersionTableLacksNameVariations)
{
  Ref<HostPageTable> table = Make<HostPageTable>(1);
  AAX_VPageTable p(static_cast<AAX_IACFPageTable*>(table.get()));
  EXPECT_TRUE(p.IsSupported());
  int32_t n = 0;
  EXPECT_EQ(p.GetNumPages(n), 0);
  EXPECT_EQ(p.GetNumParametersWithNameVariations(n), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(p.SetParameterNameVariation("1", AAX_CString("x"), 1), AAX_ERROR_UNIMPLEMENTED);
}

TEST(HostServicesWrapper, AcquiresItsThreeVersionsThroughTheFactory)
{
  StandInHost host;
  {
    AAX_VHostServices h(host.Unknown());
    const std::vector<Call> creations = host.Factory()->Calls().All();
    ASSERT_EQ(creations.size(), 3u);
    const std::string none = Args(static_cast<const void*>(nullptr));
    EXPECT_EQ(creations[0].args,
              ToText(AAXCompID_HostServices) + ", " + none + ", " + ToText(IID_IAAXHostServicesV1));
    EXPECT_EQ(creations[1].args,
              ToText(AAXCompID_HostServices) + ", " + none + ", " + ToText(IID_IAAXHostServicesV2));
    EXPECT_EQ(creations[2].args,
              ToText(AAXCompID_HostServices) + ", " + none + ", " + ToText(IID_IAAXHostServicesV3));
    // The host object itself was asked for the factory only.
    const std::vector<acfIID> asked = host.Object().Queries();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0] == IID_IACFComponentFactory);

    EXPECT_EQ(h.Trace(0x04000000, "hello"), 0);
    ExpectLast(host.Services()->Calls(), "Trace", "67108864, \"hello\"");
    EXPECT_EQ(h.StackTrace(0x01000000, 0x01000000, "s"), 0);
    ExpectLast(host.Services()->Calls(), "StackTrace", "16777216, 16777216, \"s\"");
    EXPECT_EQ(h.HandleAssertFailure("a.cpp", 12, "x != 0", 3), 0);
    ExpectLast(host.Services()->Calls(), "HandleAssertFailure_V3", "\"a.cpp\", 12, \"x != 0\", 3");
    EXPECT_EQ(host.Services()->RefCount(), 4u); // the host's and the wrapper's three
  }
  EXPECT_EQ(host.Services()->RefCount(), 1u);
}

TEST(HostServicesWrapper, FirstVersionHostReportsAssertionsWithoutFlags)
{
  StandInHost host(FirstVersionsOnly());
  AAX_VHostServices h(host.Unknown());
  EXPECT_EQ(h.HandleAssertFailure("a.cpp", 7, "cond", 3), 0);
  ExpectLast(host.Services()->Calls(), "HandleAssertFailure", "\"a.cpp\", 7, \"cond\"");
  EXPECT_EQ(h.StackTrace(1, 1, "m"), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(h.Trace(1, "m"), 0);
}

TEST(WrapperReferences, EveryAcquiredReferenceIsReleased)
{
  StandInHost host;
  const acfUInt32 controller = host.Controller()->RefCount();
  const acfUInt32 automation = host.Automation()->RefCount();
  const acfUInt32 transport = host.Transport()->RefCount();
  const acfUInt32 factory = host.Factory()->RefCount();
  {
    AAX_VController c(host.Unknown());
    AAX_VAutomationDelegate a(host.Unknown());
    AAX_VTransport t(host.Unknown());
    EXPECT_EQ(host.Controller()->RefCount(), controller + 5); // 3 controller + 2 page-table
    EXPECT_EQ(host.Automation()->RefCount(), automation + 1);
    EXPECT_EQ(host.Transport()->RefCount(), transport + 2);
    EXPECT_EQ(host.Factory()->RefCount(), factory + 1);
    std::unique_ptr<AAX_IPageTable> table(c.CreateTableCopyForEffect(1, 2, 3, 0, 8));
    ASSERT_NE(table, nullptr);
    // The host's list, the wrapper's two versions (PageTables() hands out one more).
    EXPECT_EQ(host.PageTables()[0]->RefCount(), 3u + 1u);
  }
  EXPECT_EQ(host.Controller()->RefCount(), controller);
  EXPECT_EQ(host.Automation()->RefCount(), automation);
  EXPECT_EQ(host.Transport()->RefCount(), transport);
  EXPECT_EQ(host.Factory()->RefCount(), factory);
  EXPECT_EQ(host.PageTables()[0]->RefCount(), 1u + 1u);
}

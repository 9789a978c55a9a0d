// Slot positions of every host interface: each operation is called through
// the interface's table at the slot number the host relies on, with the
// expected signature, and the recording component must have received exactly
// that operation.
#include "RecordingEffectParameters.h"
#include "StandInHost.h"

#include "AAX_CString.h"
#include "AAX_IEffectGUI.h"
#include "ACF/acfuids.h"
#include "AAX_UIDs.h"

#include <gtest/gtest.h>

#include <functional>

using namespace aaxhost;

namespace
{
// Calls slot n of the object's table as a function of the given signature
// (the object pointer is the hidden first argument).
template <class R, class... A> R CallSlot(void* object, int slot, A... args)
{
  using Fn = R (*)(void*, A...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

struct SlotCase
{
  int slot;
  const char* op;
  std::function<void(void*)> call;
};

// The IACFUnknown slots: 0 answers a query, 1 and 2 count.
void CheckUnknownSlots(void* iface, const acfIID& iid)
{
  void* out = nullptr;
  EXPECT_EQ((CallSlot<ACFRESULT, const acfIID&, void**>(iface, 0, iid, &out)), 0);
  EXPECT_EQ(out, iface);
  const acfUInt32 n = CallSlot<acfUInt32>(iface, 1);
  EXPECT_EQ(CallSlot<acfUInt32>(iface, 2), n - 1);
  static_cast<IACFUnknown*>(out)->Release();
}

void RunCases(void* iface, CallLog& log, const std::vector<SlotCase>& cases)
{
  for (const SlotCase& c : cases)
  {
    c.call(iface);
    EXPECT_EQ(log.Last().op, c.op) << "slot " << c.slot;
  }
}

template <class T> T* Query(IACFUnknown* unk, const acfIID& iid)
{
  void* p = nullptr;
  EXPECT_EQ(unk->QueryInterface(iid, &p), 0);
  return static_cast<T*>(p);
}

using R = AAX_Result;
} // namespace

TEST(HostSlots, ControllerOperationsStandAtTheirSlots)
{
  StandInHost host;
  auto* c = Query<AAX_IACFController_V3>(host.Unknown(), IID_IAAXControllerV3);
  CheckUnknownSlots(c, IID_IAAXControllerV1);
  AAX_CString s;
  float f = 0;
  int32_t i = 0;
  int64_t l = 0;
  uint32_t u = 0;
  uint8_t b = 0;
  AAX_EStemFormat stem{};
  AAX_EProperty prop{};
  AAX_CPropertyValue val = 0;
  AAX_CMidiPacket midi{};
  const std::vector<SlotCase> cases = {
      {3, "GetEffectID", [&](void* o) { CallSlot<R, AAX_IString*>(o, 3, &s); }},
      {4, "GetSampleRate", [&](void* o) { CallSlot<R, float*>(o, 4, &f); }},
      {5, "GetInputStemFormat", [&](void* o) { CallSlot<R, AAX_EStemFormat*>(o, 5, &stem); }},
      {6, "GetOutputStemFormat", [&](void* o) { CallSlot<R, AAX_EStemFormat*>(o, 6, &stem); }},
      {7, "GetSignalLatency", [&](void* o) { CallSlot<R, int32_t*>(o, 7, &i); }},
      {8, "GetCycleCount", [&](void* o) { CallSlot<R, AAX_EProperty, int32_t*>(o, 8, prop, &i); }},
      {9, "GetTODLocation", [&](void* o) { CallSlot<R, int64_t*>(o, 9, &l); }},
      {10, "SetSignalLatency", [&](void* o) { CallSlot<R, int32_t>(o, 10, 5); }},
      {11, "SetCycleCount",
       [&](void* o) { CallSlot<R, AAX_EProperty*, int32_t*, int32_t>(o, 11, &prop, &val, 1); }},
      {12, "PostPacket",
       [&](void* o) { CallSlot<R, int32_t, const void*, uint32_t>(o, 12, 1, &f, 4); }},
      {13, "GetCurrentMeterValue", [&](void* o) { CallSlot<R, uint32_t, float*>(o, 13, 0, &f); }},
      {14, "GetMeterPeakValue", [&](void* o) { CallSlot<R, uint32_t, float*>(o, 14, 0, &f); }},
      {15, "ClearMeterPeakValue", [&](void* o) { CallSlot<R, uint32_t>(o, 15, 0); }},
      {16, "GetMeterClipped", [&](void* o) { CallSlot<R, uint32_t, uint8_t*>(o, 16, 0, &b); }},
      {17, "ClearMeterClipped", [&](void* o) { CallSlot<R, uint32_t>(o, 17, 0); }},
      {18, "GetMeterCount", [&](void* o) { CallSlot<R, uint32_t*>(o, 18, &u); }},
      {19, "GetNextMIDIPacket",
       [&](void* o) { CallSlot<R, int32_t*, AAX_CMidiPacket*>(o, 19, &i, &midi); }},
      {20, "SendNotification",
       [&](void* o) { CallSlot<R, uint32_t, const void*, uint32_t>(o, 20, 7, nullptr, 0); }},
      {21, "GetHybridSignalLatency", [&](void* o) { CallSlot<R, int32_t*>(o, 21, &i); }},
      {22, "GetCurrentAutomationTimestamp", [&](void* o) { CallSlot<R, int64_t*>(o, 22, &l); }},
      {23, "GetHostName", [&](void* o) { CallSlot<R, AAX_IString*>(o, 23, &s); }},
      {24, "GetPlugInTargetPlatform", [&](void* o) { CallSlot<R, int32_t*>(o, 24, &i); }},
      {25, "GetIsAudioSuite", [&](void* o) { CallSlot<R, uint8_t*>(o, 25, &b); }},
  };
  RunCases(c, host.Controller()->Calls(), cases);
  c->Release();
}

TEST(HostSlots, PageTableControllerOperationsStandAtTheirSlots)
{
  StandInHost host;
  auto* p = Query<AAX_IACFPageTableController_V2>(host.Unknown(), IID_IAAXPageTableControllerV2);
  CheckUnknownSlots(p, IID_IAAXPageTableController);
  using E = AAX_ETextEncoding;
  const std::vector<SlotCase> cases = {
      {3, "CreateTableCopyForEffect",
       [](void* o)
       {
         CallSlot<R, int32_t, int32_t, int32_t, uint32_t, int32_t, IACFUnknown*>(o, 3, 1, 2, 3, 4,
                                                                                 5, nullptr);
       }},
      {4, "CreateTableCopyForLayout",
       [](void* o)
       {
         CallSlot<R, const char*, const char*, uint32_t, int32_t, IACFUnknown*>(o, 4, "e", "l", 4,
                                                                                5, nullptr);
       }},
      {5, "CreateTableCopyForEffectFromFile",
       [](void* o)
       {
         CallSlot<R, const char*, E, int32_t, int32_t, int32_t, uint32_t, int32_t, IACFUnknown*>(
             o, 5, "f", E(0), 1, 2, 3, 4, 5, nullptr);
       }},
      {6, "CreateTableCopyForLayoutFromFile",
       [](void* o)
       {
         CallSlot<R, const char*, E, const char*, uint32_t, int32_t, IACFUnknown*>(
             o, 6, "f", E(0), "l", 4, 5, nullptr);
       }},
  };
  RunCases(p, host.Controller()->Calls(), cases);
  p->Release();
}

TEST(HostSlots, AutomationDelegateOperationsStandAtTheirSlots)
{
  StandInHost host;
  auto* a = Query<AAX_IACFAutomationDelegate>(host.Unknown(), IID_IAAXAutomationDelegateV1);
  CheckUnknownSlots(a, IID_IAAXAutomationDelegateV1);
  uint8_t touched = 0;
  using P = const char*;
  const std::vector<SlotCase> cases = {
      {3, "RegisterParameter", [](void* o) { CallSlot<R, P>(o, 3, "1"); }},
      {4, "UnregisterParameter", [](void* o) { CallSlot<R, P>(o, 4, "1"); }},
      {5, "PostSetValueRequest", [](void* o) { CallSlot<R, P, double>(o, 5, "1", 0.5); }},
      {6, "PostCurrentValue", [](void* o) { CallSlot<R, P, double>(o, 6, "1", 0.5); }},
      {7, "PostTouchRequest", [](void* o) { CallSlot<R, P>(o, 7, "1"); }},
      {8, "PostReleaseRequest", [](void* o) { CallSlot<R, P>(o, 8, "1"); }},
      {9, "GetTouchState", [&](void* o) { CallSlot<R, P, uint8_t*>(o, 9, "1", &touched); }},
  };
  RunCases(a, host.Automation()->Calls(), cases);
  a->Release();
}

TEST(HostSlots, TransportOperationsStandAtTheirSlots)
{
  StandInHost host;
  auto* t = Query<AAX_IACFTransport_V2>(host.Unknown(), IID_IAAXTransportV2);
  CheckUnknownSlots(t, IID_IAAXTransportV1);
  double d = 0;
  int32_t i = 0, j = 0;
  int64_t l = 0, m = 0;
  uint32_t u = 0;
  bool b = false;
  AAX_EFrameRate fr{};
  AAX_EFeetFramesRate ff{};
  const std::vector<SlotCase> cases = {
      {3, "GetCurrentTempo", [&](void* o) { CallSlot<R, double*>(o, 3, &d); }},
      {4, "GetCurrentMeter", [&](void* o) { CallSlot<R, int32_t*, int32_t*>(o, 4, &i, &j); }},
      {5, "IsTransportPlaying", [&](void* o) { CallSlot<R, bool*>(o, 5, &b); }},
      {6, "GetCurrentTickPosition", [&](void* o) { CallSlot<R, int64_t*>(o, 6, &l); }},
      {7, "GetCurrentLoopPosition",
       [&](void* o) { CallSlot<R, bool*, int64_t*, int64_t*>(o, 7, &b, &l, &m); }},
      {8, "GetCurrentNativeSampleLocation", [&](void* o) { CallSlot<R, int64_t*>(o, 8, &l); }},
      {9, "GetCustomTickPosition", [&](void* o) { CallSlot<R, int64_t*, int64_t>(o, 9, &l, 10); }},
      {10, "GetBarBeatPosition",
       [&](void* o) { CallSlot<R, int32_t*, int32_t*, int64_t*, int64_t>(o, 10, &i, &j, &l, 10); }},
      {11, "GetTicksPerQuarter", [&](void* o) { CallSlot<R, uint32_t*>(o, 11, &u); }},
      {12, "GetCurrentTicksPerBeat", [&](void* o) { CallSlot<R, uint32_t*>(o, 12, &u); }},
      {13, "GetTimelineSelectionStartPosition", [&](void* o) { CallSlot<R, int64_t*>(o, 13, &l); }},
      {14, "GetTimeCodeInfo",
       [&](void* o) { CallSlot<R, AAX_EFrameRate*, int32_t*>(o, 14, &fr, &i); }},
      {15, "GetFeetFramesInfo",
       [&](void* o) { CallSlot<R, AAX_EFeetFramesRate*, int64_t*>(o, 15, &ff, &l); }},
      {16, "IsMetronomeEnabled", [&](void* o) { CallSlot<R, int32_t*>(o, 16, &i); }},
  };
  RunCases(t, host.Transport()->Calls(), cases);
  t->Release();
}

TEST(HostSlots, ViewContainerOperationsStandAtTheirSlots)
{
  StandInHost host;
  Ref<HostViewContainer> vc = host.NewViewContainer(nullptr);
  auto* v = Query<AAX_IACFViewContainer_V2>(static_cast<AAX_IACFViewContainer*>(vc.get()),
                                            IID_IAAXViewContainerV2);
  CheckUnknownSlots(v, IID_IAAXViewContainerV1);
  uint32_t u = 0;
  AAX_Point pt{1, 2};
  const char* ids[] = {"1", "2"};
  using P = const char*;
  using PP = const char* const*;
  const std::vector<SlotCase> cases = {
      {3, "GetType", [](void* o) { CallSlot<int32_t>(o, 3); }},
      {4, "GetPtr", [](void* o) { CallSlot<void*>(o, 4); }},
      {5, "GetModifiers", [&](void* o) { CallSlot<R, uint32_t*>(o, 5, &u); }},
      {6, "SetViewSize", [&](void* o) { CallSlot<R, AAX_Point&>(o, 6, pt); }},
      {7, "HandleParameterMouseDown", [](void* o) { CallSlot<R, P, uint32_t>(o, 7, "1", 0); }},
      {8, "HandleParameterMouseDrag", [](void* o) { CallSlot<R, P, uint32_t>(o, 8, "1", 0); }},
      {9, "HandleParameterMouseUp", [](void* o) { CallSlot<R, P, uint32_t>(o, 9, "1", 0); }},
      {10, "HandleMultipleParametersMouseDown",
       [&](void* o) { CallSlot<R, PP, uint32_t, uint32_t>(o, 10, ids, 2, 0); }},
      {11, "HandleMultipleParametersMouseDrag",
       [&](void* o) { CallSlot<R, PP, uint32_t, uint32_t>(o, 11, ids, 2, 0); }},
      {12, "HandleMultipleParametersMouseUp",
       [&](void* o) { CallSlot<R, PP, uint32_t, uint32_t>(o, 12, ids, 2, 0); }},
  };
  RunCases(v, vc->Calls(), cases);
  v->Release();
}

TEST(HostSlots, PageTableOperationsStandAtTheirSlots)
{
  Ref<HostPageTable> table = Make<HostPageTable>(2);
  auto* p = Query<AAX_IACFPageTable_V2>(static_cast<AAX_IACFPageTable*>(table.get()),
                                        IID_IAAXPageTableV2);
  CheckUnknownSlots(p, IID_IAAXPageTableV1);
  uint8_t b = 0;
  int32_t i = 0;
  AAX_CString s("name");
  using P = const char*;
  const std::vector<SlotCase> cases = {
      {3, "Clear", [](void* o) { CallSlot<R>(o, 3); }},
      {4, "Empty", [&](void* o) { CallSlot<R, uint8_t&>(o, 4, b); }},
      {5, "GetNumPages", [&](void* o) { CallSlot<R, int32_t&>(o, 5, i); }},
      {6, "InsertPage", [](void* o) { CallSlot<R, int32_t>(o, 6, 0); }},
      {7, "RemovePage", [](void* o) { CallSlot<R, int32_t>(o, 7, 0); }},
      {8, "GetNumMappedParameterIDs", [&](void* o) { CallSlot<R, int32_t, int32_t&>(o, 8, 0, i); }},
      {9, "ClearMappedParameter", [](void* o) { CallSlot<R, int32_t, int32_t>(o, 9, 0, 0); }},
      {10, "GetMappedParameterID",
       [&](void* o) { CallSlot<R, int32_t, int32_t, AAX_IString&>(o, 10, 0, 0, s); }},
      {11, "MapParameterID", [](void* o) { CallSlot<R, P, int32_t, int32_t>(o, 11, "1", 0, 0); }},
      {12, "GetNumParametersWithNameVariations", [&](void* o) { CallSlot<R, int32_t&>(o, 12, i); }},
      {13, "GetNameVariationParameterIDAtIndex",
       [&](void* o) { CallSlot<R, int32_t, AAX_IString&>(o, 13, 0, s); }},
      {14, "GetNumNameVariationsForParameter",
       [&](void* o) { CallSlot<R, P, int32_t&>(o, 14, "1", i); }},
      {15, "GetParameterNameVariationAtIndex",
       [&](void* o) { CallSlot<R, P, int32_t, AAX_IString&, int32_t&>(o, 15, "1", 0, s, i); }},
      {16, "GetParameterNameVariationOfLength",
       [&](void* o) { CallSlot<R, P, int32_t, AAX_IString&>(o, 16, "1", 4, s); }},
      {17, "ClearParameterNameVariations", [](void* o) { CallSlot<R>(o, 17); }},
      {18, "ClearNameVariationsForParameter", [](void* o) { CallSlot<R, P>(o, 18, "1"); }},
      {19, "SetParameterNameVariation",
       [&](void* o) { CallSlot<R, P, const AAX_IString&, int32_t>(o, 19, "1", s, 4); }},
  };
  RunCases(p, table->Calls(), cases);
  p->Release();
}

TEST(HostSlots, HostServicesOperationsStandAtTheirSlots)
{
  StandInHost host;
  void* out = nullptr;
  ASSERT_EQ(host.Factory()->CreateComponent(AAXCompID_HostServices, nullptr, IID_IAAXHostServicesV3,
                                            &out),
            0);
  CheckUnknownSlots(out, IID_IAAXHostServicesV1);
  using P = const char*;
  const std::vector<SlotCase> cases = {
      {3, "HandleAssertFailure",
       [](void* o) { CallSlot<R, P, int32_t, P>(o, 3, "f.cpp", 1, "x"); }},
      {4, "Trace", [](void* o) { CallSlot<R, int32_t, P>(o, 4, 1, "m"); }},
      {5, "StackTrace", [](void* o) { CallSlot<R, int32_t, int32_t, P>(o, 5, 1, 2, "m"); }},
      {6, "HandleAssertFailure_V3",
       [](void* o) { CallSlot<R, P, int32_t, P, int32_t>(o, 6, "f.cpp", 1, "x", 3); }},
  };
  RunCases(out, host.Services()->Calls(), cases);
  static_cast<IACFUnknown*>(out)->Release();
}

TEST(HostSlots, ComponentFactoryCreatesAtSlotThree)
{
  StandInHost host;
  auto* f = Query<IACFComponentFactory>(host.Unknown(), IID_IACFComponentFactory);
  CheckUnknownSlots(f, IID_IACFComponentFactory);
  void* out = nullptr;
  EXPECT_EQ((CallSlot<ACFRESULT, const acfCLSID&, IACFUnknown*, const acfIID&, void**>(
                f, 3, AAXCompID_PageTable, nullptr, IID_IAAXPageTableV1, &out)),
            0);
  EXPECT_EQ(host.Factory()->Calls().Last().op, "CreateComponent");
  ASSERT_NE(out, nullptr);
  static_cast<IACFUnknown*>(out)->Release();
  f->Release();
}

TEST(HostSlots, EffectParametersOperationsStandAtTheirSlots)
{
  auto* ep = new RecordingEffectParameters({"1"});
  ep->AddRef();
  void* o = static_cast<AAX_IACFEffectParameters_V4*>(ep);
  CheckUnknownSlots(o, IID_IAAXEffectParametersV1);
  const char* names[] = {"Initialize",
                         "Uninitialize",
                         "NotificationReceived",
                         "GetNumberOfParameters",
                         "GetMasterBypassParameter",
                         "GetParameterIsAutomatable",
                         "GetParameterNumberOfSteps",
                         "GetParameterName",
                         "GetParameterNameOfLength",
                         "GetParameterDefaultNormalizedValue",
                         "SetParameterDefaultNormalizedValue",
                         "GetParameterType",
                         "GetParameterOrientation",
                         "GetParameter",
                         "GetParameterIndex",
                         "GetParameterIDFromIndex",
                         "GetParameterValueInfo",
                         "GetParameterValueFromString",
                         "GetParameterStringFromValue",
                         "GetParameterValueString",
                         "GetParameterNormalizedValue",
                         "SetParameterNormalizedValue",
                         "SetParameterNormalizedRelative",
                         "TouchParameter",
                         "ReleaseParameter",
                         "UpdateParameterTouch",
                         "UpdateParameterNormalizedValue",
                         "UpdateParameterNormalizedRelative",
                         "GenerateCoefficients",
                         "ResetFieldData",
                         "GetNumberOfChunks",
                         "GetChunkIDFromIndex",
                         "GetChunkSize",
                         "GetChunk",
                         "SetChunk",
                         "CompareActiveChunk",
                         "GetNumberOfChanges",
                         "TimerWakeup",
                         "GetCurveData",
                         "GetCustomData",
                         "SetCustomData",
                         "DoMIDITransfers",
                         "RenderAudio_Hybrid",
                         "UpdateMIDINodes",
                         "UpdateControlMIDINodes",
                         "GetCurveDataMeterIds",
                         "GetCurveDataDisplayRange",
                         "UpdatePageTable"};
  ASSERT_EQ(sizeof(names) / sizeof(names[0]), 48u); // slots 3..50
  // Every operation here ignores its arguments except the two the editor base
  // uses, so the call passes zeroes in six integer registers; this checks the
  // table order only. Slots 6 and 18 get their full signatures below.
  for (int slot = 3; slot <= 50; ++slot)
  {
    if (slot == 6 || slot == 18 || slot == 29) continue;
    CallSlot<R, long, long, long, long, long>(o, slot, 0, 0, 0, 0, 0);
    EXPECT_EQ(ep->Calls().Last().op, names[slot - 3]) << "slot " << slot;
  }
  int32_t n = 0;
  EXPECT_EQ((CallSlot<R, int32_t*>(o, 6, &n)), 0);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(ep->Calls().Last().op, "GetNumberOfParameters");
  AAX_CString id;
  EXPECT_EQ((CallSlot<R, int32_t, AAX_IString*>(o, 18, 0, &id)), 0);
  EXPECT_EQ(id.StdString(), "1");
  EXPECT_EQ(
      (CallSlot<R, const char*, double, AAX_EUpdateSource>(o, 29, "1", 0.5, AAX_EUpdateSource(0))),
      0);
  EXPECT_EQ(ep->Calls().Last().op, "UpdateParameterNormalizedValue");
  ep->Release();
}

namespace
{
class SlotEditor : public AAX_IEffectGUI
{
public:
  AAX_Result Initialize(IACFUnknown*) override { return Rec("Initialize"); }
  AAX_Result Uninitialize() override { return Rec("Uninitialize"); }
  AAX_Result NotificationReceived(AAX_CTypeID, const void*, uint32_t) override
  {
    return Rec("NotificationReceived");
  }
  AAX_Result SetViewContainer(IACFUnknown*) override { return Rec("SetViewContainer"); }
  AAX_Result GetViewSize(AAX_Point*) const override { return Rec("GetViewSize"); }
  AAX_Result Draw(AAX_Rect*) override { return Rec("Draw"); }
  AAX_Result TimerWakeup() override { return Rec("TimerWakeup"); }
  AAX_Result ParameterUpdated(AAX_CParamID) override { return Rec("ParameterUpdated"); }
  AAX_Result GetCustomLabel(AAX_EPlugInStrings, AAX_IString*) const override
  {
    return Rec("GetCustomLabel");
  }
  AAX_Result SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor) override
  {
    return Rec("SetControlHighlightInfo");
  }
  mutable CallLog log;

private:
  AAX_Result Rec(const char* op) const
  {
    log.Add(op, "");
    return 0;
  }
};
} // namespace

TEST(HostSlots, EffectGUIOperationsStandAtTheirSlots)
{
  auto* gui = new SlotEditor;
  gui->AddRef();
  void* o = static_cast<AAX_IACFEffectGUI*>(gui);
  CheckUnknownSlots(o, IID_IAAXEffectGUIV1);
  const char* names[] = {"Initialize",           "Uninitialize",
                         "NotificationReceived", "SetViewContainer",
                         "GetViewSize",          "Draw",
                         "TimerWakeup",          "ParameterUpdated",
                         "GetCustomLabel",       "SetControlHighlightInfo"};
  for (int slot = 3; slot <= 12; ++slot)
  {
    CallSlot<R, long, long, long>(o, slot, 0, 0, 0);
    EXPECT_EQ(gui->log.Last().op, names[slot - 3]) << "slot " << slot;
  }
  EXPECT_EQ(gui->Release(), 0u);
}

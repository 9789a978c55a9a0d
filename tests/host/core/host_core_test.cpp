// The stand-in host's core: host object answers, factory rules, the automation
// echo, and components used from several threads at once.
#include "RecordingEffectParameters.h"
#include "StandInHost.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "ACF/acfuids.h"
#include "AAX_UIDs.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace aaxhost;

TEST(HostObject, AnswersOfferedIdentifiersWithAReferenceAndRefusesOthers)
{
  StandInHost host;
  void* out = reinterpret_cast<void*>(1);
  const acfUInt32 before = host.Transport()->RefCount();
  EXPECT_EQ(host.Unknown()->QueryInterface(IID_IAAXTransportV2, &out), 0);
  EXPECT_EQ(out, static_cast<AAX_IACFTransport_V2*>(host.Transport()));
  EXPECT_EQ(host.Transport()->RefCount(), before + 1);
  static_cast<IACFUnknown*>(out)->Release();
  EXPECT_EQ(host.Unknown()->QueryInterface(IID_IAAXEffectGUIV1, &out), ACF_E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(host.Unknown()->QueryInterface(IID_IACFUnknown, &out), 0);
  EXPECT_EQ(out, host.Unknown());
  host.Unknown()->Release();
}

TEST(HostObject, ConfiguredVersionsAreTheOnlyOnesAnswered)
{
  HostConfig config;
  config.controller = 2;
  config.pageTableController = 0;
  config.transport = 0;
  config.automationDelegate = 0;
  StandInHost host(config);
  void* out = nullptr;
  EXPECT_EQ(host.Unknown()->QueryInterface(IID_IAAXControllerV2, &out), 0);
  static_cast<IACFUnknown*>(out)->Release();
  EXPECT_NE(host.Unknown()->QueryInterface(IID_IAAXControllerV3, &out), 0);
  EXPECT_NE(host.Unknown()->QueryInterface(IID_IAAXPageTableController, &out), 0);
  EXPECT_NE(host.Unknown()->QueryInterface(IID_IAAXTransportV1, &out), 0);
  EXPECT_NE(host.Unknown()->QueryInterface(IID_IAAXAutomationDelegateV1, &out), 0);
  EXPECT_EQ(out, nullptr);
}

TEST(HostFactory, RefusesOuterObjectsAndUnknownClasses)
{
  StandInHost host;
  void* out = reinterpret_cast<void*>(1);
  EXPECT_NE(host.Factory()->CreateComponent(AAXCompID_PageTable, host.Unknown(),
                                            IID_IAAXPageTableV1, &out),
            0);
  EXPECT_EQ(out, nullptr);
  EXPECT_NE(
      host.Factory()->CreateComponent(AAX_CompID_FeatureInfo, nullptr, IID_IAAXFeatureInfoV1, &out),
      0);
  EXPECT_EQ(out, nullptr);
  // A known class asked for an interface it lacks gives nothing and leaks nothing.
  EXPECT_EQ(
      host.Factory()->CreateComponent(AAXCompID_PageTable, nullptr, IID_IAAXControllerV1, &out),
      ACF_E_NOINTERFACE);
  EXPECT_EQ(host.PageTables().back()->RefCount(), 1u + 1u); // the list and its copy
}

TEST(HostComponents, AllAreFreedWhenTheHostAndItsUsersAreGone)
{
  const int before = Component::LiveComponents();
  {
    StandInHost host;
    AAX_VController c(host.Unknown());
    Ref<HostViewContainer> vc = host.NewViewContainer(nullptr);
    delete c.CreateTableCopyForEffect(1, 2, 3, 0, 8);
    EXPECT_GT(Component::LiveComponents(), before);
  }
  EXPECT_EQ(Component::LiveComponents(), before);
}

TEST(AutomationEcho, SetRequestsComeBackAsUpdates)
{
  StandInHost host;
  auto* ep = new RecordingEffectParameters({"1", "2"});
  ep->AddRef();
  host.Automation()->SetEchoTarget(ep);
  AAX_VAutomationDelegate a(host.Unknown());
  a.RegisterParameter("2");
  EXPECT_EQ(a.PostSetValueRequest("2", 1.0), 0);
  EXPECT_EQ(ep->Calls().Last().op, "UpdateParameterNormalizedValue");
  EXPECT_EQ(ep->Calls().Last().args, "\"2\", 1, 0");
  ASSERT_EQ(host.Automation()->EchoResults().size(), 1u);
  EXPECT_EQ(host.Automation()->EchoResults()[0], 0);
  host.Automation()->SetEchoTarget(nullptr);
  EXPECT_EQ(a.PostSetValueRequest("2", 0.0), 0);
  EXPECT_EQ(ep->Calls().Count("UpdateParameterNormalizedValue"), 1u);
  EXPECT_EQ(ep->Release(), 0u);
}

TEST(AutomationEcho, WithoutRecordsRequestsAndFailedEchoesAreStillCounted)
{
  StandInHost host;
  auto* ep = new RecordingEffectParameters({"1", "2"});
  ep->AddRef();
  host.Automation()->SetEchoTarget(ep);
  host.Automation()->KeepRecords(false);
  AAX_VAutomationDelegate a(host.Unknown());
  a.RegisterParameter("2");
  a.RegisterParameter("3"); // the host knows it, the plug-in refuses its echo
  EXPECT_EQ(a.PostSetValueRequest("2", 1.0), 0);
  EXPECT_EQ(a.PostSetValueRequest("3", 0.5), 0);
  EXPECT_TRUE(host.Automation()->SetRequests().empty());
  EXPECT_TRUE(host.Automation()->EchoResults().empty());
  EXPECT_EQ(host.Automation()->SetRequestCount(), 2u);
  EXPECT_EQ(host.Automation()->EchoFailures(), 1u);
  host.Automation()->SetEchoTarget(nullptr);
  EXPECT_EQ(ep->Release(), 0u);
}

// Several host threads drive one instance's wrappers at once (run under
// ThreadSanitizer in the thread build).
TEST(HostThreads, WrappersAndComponentsTolerateConcurrentCalls)
{
  StandInHost host;
  auto* ep = new RecordingEffectParameters({"1", "2"});
  ep->AddRef();
  host.Automation()->SetEchoTarget(ep);
  AAX_VAutomationDelegate automation(host.Unknown());
  automation.RegisterParameter("1");
  automation.RegisterParameter("2");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back(
        [&, t]
        {
          AAX_VController controller(host.Unknown());
          AAX_VTransport transport(host.Unknown());
          const char* id = (t % 2) ? "1" : "2";
          for (int i = 0; i < 100; ++i)
          {
            float rate = 0;
            controller.GetSampleRate(&rate);
            const int32_t value = i;
            controller.PostPacket(t, &value, sizeof(value));
            double tempo = 0;
            transport.GetCurrentTempo(&tempo);
            automation.PostTouchRequest(id);
            automation.PostSetValueRequest(id, i / 100.0);
            automation.PostReleaseRequest(id);
            if (i % 25 == 0)
            {
              ControllerState st = host.Controller()->State();
              st.sampleRate = 48000.0f;
              host.Controller()->SetState(st);
            }
          }
        });
  for (auto& th : threads)
    th.join();
  host.Automation()->SetEchoTarget(nullptr);
  EXPECT_EQ(host.Automation()->SetRequests().size(), 400u);
  EXPECT_EQ(ep->Calls().Count("UpdateParameterNormalizedValue"), 400u);
  EXPECT_EQ(host.Controller()->Calls().Count("PostPacket"), 400u);
  EXPECT_FALSE(host.Automation()->IsTouched("1"));
  EXPECT_EQ(ep->Release(), 0u);
}

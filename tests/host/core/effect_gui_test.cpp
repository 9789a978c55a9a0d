// The editor base against the stand-in host: initialisation, the view
// container hooks, parameter updates and reference counting.
#include "RecordingEffectParameters.h"
#include "StandInHost.h"
#include "TestEffectParameters.h"

#include "AAX_CEffectGUI.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_IController.h"
#include "AAX_ITransport.h"
#include "AAX_IViewContainer.h"
#include "ACF/acfuids.h"
#include "AAX_UIDs.h"

#include <gtest/gtest.h>

using namespace aaxhost;

namespace
{
class TestEditor : public AAX_CEffectGUI
{
public:
  int contents = 0, created = 0, deleted = 0;
  void* viewAtCreate = nullptr;
  std::vector<std::string> updated;

  AAX_Result ParameterUpdated(AAX_CParamID id) override
  {
    updated.push_back(id);
    return 0;
  }

protected:
  void CreateViewContents() override { ++contents; }
  void CreateViewContainer() override
  {
    ++created;
    viewAtCreate = GetViewContainerPtr();
  }
  void DeleteViewContainer() override { ++deleted; }
};

// The object the host holds: one reference, as after creation and QueryInterface.
TestEditor* NewEditor()
{
  auto* e = new TestEditor;
  e->AddRef();
  return e;
}
} // namespace

TEST(EffectGUI, InitializeWithoutHostIsNotInitialized)
{
  TestEditor* e = NewEditor();
  EXPECT_EQ(e->Initialize(nullptr), AAX_ERROR_NOT_INITIALIZED);
  ASSERT_NE(e->GetController(), nullptr); // made before the check, on nothing
  float rate = 0;
  EXPECT_EQ(e->GetController()->GetSampleRate(&rate), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(e->Transport(), nullptr);
  EXPECT_EQ(e->contents, 0);
  EXPECT_EQ(e->Release(), 0u);
}

TEST(EffectGUI, InitializeConnectsControllerTransportAndEffectParameters)
{
  StandInHost host;
  TestEffectParameters* ep = TestEffectParameters::New();
  ASSERT_EQ(ep->Initialize(host.Unknown()), 0);
  host.OfferEffectParameters(ep->GetPrivateUnknown());
  const acfUInt32 before = ep->GetRefCount(); // ours and the host object's offers
  TestEditor* e = NewEditor();
  EXPECT_EQ(e->Initialize(host.Unknown()), 0);
  EXPECT_EQ(e->contents, 1);
  EXPECT_EQ(e->GetEffectParameters(), static_cast<AAX_IACFEffectParameters*>(ep));
  EXPECT_EQ(ep->GetRefCount(), before + 1);
  float rate = 0;
  EXPECT_EQ(e->GetController()->GetSampleRate(&rate), 0);
  EXPECT_EQ(rate, 44100.0f);
  double tempo = 0;
  ASSERT_NE(e->Transport(), nullptr);
  EXPECT_EQ(e->Transport()->GetCurrentTempo(&tempo), 0);
  EXPECT_EQ(tempo, 120.0);
  // Attaching a container announces every parameter of the effect.
  Ref<HostViewContainer> vc = host.NewViewContainer(nullptr);
  e->SetViewContainer(static_cast<AAX_IACFViewContainer*>(vc.get()));
  EXPECT_EQ(e->updated, (std::vector<std::string>{"MasterBypassID", "1", "2", "3"}));
  EXPECT_EQ(e->Uninitialize(), 0);
  EXPECT_EQ(e->GetEffectParameters(), nullptr);
  EXPECT_EQ(e->GetController(), nullptr);
  EXPECT_EQ(ep->GetRefCount(), before);
  EXPECT_EQ(e->Release(), 0u);
  host.OfferEffectParameters(nullptr);
  EXPECT_EQ(ep->Release(), 0u);
}

TEST(EffectGUI, ViewContainerHooksRunOnceEachAndParametersAreUpdated)
{
  StandInHost host;
  auto* ep = new RecordingEffectParameters({"MasterBypassID", "", "2"});
  ep->AddRef();
  host.OfferEffectParameters(ep->GetPrivateUnknown());
  TestEditor* e = NewEditor();
  ASSERT_EQ(e->Initialize(host.Unknown()), 0);
  EXPECT_EQ(e->GetViewContainerType(), 0);
  EXPECT_EQ(e->GetViewContainerPtr(), nullptr);

  int window = 0;
  Ref<HostViewContainer> vc = host.NewViewContainer(&window, 2);
  EXPECT_EQ(e->SetViewContainer(static_cast<AAX_IACFViewContainer*>(vc.get())), 0);
  EXPECT_EQ(e->created, 1);
  EXPECT_EQ(e->viewAtCreate, &window);
  EXPECT_EQ(e->GetViewContainerType(), 2);
  // Index 1 fails, so only the identifiers obtained are passed on.
  EXPECT_EQ(e->updated, (std::vector<std::string>{"MasterBypassID", "2"}));
  EXPECT_EQ(ep->Calls().Count("GetNumberOfParameters"), 1u);
  EXPECT_EQ(ep->Calls().Count("GetParameterIDFromIndex"), 3u);
  EXPECT_EQ(vc->RefCount(), 3u); // ours and the wrapper's two versions

  EXPECT_EQ(e->SetViewContainer(nullptr), 0);
  EXPECT_EQ(e->created, 1);
  EXPECT_EQ(e->deleted, 1);
  EXPECT_EQ(e->GetViewContainer(), nullptr);
  EXPECT_EQ(vc->RefCount(), 1u);
  EXPECT_EQ(e->Uninitialize(), 0);
  EXPECT_EQ(e->deleted, 1); // no container left to detach
  EXPECT_EQ(e->Release(), 0u);
  host.OfferEffectParameters(nullptr);
  EXPECT_EQ(ep->Release(), 0u);
}

TEST(EffectGUI, UninitializeDetachesAnAttachedContainer)
{
  StandInHost host;
  TestEditor* e = NewEditor();
  ASSERT_EQ(e->Initialize(host.Unknown()), 0);
  EXPECT_EQ(e->GetEffectParameters(), nullptr); // host offers none
  Ref<HostViewContainer> vc = host.NewViewContainer(nullptr);
  e->SetViewContainer(static_cast<AAX_IACFViewContainer*>(vc.get()));
  EXPECT_TRUE(e->updated.empty());
  e->Uninitialize();
  EXPECT_EQ(e->deleted, 1);
  EXPECT_EQ(vc->RefCount(), 1u);
  e->Release();
}

TEST(EffectGUI, ReplacingTheContainerDropsTheOldWrapper)
{
  StandInHost host;
  TestEditor* e = NewEditor();
  ASSERT_EQ(e->Initialize(host.Unknown()), 0);
  Ref<HostViewContainer> a = host.NewViewContainer(nullptr);
  Ref<HostViewContainer> b = host.NewViewContainer(nullptr);
  e->SetViewContainer(static_cast<AAX_IACFViewContainer*>(a.get()));
  e->SetViewContainer(static_cast<AAX_IACFViewContainer*>(b.get()));
  EXPECT_EQ(a->RefCount(), 1u);
  EXPECT_EQ(b->RefCount(), 3u);
  EXPECT_EQ(e->created, 2);
  e->SetViewContainer(nullptr);
  e->Release();
}

TEST(EffectGUI, ParameterCountFailureEndsTheUpdate)
{
  StandInHost host;
  auto* ep = new RecordingEffectParameters({"1"});
  ep->AddRef();
  ep->FailCount(AAX_ERROR_NULL_OBJECT);
  host.OfferEffectParameters(ep->GetPrivateUnknown());
  TestEditor* e = NewEditor();
  ASSERT_EQ(e->Initialize(host.Unknown()), 0);
  Ref<HostViewContainer> vc = host.NewViewContainer(nullptr);
  e->SetViewContainer(static_cast<AAX_IACFViewContainer*>(vc.get()));
  EXPECT_TRUE(e->updated.empty());
  EXPECT_EQ(ep->Calls().Count("GetParameterIDFromIndex"), 0u);
  e->SetViewContainer(nullptr);
  e->Uninitialize();
  e->Release();
  host.OfferEffectParameters(nullptr);
  ep->Release();
}

TEST(EffectGUI, FixedAnswersOfTheBase)
{
  TestEditor* e = NewEditor();
  AAX_Point size{1, 2};
  EXPECT_EQ(e->GetViewSize(&size), 0);
  EXPECT_EQ(size.vert, 1);
  EXPECT_EQ(size.horz, 2);
  AAX_CString label;
  EXPECT_EQ(e->GetCustomLabel(AAX_EPlugInStrings(0), &label), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(e->NotificationReceived(1, nullptr, 0), 0);
  EXPECT_EQ(e->Draw(nullptr), 0);
  EXPECT_EQ(e->TimerWakeup(), 0);
  EXPECT_EQ(e->SetControlHighlightInfo("1", 1, AAX_EHighlightColor(0)), 0);
  e->Release();
}

TEST(EffectGUI, AnswersItsInterfaceAndTheBaseIdentifiers)
{
  TestEditor* e = NewEditor();
  void* out = nullptr;
  EXPECT_EQ(e->QueryInterface(IID_IAAXEffectGUIV1, &out), 0);
  EXPECT_EQ(out, static_cast<AAX_IACFEffectGUI*>(e));
  EXPECT_EQ(e->GetRefCount(), 2u);
  static_cast<AAX_IACFEffectGUI*>(out)->Release();
  EXPECT_EQ(e->QueryInterface(IID_IACFUnknown, &out), 0);
  EXPECT_EQ(out, e->GetPrivateUnknown());
  static_cast<IACFUnknown*>(out)->Release();
  EXPECT_EQ(e->QueryInterface(IID_IAAXEffectParametersV1, &out), ACF_E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  const acfUInt32 live = CACFUnknown::GetActiveObjectCount();
  EXPECT_EQ(e->Release(), 0u);
  EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live - 1);
}

TEST(EffectGUI, DestroyingWithAContainerStillAttachedSkipsTheHook)
{
  StandInHost host;
  TestEditor* e = NewEditor();
  ASSERT_EQ(e->Initialize(host.Unknown()), 0);
  Ref<HostViewContainer> vc = host.NewViewContainer(nullptr);
  e->SetViewContainer(static_cast<AAX_IACFViewContainer*>(vc.get()));
  EXPECT_EQ(e->Release(), 0u); // the host forgot to detach: no crash, references dropped
  EXPECT_EQ(vc->RefCount(), 1u);
}

// The effect-parameters base on the stand-in host: life, the parameter
// queries, value changes through the host's echo, notifications, counting.
#include "EffectParametersFixture.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "ACF/acfuids.h"

#include <climits>

using namespace aaxhost;

TEST_F(EffectParametersTest, InitializeMakesTheWrappersAndTheParameters)
{
  ASSERT_NE(ep->Controller(), nullptr);
  ASSERT_NE(ep->Transport(), nullptr);
  ASSERT_NE(ep->AutomationDelegate(), nullptr);
  float rate = 0;
  EXPECT_EQ(ep->Controller()->GetSampleRate(&rate), 0);
  EXPECT_EQ(rate, 44100.0f);
  int32_t n = 0;
  EXPECT_EQ(ep->GetNumberOfParameters(&n), 0);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(host.Automation()->Registered(),
            (std::set<std::string>{"MasterBypassID", "1", "2", "3"}));
  EXPECT_EQ(ep->FilteredParameters(), (std::set<std::string>{"MasterBypassID"}));
  EXPECT_EQ(ep->NumChunkedParameters(), 3);
}

TEST_F(EffectParametersTest, AFailedEffectInitIsReturnedBeforeTheBypassIsFiltered)
{
  Options o;
  o.effectInitResult = AAX_ERROR_PLUGIN_NULL_PARAMETER;
  Start(o);
  EXPECT_NE(ep->Controller(), nullptr); // the wrappers stay until Uninitialize
  EXPECT_TRUE(ep->FilteredParameters().empty());
}

TEST_F(EffectParametersTest, WithoutABypassTheEmptyIdentifierIsFiltered)
{
  Options o;
  o.bypass = false;
  Start(o);
  AAX_CString id("x");
  EXPECT_EQ(ep->GetMasterBypassParameter(&id), 0);
  EXPECT_EQ(id, "");
  EXPECT_EQ(ep->FilteredParameters(), (std::set<std::string>{""}));
}

TEST_F(EffectParametersTest, QueriesAnswerFromTheParameters)
{
  AAX_CString s;
  EXPECT_EQ(ep->GetMasterBypassParameter(&s), 0);
  EXPECT_EQ(s, "MasterBypassID");
  AAX_CBoolean automatable = 0;
  EXPECT_EQ(ep->GetParameterIsAutomatable("1", &automatable), 0);
  EXPECT_EQ(automatable, 1);
  int32_t i = 0;
  EXPECT_EQ(ep->GetParameterNumberOfSteps("1", &i), 0);
  EXPECT_EQ(i, 128); // a new parameter is continuous
  EXPECT_EQ(ep->GetParameterName("2", &s), 0);
  EXPECT_EQ(s, "Gain");
  double d = 0;
  EXPECT_EQ(ep->GetParameterDefaultNormalizedValue("2", &d), 0);
  EXPECT_DOUBLE_EQ(d, 0.7);
  EXPECT_EQ(ep->SetParameterDefaultNormalizedValue("2", 0.2), 0);
  ep->GetParameterDefaultNormalizedValue("2", &d);
  EXPECT_DOUBLE_EQ(d, 0.2);
  AAX_EParameterType type = AAX_eParameterType_Discrete;
  EXPECT_EQ(ep->GetParameterType("3", &type), 0);
  EXPECT_EQ(type, AAX_eParameterType_Continuous);
  i = -1;
  EXPECT_EQ(ep->GetParameterOrientation("3", &i), 0);
  EXPECT_EQ(i, 0);
  AAX_IParameter* p = nullptr;
  EXPECT_EQ(ep->GetParameter("3", &p), 0);
  EXPECT_EQ(p, ep->Manager().GetParameterByID("3"));
  EXPECT_EQ(ep->GetParameterIndex("3", &i), 0);
  EXPECT_EQ(i, 3);
  EXPECT_EQ(ep->GetParameterIDFromIndex(2, &s), 0);
  EXPECT_EQ(s, "2");
  i = 5;
  EXPECT_EQ(ep->GetParameterValueInfo("2", 0, &i), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(ep->GetParameterValueFromString("2", &d, AAX_CString("4")), 0);
  EXPECT_DOUBLE_EQ(d, 0.4);
  EXPECT_EQ(ep->GetParameterValueFromString("1", &d, AAX_CString("maybe")),
            AAX_ERROR_INVALID_STRING_CONVERSION);
  EXPECT_EQ(ep->GetParameterStringFromValue("3", 0.25, &s, 32), 0);
  EXPECT_EQ(s, "0.25");
  EXPECT_EQ(ep->GetParameterValueString("2", &s, 1), 0); // the limit is not applied
  EXPECT_EQ(s, "7.00");
  EXPECT_EQ(Normalized("1"), 1.0);
}

TEST_F(EffectParametersTest, UnknownIdentifiersAreInvalidParameterIDs)
{
  const AAX_Result bad = AAX_ERROR_INVALID_PARAMETER_ID;
  AAX_CString s("x");
  AAX_CBoolean b = 1;
  int32_t i = 0;
  double d = 0;
  AAX_EParameterType t{};
  AAX_IParameter* p = nullptr;
  EXPECT_EQ(ep->GetParameterIsAutomatable("nope", &b), bad);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(ep->GetParameterNumberOfSteps("nope", &i), bad);
  EXPECT_EQ(ep->GetParameterDefaultNormalizedValue("nope", &d), bad);
  EXPECT_EQ(ep->SetParameterDefaultNormalizedValue("nope", 0.5), bad);
  EXPECT_EQ(ep->GetParameterType("nope", &t), bad);
  EXPECT_EQ(ep->GetParameterOrientation("nope", &i), bad);
  EXPECT_EQ(ep->GetParameter("nope", &p), bad);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(ep->GetParameterIndex("nope", &i), bad);
  EXPECT_EQ(i, -1);
  EXPECT_EQ(ep->GetParameterValueFromString("nope", &d, AAX_CString("1")), bad);
  EXPECT_EQ(ep->GetParameterStringFromValue("nope", 0.5, &s, 8), bad);
  EXPECT_EQ(ep->GetParameterValueString("nope", &s, 8), bad);
  EXPECT_EQ(ep->GetParameterNormalizedValue("nope", &d), bad);
  EXPECT_EQ(ep->SetParameterNormalizedValue("nope", 0.5), bad);
  EXPECT_EQ(ep->SetParameterNormalizedRelative("nope", 0.5), bad);
  EXPECT_EQ(ep->TouchParameter("nope"), bad);
  EXPECT_EQ(ep->ReleaseParameter("nope"), bad);
  EXPECT_EQ(ep->UpdateParameterNormalizedValue("nope", 0.5, AAX_EUpdateSource{}), bad);
  EXPECT_EQ(ep->UpdateParameterNormalizedRelative("nope", 0.5), bad);
  EXPECT_EQ(ep->GetParameterIDFromIndex(4, &s), bad);
  EXPECT_EQ(s, "");
  s = "x";
  EXPECT_EQ(ep->GetParameterIDFromIndex(-1, &s), bad);
  EXPECT_EQ(s, "");
  s = "x";
  EXPECT_EQ(ep->GetParameterName("nope", &s), 0); // the empty name, not a failure
  EXPECT_EQ(s, "");
  EXPECT_EQ(ep->GetParameterNumberOfSteps(nullptr, &i), bad);
  EXPECT_EQ(ep->GetNumberOfParameters(nullptr), AAX_ERROR_NULL_ARGUMENT);
}

TEST_F(EffectParametersTest, AStepCountBeyondInt32IsASignedOverflow)
{
  ep->Manager().GetParameterByID("2")->SetNumberOfSteps(0x80000000u);
  int32_t steps = 7;
  EXPECT_EQ(ep->GetParameterNumberOfSteps("2", &steps), AAX_ERROR_SIGNED_INT_OVERFLOW);
  EXPECT_EQ(steps, 7);
}

TEST_F(EffectParametersTest, NameOfLengthPicksTheLongestFittingVariantOrCuts)
{
  auto nameOf = [&](const char* id, int32_t length)
  {
    AAX_CString s("untouched");
    EXPECT_EQ(ep->GetParameterNameOfLength(id, &s, length), 0);
    return s.StdString();
  };
  EXPECT_EQ(nameOf("1", 4), "Swap");
  EXPECT_EQ(nameOf("1", 2), "Sw");
  EXPECT_EQ(nameOf("1", 0), "");
  EXPECT_EQ(nameOf("1", -3), "");
  EXPECT_EQ(nameOf("2", 2), "G"); // the abbreviation comes first
  ep->Manager().GetParameterByID("3")->SetName(AAX_CString("Stereo Width\nWidth"));
  EXPECT_EQ(nameOf("3", 8), "Width");
  EXPECT_EQ(nameOf("3", 40), "Stereo Width");
  EXPECT_EQ(nameOf("3", 3), "Ste");
  EXPECT_EQ(nameOf("nope", 8), "");
  ep->Manager().GetParameterByID("3")->SetName(AAX_CString(""));
  EXPECT_EQ(nameOf("3", 8), "untouched");
  EXPECT_EQ(ep->GetParameterNameOfLength("1", nullptr, 4), AAX_ERROR_INVALID_STRING_CONVERSION);
}

TEST_F(EffectParametersTest, RelativeChangesClampToTheNormalisedRange)
{
  ASSERT_EQ(ep->SetParameterNormalizedValue("3", 0.9), 0);
  EXPECT_EQ(ep->SetParameterNormalizedRelative("3", 0.3), 0);
  EXPECT_EQ(Normalized("3"), 1.0);
  EXPECT_EQ(ep->UpdateParameterNormalizedRelative("3", -2.5), 0);
  EXPECT_EQ(Normalized("3"), 0.0);
}

TEST_F(EffectParametersTest, ASetRequestStoresNothingUntilTheHostEchoesIt)
{
  host.Automation()->SetEchoTarget(nullptr);
  EXPECT_EQ(ep->SetParameterNormalizedValue("3", 0.25), 0);
  EXPECT_EQ(Normalized("3"), 0.5);
  ASSERT_FALSE(host.Automation()->SetRequests().empty());
  EXPECT_EQ(host.Automation()->SetRequests().back().id, "3");
  EXPECT_EQ(host.Automation()->SetRequests().back().value, 0.25);
  EXPECT_EQ(Changes(), 0);

  host.Automation()->SetEchoTarget(ep);
  EXPECT_EQ(ep->SetParameterNormalizedValue("3", 0.25), 0);
  EXPECT_EQ(Normalized("3"), 0.25);
  EXPECT_EQ(Changes(), 1);
  double reported = 0;
  EXPECT_TRUE(host.Automation()->CurrentValue("3", &reported));
  EXPECT_EQ(reported, 0.25);
}

TEST_F(EffectParametersTest, UpdatesCountChangedValuesAndAlwaysMarkThePacketDirty)
{
  ep->GenerateCoefficients(); // the new packet's first post
  const size_t posted = host.Controller()->State().packets.size();
  ASSERT_EQ(posted, 1u);
  // Gain is 7 (0.7). 0.75 still truncates to 7, but the value sent differs
  // from the one before, so it counts.
  EXPECT_EQ(ep->UpdateParameterNormalizedValue("2", 0.75, AAX_EUpdateSource{}), 0);
  EXPECT_EQ(Changes(), 1);
  EXPECT_EQ(ep->UpdateParameterNormalizedValue("2", 0.7, AAX_EUpdateSource{}), 0);
  EXPECT_EQ(Changes(), 1);
  EXPECT_EQ(ep->GenerateCoefficients(), 0);
  ControllerState st = host.Controller()->State();
  ASSERT_EQ(st.packets.size(), 2u);
  EXPECT_EQ(st.packets[1].port, 5);
  EXPECT_EQ(st.packets[1].bytes, (std::vector<uint8_t>{7, 0, 0, 0}));
  ep->GenerateCoefficients();
  EXPECT_EQ(host.Controller()->State().packets.size(), 2u); // clean until the next update
}

TEST_F(EffectParametersTest, TouchStateComesFromTheHost)
{
  EXPECT_FALSE(ep->IsParameterTouched("1"));
  EXPECT_EQ(ep->TouchParameter("1"), 0);
  EXPECT_TRUE(host.Automation()->IsTouched("1"));
  EXPECT_TRUE(ep->IsParameterTouched("1"));
  EXPECT_TRUE(ep->IsParameterLinkReady("1", AAX_EUpdateSource{}));
  for (int source : {1, 2, 3})
    EXPECT_FALSE(ep->IsParameterLinkReady("1", static_cast<AAX_EUpdateSource>(source)));
  EXPECT_TRUE(ep->IsParameterLinkReady("1", static_cast<AAX_EUpdateSource>(4)));
  EXPECT_EQ(ep->ReleaseParameter("1"), 0);
  EXPECT_FALSE(ep->IsParameterTouched("1"));
  EXPECT_EQ(ep->UpdateParameterTouch("1", 1), 0);
}

TEST_F(EffectParametersTest, PreviewNotificationSetsThePreviewParameter)
{
  const int32_t on = 1, off = 0;
  // Without a "PreviewID" parameter nothing happens.
  EXPECT_EQ(ep->NotificationReceived(0x41535076, &on, 4), 0);
  Options o;
  o.preview = true;
  Start(o);
  EXPECT_EQ(ep->NotificationReceived(0x41535076, &on, 4), 0);
  EXPECT_EQ(Normalized("PreviewID"), 1.0);
  EXPECT_EQ(ep->NotificationReceived(0x41424344, &off, 4), 0); // another type: ignored
  EXPECT_EQ(Normalized("PreviewID"), 1.0);
  EXPECT_EQ(ep->NotificationReceived(0x41535076, &off, 4), 0);
  EXPECT_EQ(Normalized("PreviewID"), 0.0);
  EXPECT_EQ(ep->NotificationReceived(0x41535076, nullptr, 0), 0); // no payload: ignored
  EXPECT_EQ(Normalized("PreviewID"), 0.0);
}

TEST_F(EffectParametersTest, NewDelegatesReachTheParameter)
{
  ep->GenerateCoefficients();
  AAX_CLinearTaperDelegate<int32_t, 0> wide(0, 100);
  EXPECT_EQ(ep->SetTaperDelegate("nope", wide, false), AAX_ERROR_INVALID_PARAMETER_ID);
  // The normalised position stays (0.7), so the real value becomes 70 and the
  // packet is marked dirty.
  EXPECT_EQ(ep->SetTaperDelegate("2", wide, false), 0);
  ep->GenerateCoefficients();
  ControllerState st = host.Controller()->State();
  ASSERT_EQ(st.packets.size(), 2u);
  EXPECT_EQ(st.packets[1].bytes, (std::vector<uint8_t>{70, 0, 0, 0}));

  AAX_CNumberDisplayDelegate<int32_t, 0> whole;
  EXPECT_EQ(ep->SetDisplayDelegate("nope", whole), AAX_ERROR_INVALID_PARAMETER_ID);
  EXPECT_EQ(ep->SetDisplayDelegate("2", whole), 0);
  AAX_CString s;
  ep->GetParameterValueString("2", &s, 8);
  EXPECT_EQ(s, "70");
}

TEST(EffectParametersConversion, NormalisedValuesMapOntoTheInt32Range)
{
  EXPECT_EQ(NormalizedToInt32(0.0), INT32_MIN);
  EXPECT_EQ(NormalizedToInt32(0.5), 0);
  EXPECT_EQ(NormalizedToInt32(1.0), INT32_MAX);
  EXPECT_EQ(NormalizedToInt32(7.0), INT32_MAX);
  EXPECT_EQ(NormalizedToInt32(-0.1), INT32_MIN);
  // 4294967295 * 0.25 - 2147483648 + 0.5 = -1073741823.75, floored.
  EXPECT_EQ(NormalizedToInt32(0.25), -1073741824);
  EXPECT_EQ(Int32ToNormalized(INT32_MIN), 0.0);
  EXPECT_EQ(Int32ToNormalized(INT32_MAX), 1.0);
  EXPECT_EQ(Int32ToNormalized(0), 2147483648.0 / 4294967295.0);
  EXPECT_EQ(BoolToNormalized(true), 1.0);
  EXPECT_EQ(BoolToNormalized(false), 0.0);
}

TEST_F(EffectParametersTest, UninitializeDeletesTheParametersAndTheWrappers)
{
  EXPECT_EQ(ep->Uninitialize(), 0);
  int32_t n = -1;
  ep->GetNumberOfParameters(&n);
  EXPECT_EQ(n, 0);
  EXPECT_TRUE(host.Automation()->Registered().empty());
  EXPECT_EQ(ep->Controller(), nullptr);
  EXPECT_EQ(ep->AutomationDelegate(), nullptr);
  EXPECT_EQ(ep->Transport(), nullptr);
  // Only the stand-in host's own references remain, as on a host never used.
  StandInHost unused;
  EXPECT_EQ(host.Controller()->RefCount(), unused.Controller()->RefCount());
  EXPECT_EQ(host.Automation()->RefCount(), unused.Automation()->RefCount());
  EXPECT_EQ(host.Transport()->RefCount(), unused.Transport()->RefCount());
}

TEST(EffectParametersCounting, QueriesCountAndTheLastReleaseFreesTheObject)
{
  const acfUInt32 live = CACFUnknown::GetActiveObjectCount();
  {
    TestEffectParameters* ep = TestEffectParameters::New();
    IACFUnknown* unk = ep;
    for (const acfIID* iid : {&IID_IAAXEffectParametersV1, &IID_IAAXEffectParametersV2,
                              &IID_IAAXEffectParametersV3, &IID_IAAXEffectParametersV4})
    {
      void* p = nullptr;
      EXPECT_EQ(unk->QueryInterface(*iid, &p), 0);
      EXPECT_EQ(p, static_cast<AAX_IACFEffectParameters_V4*>(ep));
    }
    EXPECT_EQ(ep->GetRefCount(), 5u);
    int other = 0;
    void* p = &other;
    EXPECT_EQ(unk->QueryInterface(IID_IAAXEffectGUIV1, &p), ACF_E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live + 1);
    for (int i = 0; i < 4; ++i)
      ep->Release();
    EXPECT_EQ(ep->Release(), 0u); // never initialised
  }
  EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live);

  // Released while initialised: the destructor still lets go of the host.
  StandInHost host;
  TestEffectParameters* ep = TestEffectParameters::New();
  ASSERT_EQ(ep->Initialize(host.Unknown()), 0);
  EXPECT_EQ(ep->Release(), 0u);
  EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live);
  EXPECT_TRUE(host.Automation()->Registered().empty());
  StandInHost unused;
  EXPECT_EQ(host.Controller()->RefCount(), unused.Controller()->RefCount());
  EXPECT_EQ(host.Automation()->RefCount(), unused.Automation()->RefCount());
}

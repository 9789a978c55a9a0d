// The bridge's parameters as a host sees them: creation, the interface
// versions, what Initialize builds, host updates and the plug-in's changes
// travelling to the host.
#include "../iplug/hosted_quorvane.h"
#include "bridge_plugs.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_CIPlugTaperDelegate.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace aaxhost;

namespace
{
std::string Text(AAX_IACFEffectParameters* p, const char* id, double v)
{
  AAX_CString s;
  EXPECT_EQ(p->GetParameterStringFromValue(id, v, &s, 31), 0) << id << " " << v;
  return s.Get();
}

// Counts every fill; writes the parameter's first identifier byte.
class CountingHandler : public AAX_IPacketHandler
{
public:
  explicit CountingHandler(int* calls) : mCalls(calls) {}
  AAX_IPacketHandler* Clone() const override { return new CountingHandler(mCalls); }
  AAX_Result Call(AAX_CParamID id, AAX_CPacket& packet) const override
  {
    ++*mCalls;
    *packet.GetPtr<int32_t>() = id[0];
    return 0;
  }

private:
  int* mCalls;
};
} // namespace

TEST(BridgeParams, CreationAnswersEveryEffectParametersVersionAndCountsLiveObjects)
{
  const acfUInt32 live = CACFUnknown::GetActiveObjectCount();
  {
    StandInHost host;
    HostInstance inst(host, QuorvaneCreate());
    ASSERT_TRUE(inst.Valid());
    EXPECT_EQ(inst.Version(), 4);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live + 1);
    for (const acfIID* iid : {&IID_IAAXEffectParametersV1, &IID_IAAXEffectParametersV2,
                              &IID_IAAXEffectParametersV3, &IID_IAAXEffectParametersV4})
    {
      void* p = nullptr;
      ASSERT_EQ(inst.Parameters()->QueryInterface(*iid, &p), ACF_OK);
      EXPECT_EQ(p, static_cast<void*>(inst.Parameters()));
      static_cast<IACFUnknown*>(p)->Release();
    }
    EXPECT_EQ(inst.Initialize(), 0);
  }
  EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), live);
}

TEST(BridgeParams, InitializeGivesBypassAndTheTwoSwitches)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  AAX_IACFEffectParameters* p = fx.Parameters();
  int32_t n = 0;
  EXPECT_EQ(p->GetNumberOfParameters(&n), 0);
  ASSERT_EQ(n, 3);
  const char* ids[] = {"MasterBypassID", "1", "2"};
  const char* names[] = {"Master Bypass", "Swap", "Mono"};
  for (int i = 0; i < 3; ++i)
  {
    AAX_CString id, name;
    EXPECT_EQ(p->GetParameterIDFromIndex(i, &id), 0);
    EXPECT_STREQ(id.Get(), ids[i]);
    p->GetParameterName(ids[i], &name);
    EXPECT_STREQ(name.Get(), names[i]);
    int32_t steps = 0;
    AAX_EParameterType type = AAX_eParameterType_Continuous;
    AAX_CBoolean automatable = 0;
    EXPECT_EQ(p->GetParameterNumberOfSteps(ids[i], &steps), 0);
    EXPECT_EQ(p->GetParameterType(ids[i], &type), 0);
    EXPECT_EQ(p->GetParameterIsAutomatable(ids[i], &automatable), 0);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(type, AAX_eParameterType_Discrete);
    EXPECT_EQ(automatable, 1);
  }
  EXPECT_EQ(Text(p, "1", 0.0), "off");
  EXPECT_EQ(Text(p, "2", 1.0), "on");
  EXPECT_EQ(Text(p, "MasterBypassID", 0.0), "bypass");
  EXPECT_EQ(Text(p, "MasterBypassID", 1.0), "on");
  AAX_CString bypass;
  p->GetMasterBypassParameter(&bypass);
  EXPECT_STREQ(bypass.Get(), "MasterBypassID");
  // The sample rate came from the host's controller.
  EXPECT_EQ(fx.Plug().GetSampleRate(), 44100.0);
}

TEST(BridgeParams, EveryIParamKindGetsItsTaperDisplayAndSteps)
{
  StandInHost host;
  HostInstance inst(host, AsCreationProc(&RecordingAAXPlug::CreatePlain));
  ASSERT_EQ(inst.Initialize(), 0);
  AAX_IACFEffectParameters* p = inst.Parameters();
  int32_t n = 0, steps = 0;
  p->GetNumberOfParameters(&n);
  EXPECT_EQ(n, 5); // the bypass and four typed parameters; "5" has no type
  AAX_IParameter* none = nullptr;
  EXPECT_EQ(p->GetParameter("5", &none), AAX_ERROR_INVALID_PARAMETER_ID);
  EXPECT_STREQ(PlugOf<RecordingAAXPlug>(inst)->GetParamID(4), "5");

  p->GetParameterNumberOfSteps("2", &steps);
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(Text(p, "2", 1.0), "high");
  EXPECT_EQ(Text(p, "2", 0.5), "mid");
  p->GetParameterNumberOfSteps("3", &steps);
  EXPECT_EQ(steps, 128);
  EXPECT_EQ(Text(p, "3", 1.0), "5.00st"); // the number display has two decimals
  AAX_EParameterType type = AAX_eParameterType_Discrete;
  p->GetParameterType("4", &type);
  EXPECT_EQ(type, AAX_eParameterType_Continuous);
  // Shape 2 over 0..10: normalised 0.5 is 2.5, the default.
  double v = 0;
  p->GetParameterNormalizedValue("4", &v);
  EXPECT_DOUBLE_EQ(v, 0.5);
  EXPECT_EQ(Text(p, "4", 0.5), "2.50dB");
}

TEST(BridgeParams, ShapedTaperMapsBothWaysAndConstrains)
{
  AAX_CIPlugTaperDelegate<double> taper(0.0, 10.0, 2.0);
  EXPECT_DOUBLE_EQ(taper.NormalizedToReal(0.5), 2.5);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(2.5), 0.5);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(12.0), 1.0);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(-1.0), 0.0);
  std::unique_ptr<AAX_ITaperDelegate<double>> copy(taper.Clone());
  EXPECT_DOUBLE_EQ(copy->NormalizedToReal(0.5), 2.5);
  EXPECT_EQ(copy->GetMaximumValue(), 10.0);
  EXPECT_EQ(AAX_CIPlugTaperDelegate<double>(3.0, 3.0, 1.0).RealToNormalized(3.0), 0.0);
}

TEST(BridgeParams, HostUpdateReachesParamChangeHandlerPacketAndChangeCount)
{
  StandInHost host;
  HostInstance inst(host, AsCreationProc(&RecordingAAXPlug::CreatePlain));
  RecordingAAXPlug* plug = PlugOf<RecordingAAXPlug>(inst);
  ASSERT_EQ(inst.Initialize(), 0);
  int fills = 0;
  plug->RegisterTestPacket("1", 4, CountingHandler(&fills));
  AAX_IACFEffectParameters* p = inst.Parameters();
  p->GenerateCoefficients(); // a new packet starts dirty
  ASSERT_EQ(fills, 1);
  plug->changes.clear();
  int32_t before = 0, after = 0;
  p->GetNumberOfChanges(&before);

  EXPECT_EQ(p->UpdateParameterNormalizedValue("1", 1.0, AAX_EUpdateSource(0)), 0);
  EXPECT_EQ(plug->GetParam(0)->Value(), 1.0);
  EXPECT_EQ(plug->changes, std::vector<int>{0});
  p->GenerateCoefficients();
  EXPECT_EQ(fills, 2);
  EXPECT_EQ(host.Controller()->State().packets.size(), 2u);
  // The same value again still marks the packet and counts a change.
  EXPECT_EQ(p->UpdateParameterNormalizedValue("1", 1.0, AAX_EUpdateSource(0)), 0);
  p->GenerateCoefficients();
  EXPECT_EQ(fills, 3);
  p->GetNumberOfChanges(&after);
  EXPECT_EQ(after, before + 2);

  // The bypass is no plug-in parameter: stored and counted only.
  EXPECT_EQ(p->UpdateParameterNormalizedValue("MasterBypassID", 1.0, AAX_EUpdateSource(0)), 0);
  double bypass = 0;
  p->GetParameterNormalizedValue("MasterBypassID", &bypass);
  EXPECT_EQ(bypass, 1.0);
  EXPECT_EQ(plug->changes.size(), 2u);
}

TEST(BridgeParams, UnknownIdentifiersChangeNothingAndOutOfRangeValuesAreClamped)
{
  StandInHost host;
  HostInstance inst(host, AsCreationProc(&RecordingAAXPlug::CreatePlain));
  RecordingAAXPlug* plug = PlugOf<RecordingAAXPlug>(inst);
  ASSERT_EQ(inst.Initialize(), 0);
  AAX_IACFEffectParameters* p = inst.Parameters();
  plug->changes.clear();
  int32_t before = 0, after = 0;
  p->GetNumberOfChanges(&before);
  for (const char* id : {"7", "0", "", "MasterBypass", "5"})
    EXPECT_EQ(p->UpdateParameterNormalizedValue(id, 1.0, AAX_EUpdateSource(0)),
              AAX_ERROR_INVALID_PARAMETER_ID)
        << id;
  EXPECT_EQ(p->UpdateParameterNormalizedValue(nullptr, 1.0, AAX_EUpdateSource(0)),
            AAX_ERROR_INVALID_PARAMETER_ID);
  p->GetNumberOfChanges(&after);
  EXPECT_EQ(after, before);
  EXPECT_TRUE(plug->changes.empty());

  double v = -1;
  p->UpdateParameterNormalizedValue("4", 1.7, AAX_EUpdateSource(0));
  EXPECT_EQ(plug->GetParam(3)->Value(), 10.0);
  p->UpdateParameterNormalizedValue("4", std::nan(""), AAX_EUpdateSource(0));
  EXPECT_EQ(plug->GetParam(3)->Value(), 0.0);
  p->GetParameterNormalizedValue("4", &v);
  EXPECT_EQ(v, 0.0);
}

TEST(BridgeParams, PlugInChangesTouchPostAndReleaseThroughTheHost)
{
  HostedQuorvane fx;
  ASSERT_TRUE(fx.Valid());
  fx.Instance().EchoAutomation(true);
  Quorvane& plug = fx.Plug();
  HostAutomationDelegate* automation = fx.Host().Automation();
  plug.BeginInformHostOfParamChange(Quorvane::kMono);
  EXPECT_TRUE(automation->IsTouched("2"));
  plug.SetParameterFromGUI(Quorvane::kMono, 1.0);
  ASSERT_EQ(automation->SetRequests().size(), 1u);
  EXPECT_EQ(automation->SetRequests()[0].id, "2");
  EXPECT_EQ(automation->SetRequests()[0].value, 1.0);
  EXPECT_EQ(automation->EchoResults(), std::vector<AAX_Result>{0});
  plug.EndInformHostOfParamChange(Quorvane::kMono);
  EXPECT_FALSE(automation->IsTouched("2"));
  EXPECT_TRUE(plug.IsMonoOn());
  double v = 0;
  fx.Parameters()->GetParameterNormalizedValue("2", &v);
  EXPECT_EQ(v, 1.0); // stored by the host's echo
  plug.BeginInformHostOfParamChange(9); // no such parameter: nothing sent
  EXPECT_EQ(automation->SetRequests().size(), 1u);
}

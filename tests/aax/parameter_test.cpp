// A parameter's life on the stand-in host: values with and without the host's
// automation, the need-notify rule, taper and display changes, steps and the
// type-matched conversions.
#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CHostServices.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CUnitDisplayDelegateDecorator.h"
#include "AAX_VAutomationDelegate.h"
#include "StandInHost.h"

#include <gtest/gtest.h>

#include <memory>

using namespace aaxhost;

namespace
{
typedef AAX_CLinearTaperDelegate<int, 0> IntTaper;
typedef AAX_CNumberDisplayDelegate<int, 2, 0> IntDisplay;

struct ParameterTest : ::testing::Test
{
  StandInHost host;
  AAX_VAutomationDelegate automation{host.Unknown()};
  ParameterTest() { AAX_CHostServices::Set(host.Unknown()); }
  ~ParameterTest() override { AAX_CHostServices::Set(nullptr); }

  std::unique_ptr<AAX_CParameter<int32_t>> IntParam(int32_t def = 3, int32_t max = 10)
  {
    return std::make_unique<AAX_CParameter<int32_t>>("Level", AAX_CString("Level"), def,
                                                      IntTaper(0, max), IntDisplay(), true);
  }
  size_t Count(const char* op) { return host.Automation()->Calls().Count(op); }
};
} // namespace

TEST_F(ParameterTest, ANewParameterHoldsTheConstrainedDefaultWith128Steps)
{
  auto p = IntParam(15);
  EXPECT_EQ(p->GetValue(), 10);
  EXPECT_EQ(p->GetDefaultValue(), 15); // stored as given
  EXPECT_EQ(p->GetNormalizedDefaultValue(), 1.0);
  EXPECT_EQ(p->GetNumberOfSteps(), 128u);
  EXPECT_EQ(p->GetType(), AAX_eParameterType_Continuous);
  EXPECT_EQ(p->GetOrientation(), 0);
  EXPECT_TRUE(p->Automatable());
  p->SetNormalizedDefaultValue(0.47); // 4.7 -> 4; the value stays
  EXPECT_EQ(p->GetDefaultValue(), 4);
  EXPECT_EQ(p->GetValue(), 10);
  p->SetToDefaultValue();
  EXPECT_EQ(p->GetValue(), 4);
}

TEST_F(ParameterTest, WithoutAutomationASetValueAppliesAtOnce)
{
  auto p = IntParam();
  p->SetNormalizedValue(0.71);
  EXPECT_EQ(p->GetValue(), 7);
  EXPECT_EQ(p->GetNormalizedValue(), 0.7);
  EXPECT_EQ(host.Automation()->Calls().Size(), 0u);
}

TEST_F(ParameterTest, WithAutomationASetValuePostsAndStoresNothingUntilTheUpdate)
{
  auto p = IntParam();
  p->SetAutomationDelegate(&automation);
  EXPECT_EQ(host.Automation()->Registered(), std::set<std::string>{"Level"});
  host.Automation()->Calls().Clear();

  p->SetValue(7);
  EXPECT_EQ(p->GetValue(), 3);
  const std::vector<Call> calls = host.Automation()->Calls().All();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].op, "PostTouchRequest");
  EXPECT_EQ(calls[1].op, "PostSetValueRequest");
  EXPECT_EQ(calls[1].args, "\"Level\", 0.7");
  EXPECT_EQ(calls[2].op, "PostReleaseRequest");

  p->UpdateNormalizedValue(0.7);
  EXPECT_EQ(p->GetValue(), 7);
  double reported = 0;
  ASSERT_TRUE(host.Automation()->CurrentValue("Level", &reported));
  EXPECT_EQ(reported, 0.7);

  p.reset(); // unregisters
  EXPECT_TRUE(host.Automation()->Registered().empty());
}

TEST_F(ParameterTest, AnUnchangedUpdateIsDroppedUnlessNotificationIsDue)
{
  auto p = IntParam();
  p->SetAutomationDelegate(&automation);
  p->UpdateNormalizedValue(0.3); // construction already stored 3 and cleared the flag
  EXPECT_EQ(Count("PostCurrentValue"), 0u);
  p->UpdateNormalizedValue(0.32); // still 3 after truncation
  EXPECT_EQ(Count("PostCurrentValue"), 0u);
  p->UpdateNormalizedValue(0.5);
  EXPECT_EQ(Count("PostCurrentValue"), 1u);

  // A taper change makes the next update store and report even unchanged.
  IntTaper same(0, 10);
  p->SetTaperDelegate(same, false); // keeps 0.5: UpdateNormalizedValue(0.5)
  EXPECT_EQ(Count("PostCurrentValue"), 2u);
  EXPECT_EQ(p->GetValue(), 5);
}

TEST_F(ParameterTest, ATaperChangeKeepsEitherTheRealValueOrItsNormalisedPosition)
{
  auto keepReal = IntParam(5);
  IntTaper wider(0, 20);
  keepReal->SetTaperDelegate(wider, true);
  EXPECT_EQ(keepReal->GetValue(), 5);
  EXPECT_EQ(keepReal->GetNormalizedValue(), 0.25);

  auto keepPosition = IntParam(5);
  keepPosition->SetTaperDelegate(wider, false);
  EXPECT_EQ(keepPosition->GetValue(), 10);
  EXPECT_EQ(keepPosition->GetNormalizedValue(), 0.5);
  EXPECT_EQ(keepPosition->TaperDelegate()->GetMaximumValue(), 20);
  EXPECT_NE(keepPosition->TaperDelegate(), &wider); // cloned
}

TEST_F(ParameterTest, DelegatesOfAnotherValueTypeAreRefusedWithAnAssertionReport)
{
  auto p = IntParam(5);
  AAX_CBinaryTaperDelegate<bool> boolTaper;
  AAX_CBinaryDisplayDelegate<bool> boolDisplay("Off", "On");
  p->SetTaperDelegate(boolTaper, false);
  p->SetDisplayDelegate(boolDisplay);
  EXPECT_EQ(p->GetValue(), 5);
  AAX_CString text;
  ASSERT_TRUE(p->GetValueString(&text));
  EXPECT_EQ(text, "5.00");
  ASSERT_EQ(host.Services()->Asserts().size(), 2u);
  EXPECT_EQ(host.Services()->Asserts()[0].flags, 3);
}

TEST_F(ParameterTest, ADisplayChangePostsTheCurrentValue)
{
  auto p = IntParam(4);
  p->SetAutomationDelegate(&automation);
  AAX_CUnitDisplayDelegateDecorator<int> withUnit(IntDisplay(), AAX_CString(" st"));
  p->SetDisplayDelegate(withUnit);
  double reported = 0;
  ASSERT_TRUE(host.Automation()->CurrentValue("Level", &reported));
  EXPECT_EQ(reported, 0.4);
  AAX_CString text;
  p->GetValueString(&text);
  EXPECT_EQ(text, "4.00 st");
}

TEST_F(ParameterTest, StepsRoundToTheNearestAndFewerThanTwoDisableThem)
{
  auto p = IntParam(0);
  EXPECT_EQ(p->GetStepValueFromNormalizedValue(0.5), 64u); // 0.5 * 127 + 0.5
  EXPECT_EQ(p->GetStepValueFromNormalizedValue(1.2), 127u);
  EXPECT_EQ(p->GetStepValueFromNormalizedValue(-0.1), 0u);
  EXPECT_EQ(p->GetNormalizedValueFromStep(200), 1.0);

  p->SetNumberOfSteps(11);
  p->SetStepValue(3);
  EXPECT_EQ(p->GetValue(), 3);
  EXPECT_EQ(p->GetStepValue(), 3u);

  p->SetNumberOfSteps(0); // refused
  EXPECT_EQ(p->GetNumberOfSteps(), 11u);
  ASSERT_EQ(host.Services()->Asserts().size(), 1u);
  EXPECT_EQ(host.Services()->Asserts()[0].note, "0 < numSteps");

  p->SetNumberOfSteps(1);
  EXPECT_EQ(p->GetNormalizedValueFromStep(1), 0.0);
  EXPECT_EQ(p->GetStepValue(), 0u);
  p->SetStepValue(9);
  EXPECT_EQ(p->GetValue(), 3);
}

TEST_F(ParameterTest, OnlyConversionsOfTheOwnTypeWork)
{
  AAX_CParameter<bool> p("Swap", AAX_CString("Swap"), false, AAX_CBinaryTaperDelegate<bool>(),
                         AAX_CBinaryDisplayDelegate<bool>("Off", "On"), true);
  double n = -1;
  EXPECT_FALSE(p.GetNormalizedValueFromInt32(1, &n));
  EXPECT_EQ(n, -1);
  EXPECT_TRUE(p.GetNormalizedValueFromBool(true, &n));
  EXPECT_EQ(n, 1.0);
  EXPECT_FALSE(p.SetValueWithInt32(1));
  EXPECT_FALSE(p.SetValueWithDouble(1.0));
  EXPECT_FALSE(p.GetValue());
  EXPECT_TRUE(p.SetValueWithBool(true));
  bool b = false;
  int32_t i = -1;
  EXPECT_TRUE(p.GetValueAsBool(&b));
  EXPECT_TRUE(b);
  EXPECT_FALSE(p.GetValueAsInt32(&i));
  EXPECT_EQ(i, -1);
  EXPECT_FALSE(p.GetInt32FromNormalizedValue(1.0, &i));
  EXPECT_TRUE(p.GetBoolFromNormalizedValue(0.0, &b));
  EXPECT_FALSE(b);

  // Text works for every type through the display delegate.
  AAX_CString text;
  EXPECT_TRUE(p.GetValueAsString(&text));
  EXPECT_EQ(text, "On");
  EXPECT_TRUE(p.SetValueWithString(AAX_CString("Off")));
  EXPECT_FALSE(p.GetValue());
  EXPECT_FALSE(p.SetValueFromString(AAX_CString("maybe")));
  EXPECT_TRUE(p.GetNormalizedValueFromString(AAX_CString("On"), &n));
  EXPECT_EQ(n, 1.0);
}

TEST_F(ParameterTest, OnlyTheNormalisedStringFormAppliesTheLimit)
{
  AAX_CParameter<double> p("Gain", AAX_CString("Gain"), 1234.567,
                           AAX_CLinearTaperDelegate<double, 0>(0.0, 2000.0),
                           AAX_CNumberDisplayDelegate<double, 2, 0>());
  AAX_CString text;
  EXPECT_TRUE(p.GetValueString(3, &text));
  EXPECT_EQ(text, "1234.57");
  EXPECT_TRUE(p.GetStringFromNormalizedValue(0.25, 3, text)); // 500.00 -> "500"
  EXPECT_EQ(text, "500");
  EXPECT_TRUE(p.GetStringFromNormalizedValue(0.25, text));
  EXPECT_EQ(text, "500.00");
  EXPECT_TRUE(p.SetValueFromString(AAX_CString("5000"))); // no range check here
  EXPECT_EQ(p.GetValue(), 2000.0);                      // the taper constrains
}

TEST_F(ParameterTest, ALongIdentifierIsReportedAndCutTo31Characters)
{
  const std::string longID(40, 'x');
  AAX_CParameter<int32_t> p(longID.c_str(), AAX_CString("Long"), 0, IntTaper(0, 1), IntDisplay());
  EXPECT_EQ(std::string(p.Identifier()), std::string(31, 'x'));
  ASSERT_EQ(host.Services()->Asserts().size(), 1u);
  EXPECT_EQ(host.Services()->Asserts()[0].note, "len < eParemeterDefaultMaxIdentifierSize");
  EXPECT_EQ(host.Services()->Asserts()[0].flags, 3);
  std::unique_ptr<AAX_IParameterValue> value(p.CloneValue());
  EXPECT_EQ(std::string(value->Identifier()), std::string(31, 'x'));
  int32_t v = -1;
  EXPECT_TRUE(value->GetValueAsInt32(&v));
  EXPECT_EQ(v, 0);
}

TEST(StringAbbreviations, TheLongestFittingAbbreviationOrElseTheShortest)
{
  AAX_CStringAbbreviations names(AAX_CString("Frequency"));
  EXPECT_EQ(names.Get(2), "Frequency"); // no abbreviations
  names.Add(AAX_CString("Freq"));
  names.Add(AAX_CString("Frq"));
  names.Add(AAX_CString("Fq"));
  EXPECT_EQ(names.Get(9), "Frequency");
  EXPECT_EQ(names.Get(-1), "Frequency");
  EXPECT_EQ(names.Get(8), "Freq");
  EXPECT_EQ(names.Get(3), "Frq");
  EXPECT_EQ(names.Get(1), "Fq");
  names.Add(AAX_CString("Fre."));
  EXPECT_EQ(names.Get(4), "Fre."); // same length replaces
  names.Clear();
  EXPECT_EQ(names.Get(1), "Frequency");
}

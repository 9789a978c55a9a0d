// Value prompts: popup menus for bool and enum parameters, text entry for the others.
#include "gui_test_support.h"

namespace
{
class PromptTest : public EditorTest
{
protected:
  void SetUp() override
  {
    EditorTest::SetUp();
    WriteFrames("pbtn.png", 4, 4, {0xff000000, 0xffffffff});
    btn = gui->LoadIBitmap(4001, "pbtn.png", 2);
    mode = new ISwitchPopUpControl(&plug, 0, 0, kMode, &btn);
    swap = new ISwitchPopUpControl(&plug, 10, 0, kSwap, &btn);
    gain = new ICaptionControl(&plug, IRECT(0, 10, 30, 20), kGain, &style);
    gui->AttachControl(mode);
    gui->AttachControl(swap);
    gui->AttachControl(gain);
    Attach();
  }
  IBitmap btn;
  IText style;
  ISwitchPopUpControl *mode, *swap;
  ICaptionControl* gain;
};
} // namespace

TEST_F(PromptTest, EnumPromptListsEveryDisplayTextChecksTheCurrentOneAndSetsTheChoice)
{
  plug.GetParam(kMode)->Set(1.0);
  gui->SetNextMenuChoice(2);
  gui->OnMouseDown(1, 1, &left);
  gui->OnMouseUp(1, 1, &left);
  ASSERT_EQ(gui->MenusShown().size(), 1u);
  const IGraphicsHeadless::MenuRecord& menu = gui->MenusShown()[0];
  EXPECT_EQ(menu.items, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(menu.checked, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(menu.rect, *mode->GetRECT());
  EXPECT_EQ(mode->GetValue(), 1.0);
  EXPECT_EQ(plug.GetParam(kMode)->Int(), 2);
  std::vector<std::string> expected = {"begin 1", "inform 1 1", "inform 1 1", "end 1"};
  EXPECT_EQ(plug.events, expected);
}

TEST_F(PromptTest, BoolPromptOffersOffAndOn)
{
  gui->SetNextMenuChoice(1);
  swap->OnMouseDown(11, 1, &left);
  ASSERT_EQ(gui->MenusShown().size(), 1u);
  EXPECT_EQ(gui->MenusShown()[0].items, (std::vector<std::string>{"off", "on"}));
  EXPECT_EQ(gui->MenusShown()[0].checked, (std::vector<bool>{true, false}));
  EXPECT_EQ(swap->GetValue(), 1.0);
  EXPECT_TRUE(plug.GetParam(kSwap)->Bool());
}

TEST_F(PromptTest, ADismissedMenuChangesNothing)
{
  gui->SetNextMenuChoice(-1);
  mode->OnMouseDown(1, 1, &left);
  gui->SetNextMenuChoice(7); // no such item: dismissed as well
  mode->OnMouseDown(1, 1, &left);
  EXPECT_EQ(gui->MenusShown().size(), 2u);
  EXPECT_EQ(mode->GetValue(), 0.0);
  EXPECT_EQ(plug.GetParam(kMode)->Int(), 0);
}

TEST(Prompt, TheMenuChoiceStandsForItsDisplayTextsValue)
{
  // Texts added from the highest value down: item 0 is value 2.
  GuiTestPlug plug(true);
  auto* gui = new IGraphicsHeadless(&plug, 10, 10);
  auto* c = new IInvisibleSwitchControl(&plug, IRECT(0, 0, 10, 10), kMode);
  gui->AttachControl(c);
  plug.AttachGraphics(gui);
  gui->SetNextMenuChoice(0);
  gui->PromptUserInput(c, plug.GetParam(kMode), c->GetRECT());
  EXPECT_EQ(gui->MenusShown()[0].items, (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
  EXPECT_EQ(gui->MenusShown()[0].checked, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(c->GetValue(), 1.0);
  EXPECT_EQ(plug.GetParam(kMode)->Int(), 2);
}

TEST_F(PromptTest, CaptionPromptsWithATextEntryPrefilledWithTheDisplayText)
{
  gui->SetNextTextEntry("-6");
  gui->OnMouseDown(5, 15, &left);
  gui->OnMouseUp(5, 15, &left);
  ASSERT_EQ(gui->TextEntries().size(), 1u);
  const IGraphicsHeadless::TextEntryRecord& entry = gui->TextEntries()[0];
  EXPECT_EQ(entry.initial, "0.0");
  EXPECT_EQ(entry.param, plug.GetParam(kGain));
  EXPECT_EQ(entry.control, gain);
  // 40 x 16 centred on the caption's midpoint (15, 15).
  EXPECT_EQ(entry.rect, IRECT(-5, 7, 35, 23));
  EXPECT_EQ(plug.GetParam(kGain)->Value(), -6.0);
  EXPECT_DOUBLE_EQ(gain->GetValue(), 0.25);
}

TEST_F(PromptTest, TextEntryForAnEnumMapsTheTextAndUnknownTextGivesZero)
{
  gain->SetValueFromPlug(0.5);
  gui->SetFromStringAfterPrompt(mode, plug.GetParam(kMode), "Gamma");
  EXPECT_EQ(mode->GetValue(), 1.0);
  gui->SetFromStringAfterPrompt(mode, plug.GetParam(kMode), "Delta");
  EXPECT_EQ(mode->GetValue(), 0.0);
  gui->SetFromStringAfterPrompt(gain, plug.GetParam(kGain), "12");
  EXPECT_EQ(gain->GetValue(), 1.0);
  gui->SetFromStringAfterPrompt(nullptr, plug.GetParam(kGain), "3"); // ignored
  gui->PromptUserInput(gain, nullptr, gain->GetRECT());
  EXPECT_TRUE(gui->TextEntries().empty());
}

TEST_F(PromptTest, AnAbandonedTextEntryChangesNothing)
{
  gui->SetNextTextEntry(nullptr);
  gain->OnMouseDblClick(0, 0, &left);
  EXPECT_EQ(gui->TextEntries().size(), 1u);
  EXPECT_EQ(plug.GetParam(kGain)->Value(), 0.0);
  EXPECT_TRUE(plug.events.empty());
}

TEST_F(PromptTest, BaseControlsPromptOnlyWhenPromptingIsOn)
{
  auto* plain = new IInvisibleSwitchControl(&plug, IRECT(30, 0, 40, 10), kMode);
  gui->AttachControl(plain);
  plain->IControl::OnMouseDown(0, 0, &right);
  EXPECT_TRUE(gui->MenusShown().empty());
  plain->DisablePrompt(false);
  plain->IControl::OnMouseDown(0, 0, &right);
  EXPECT_EQ(gui->MenusShown().size(), 1u);
}

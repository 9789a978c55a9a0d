// The behaviour rows of every control class.
#include "gui_test_support.h"

namespace
{
const LICE_pixel kOff = 0xff000000, kOn = 0xffffffff, kMid = 0xff808080;

class ControlsTest : public EditorTest
{
protected:
  void SetUp() override
  {
    MakeEditor(60, 60);
    WriteFrames("sw2.png", 4, 4, {kOff, kOn});
    WriteFrames("sw3.png", 4, 4, {kOff, kMid, kOn});
    two = gui->LoadIBitmap(3001, "sw2.png", 2);
    three = gui->LoadIBitmap(3002, "sw3.png", 3);
  }
  IBitmap two, three;
};
} // namespace

TEST_F(ControlsTest, ASwitchTakesTheFirstPushAsDefaultAndADoubleClickOnABaseControlRestoresIt)
{
  auto* sw = new ISwitchControl(&plug, 0, 0, kSwap, &two);
  auto* panel = new IPanelControl(&plug, IRECT(10, 0, 20, 10), &COLOR_RED);
  gui->AttachControl(sw);
  gui->AttachControl(panel);
  plug.GetParam(kSwap)->Set(1.0);
  Attach();
  EXPECT_EQ(sw->GetValue(), 1.0);
  EXPECT_EQ(sw->GetDefaultValue(), 1.0);
  sw->SetValueFromPlug(0.0);
  IMouseMod none;
  sw->IControl::OnMouseDblClick(0, 0, &none);
  EXPECT_EQ(sw->GetValue(), 1.0);
  EXPECT_EQ(plug.events.back(), "inform 0 1");
  panel->OnMouseDblClick(0, 0, &none); // default unknown: nothing
  EXPECT_EQ(panel->GetValue(), 0.0);
}

TEST_F(ControlsTest, TwoFrameSwitchTogglesAndThreeFramesCycle)
{
  auto* s2 = new ISwitchControl(&plug, 0, 0, kSwap, &two);
  auto* s3 = new ISwitchControl(&plug, 10, 0, kMode, &three);
  gui->AttachControl(s2);
  gui->AttachControl(s3);
  Attach();
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i)
  {
    s3->OnMouseDown(0, 0, &left);
    seen.push_back(s3->GetValue());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  s2->OnMouseDown(0, 0, &left);
  EXPECT_EQ(s2->GetValue(), 1.0);
  Cycle();
  EXPECT_EQ(Px(0, 0), kOn); // value 1: the lower frame
  EXPECT_EQ(Px(10, 0), kMid);
  s2->OnMouseDblClick(0, 0, &left); // a double click steps like a click
  EXPECT_EQ(s2->GetValue(), 0.0);
}

TEST_F(ControlsTest, AValueFromThePlugInThatIsAlreadyShownChangesNothing)
{
  auto* sw = new ISwitchControl(&plug, 0, 0, kSwap, &two);
  gui->AttachControl(sw);
  Attach();
  Cycle();
  Cycle();
  sw->SetValueFromPlug(0.0);
  EXPECT_FALSE(sw->IsDirty());
  EXPECT_TRUE(plug.events.empty());
  sw->SetValueFromPlug(1.0); // a change from the plug-in does not go back to it
  EXPECT_TRUE(sw->IsDirty());
  EXPECT_TRUE(plug.events.empty());
}

TEST_F(ControlsTest, ValuesAreClampedAndOutOfRangeParametersAreIgnored)
{
  auto* knob = new IKnobMultiControl(&plug, 0, 0, kGain, &three);
  auto* stray = new ISwitchControl(&plug, 10, 0, 99, &two);
  gui->AttachControl(knob);
  gui->AttachControl(stray);
  Attach();
  gui->ClampControl(kGain, -6.0, 6.0, false); // 0.25 .. 0.75
  knob->SetValueFromUserInput(0.9);
  EXPECT_EQ(knob->GetValue(), 0.75);
  stray->OnMouseDown(0, 0, &left);
  EXPECT_EQ(stray->GetValue(), 1.0);
  gui->SetParameterFromPlug(99, 0.0, true);
  gui->OnMouseDown(11, 1, &left);
  gui->OnMouseUp(11, 1, &left);
  EXPECT_EQ(plug.events, std::vector<std::string>{"inform 2 0.75"});
}

TEST_F(ControlsTest, HideAndGrayOutApplyToEveryControlOfTheParameter)
{
  auto* a = new ISwitchControl(&plug, 0, 0, kSwap, &two);
  auto* b = new ISwitchControl(&plug, 10, 0, kSwap, &two);
  gui->AttachControl(a);
  gui->AttachControl(b);
  Attach();
  Cycle();
  Cycle();
  gui->HideControl(kSwap, true);
  EXPECT_TRUE(a->IsHidden() && b->IsHidden());
  EXPECT_TRUE(a->IsDirty());
  gui->GrayOutControl(kSwap, true);
  EXPECT_EQ(b->GetBlend().mWeight, GRAYED_ALPHA);
  gui->GrayOutControl(kSwap, false);
  EXPECT_EQ(b->GetBlend().mWeight, 1.0f);
  gui->AssignParamNameToolTips();
  EXPECT_STREQ(a->GetTooltip(), "Swap");
}

TEST_F(ControlsTest, SwitchFramesSelectsTheFrameUnderTheMouse)
{
  // The control is one 4 x 4 frame split into rows of 4 / 3: [0, 1), [1, 2), [2, 3).
  auto* c = new ISwitchFramesControl(&plug, 0, 0, kMode, &three);
  gui->AttachControl(c);
  Attach();
  c->OnMouseDown(1, 2, &left);
  EXPECT_EQ(c->GetValue(), 1.0);
  c->OnMouseDown(1, 1, &left);
  EXPECT_EQ(c->GetValue(), 0.5);
  c->OnMouseDown(1, 3, &left); // in no part (truncated edges): unchanged
  EXPECT_EQ(c->GetValue(), 0.5);
  EXPECT_FALSE(c->PromptDisabled());
}

TEST_F(ControlsTest, InvisibleSwitchTogglesAtOneHalfAndDrawsNothing)
{
  auto* c = new IInvisibleSwitchControl(&plug, IRECT(0, 0, 10, 10), kSwap);
  gui->AttachControl(c);
  Attach();
  c->SetValueFromPlug(0.4);
  c->OnMouseDown(0, 0, &left);
  EXPECT_EQ(c->GetValue(), 1.0);
  c->OnMouseDown(0, 0, &left);
  EXPECT_EQ(c->GetValue(), 0.0);
  Cycle();
  EXPECT_EQ(Px(0, 0), 0u);
}

TEST_F(ControlsTest, RadioButtonsAreSpacedEvenlyAndTheActiveOneShowsFrameTwo)
{
  // Three 4 x 4 buttons across 20 pixels: spacing (20 - 12) / 2 = 4.
  auto* r = new IRadioButtonsControl(&plug, IRECT(0, 0, 20, 4), kMode, 3, &two, kHorizontal);
  auto* rev = new IRadioButtonsControl(&plug, IRECT(0, 10, 20, 14), kMode, 3, &two, kHorizontal,
                                       true);
  gui->AttachControl(r);
  gui->AttachControl(rev);
  Attach();
  EXPECT_EQ(*r->GetButtonRECT(2), IRECT(16, 0, 20, 4));
  // Reversed: the first button ends one spacing inside the right edge.
  EXPECT_EQ(*rev->GetButtonRECT(0), IRECT(12, 10, 16, 14));
  EXPECT_EQ(*rev->GetButtonRECT(2), IRECT(-4, 10, 0, 14));
  r->OnMouseDown(9, 1, &left);
  EXPECT_EQ(r->GetValue(), 0.5);
  r->OnMouseDown(5, 1, &left); // in the gap: unchanged
  EXPECT_EQ(r->GetValue(), 0.5);
  Cycle();
  EXPECT_EQ(Px(0, 0), kOff);
  EXPECT_EQ(Px(8, 0), kOn);
  EXPECT_EQ(Px(16, 0), kOff);
}

TEST_F(ControlsTest, ContactControlIsMomentary)
{
  auto* c = new IContactControl(&plug, 0, 0, kSwap, &two);
  gui->AttachControl(c);
  Attach();
  gui->OnMouseDown(1, 1, &left);
  EXPECT_EQ(c->GetValue(), 1.0);
  gui->OnMouseUp(1, 1, &left);
  EXPECT_EQ(c->GetValue(), 0.0);
  std::vector<std::string> expected = {"begin 0", "inform 0 1", "inform 0 0", "end 0"};
  EXPECT_EQ(plug.events, expected);
}

TEST_F(ControlsTest, FaderSnapsToTheMouseClampsAtTheEndsAndHitsOnlyItsHandleWhenAsked)
{
  // Handle 4 x 4 (frame height 4 of the 2-frame picture is not used: whole picture 4 x 8).
  WriteFrames("handle.png", 4, 4, {kOn});
  IBitmap handle = gui->LoadIBitmap(3003, "handle.png");
  auto* v = new IFaderControl(&plug, 0, 0, 24, kGain, &handle, kVertical);
  auto* h = new IFaderControl(&plug, 10, 40, 24, kMode, &handle, kHorizontal, true);
  gui->AttachControl(v);
  gui->AttachControl(h);
  Attach();
  EXPECT_EQ(*v->GetRECT(), IRECT(0, 0, 4, 24));
  EXPECT_EQ(*h->GetRECT(), IRECT(10, 40, 34, 44));
  // Vertical: v = 1 - (y - T - 2) / 20.
  v->OnMouseDown(1, 7, &left);
  EXPECT_DOUBLE_EQ(v->GetValue(), 0.75);
  v->OnMouseDrag(1, -50, 0, 0, &left);
  EXPECT_EQ(v->GetValue(), 1.0);
  v->OnMouseDrag(1, 500, 0, 0, &left);
  EXPECT_EQ(v->GetValue(), 0.0);
  EXPECT_EQ(v->GetHandleRECT(), IRECT(0, 20, 4, 24));
  EXPECT_EQ(v->GetHandleRECT(0.5), IRECT(0, 10, 4, 14));
  // Horizontal: v = (x - L - 2) / 20; only the handle (now at the left end) is hit.
  EXPECT_TRUE(h->IsHit(11, 41));
  EXPECT_FALSE(h->IsHit(30, 41));
  h->OnMouseDown(22, 41, &left);
  EXPECT_DOUBLE_EQ(h->GetValue(), 0.5);
  IMouseMod fine{false, false, true};
  h->OnMouseWheel(0, 0, &fine, 10);
  EXPECT_DOUBLE_EQ(h->GetValue(), 0.51);
  h->OnMouseWheel(0, 0, &left, -10);
  EXPECT_DOUBLE_EQ(h->GetValue(), 0.41);
  Cycle();
  EXPECT_EQ(Px(0, 20), kOn);
  EXPECT_EQ(Px(0, 19), 0u);
}

TEST_F(ControlsTest, KnobDragsAreGearedAndFineWithAModifier)
{
  auto* k = new IKnobLineControl(&plug, IRECT(0, 0, 20, 40), kGain, &COLOR_WHITE);
  auto* kh = new IKnobLineControl(&plug, IRECT(20, 0, 40, 40), kMode, &COLOR_WHITE, 0, 0, -1, 1,
                                  kHorizontal, 1.0);
  gui->AttachControl(k);
  gui->AttachControl(kh);
  Attach();
  k->SetValueFromPlug(0.5);
  k->OnMouseDrag(0, 0, 0, -8, &left); // up by 8: += 8 / 40 / 4
  EXPECT_DOUBLE_EQ(k->GetValue(), 0.55);
  IMouseMod ctrl{true, false, false, true};
  k->OnMouseDrag(0, 0, 0, 8, &ctrl); // -= 8 / 40 / 40
  EXPECT_DOUBLE_EQ(k->GetValue(), 0.545);
  kh->OnMouseDrag(0, 0, 5, 0, &left); // += 5 / 20
  EXPECT_DOUBLE_EQ(kh->GetValue(), 0.25);
}

TEST_F(ControlsTest, KnobLinePointsUpAtAngleZero)
{
  // min = max = 0: the line runs straight up from the centre (10, 10), radius 0 to 10.
  auto* k = new IKnobLineControl(&plug, IRECT(0, 0, 20, 20), kGain, &COLOR_WHITE, 0, 0, 0, 0);
  gui->AttachControl(k);
  Attach();
  Cycle();
  EXPECT_EQ(Px(10, 5), kOn);
  EXPECT_EQ(Px(10, 15), 0u);
  EXPECT_EQ(Px(5, 10), 0u);
}

TEST_F(ControlsTest, RotatingMaskShowsTheBaseColourThroughTheTop)
{
  // The base's alpha is cleared, an opaque black mask adds alpha 255 back and
  // a transparent top changes nothing: the grey is drawn. Mid value: angle 0.
  WriteFrames("mbase.png", 3, 3, {0xff646464});
  WriteFrames("mmask.png", 3, 3, {0xff000000});
  WriteFrames("mclear.png", 3, 3, {0x00000000});
  IBitmap base = gui->LoadIBitmap(3010, "mbase.png");
  IBitmap mask = gui->LoadIBitmap(3012, "mmask.png");
  IBitmap clear = gui->LoadIBitmap(3011, "mclear.png");
  auto* k = new IKnobRotatingMaskControl(&plug, 0, 0, kGain, &base, &mask, &clear);
  auto* noMask = new IKnobRotatingMaskControl(&plug, 10, 0, kGain, &base, &clear, &clear);
  gui->AttachControl(k);
  gui->AttachControl(noMask);
  Attach();
  Cycle();
  EXPECT_EQ(Px(1, 1), 0xff646464u);
  EXPECT_EQ(Px(11, 1), 0u); // alpha stays 0: copying with source alpha leaves the pixel
}

TEST_F(ControlsTest, OverlayIsHitInItsSecondAreaWhileOff)
{
  IRECT area(20, 20, 30, 30);
  auto* o = new IBitmapOverlayControl(&plug, 0, 0, kSwap, &two, &area);
  gui->AttachControl(o);
  Attach();
  Cycle();
  EXPECT_EQ(Px(0, 0), 0u);
  EXPECT_TRUE(o->IsHit(25, 25));
  EXPECT_FALSE(o->IsHit(1, 1));
  o->SetValueFromPlug(1.0);
  Cycle();
  EXPECT_EQ(Px(0, 0), kOn);
  EXPECT_TRUE(o->IsHit(1, 1));
}

TEST_F(ControlsTest, ValueAndNameDisplaysFollowTheControl)
{
  IText style;
  auto* value = new ITextControl(&plug, IRECT(0, 20, 40, 30), &style);
  auto* name = new ITextControl(&plug, IRECT(0, 30, 40, 40), &style);
  auto* k = new IKnobMultiControl(&plug, 0, 0, kGain, &three);
  k->SetValDisplayControl(value);
  k->SetNameDisplayControl(name);
  gui->AttachControl(value);
  gui->AttachControl(name);
  gui->AttachControl(k);
  Attach();
  k->SetValueFromUserInput(0.75);
  EXPECT_STREQ(value->GetTextString(), "6.0 dB");
  EXPECT_STREQ(name->GetTextString(), "Gain");
  Cycle();
  Cycle();
  value->SetTextFromPlug("6.0 dB"); // the same text: not dirty
  EXPECT_FALSE(value->IsDirty());
}

TEST_F(ControlsTest, URLControlFallsBackToTheBackupURL)
{
  auto* url = new IURLControl(&plug, IRECT(0, 0, 10, 10), "https://a.example", "https://b.example");
  auto* none = new IURLControl(&plug, IRECT(10, 0, 20, 10), nullptr);
  gui->AttachControl(url);
  gui->AttachControl(none);
  Attach();
  url->OnMouseDown(0, 0, &left);
  EXPECT_EQ(gui->URLsOpened(), (std::vector<std::string>{"https://a.example", "https://b.example"}));
  gui->SetOpenURLResult(true);
  url->OnMouseDown(0, 0, &left);
  none->OnMouseDown(0, 0, &left);
  EXPECT_EQ(gui->URLsOpened().size(), 3u);
}

TEST_F(ControlsTest, FileSelectorStoresTheChosenFileAndStepsItsValue)
{
  auto* fs = new IFileSelectorControl(&plug, IRECT(0, 0, 4, 4), kSwap, &two, IGraphics::kFileOpen,
                                      "/tmp", "wav aif");
  gui->AttachControl(fs);
  Attach();
  int parent = 0;
  gui->OpenWindow(&parent);
  gui->SetNextFile("/tmp/take.wav");
  Cycle();
  Cycle();
  fs->OnMouseDown(0, 0, &left);
  WDL_String file;
  fs->GetLastSelectedFileForPlug(&file);
  EXPECT_STREQ(file.Get(), "/tmp/take.wav");
  EXPECT_EQ(fs->GetValue(), 1.0);
  EXPECT_EQ(fs->GetState(), IFileSelectorControl::kFSDone);
  EXPECT_TRUE(Cycle());
  EXPECT_TRUE(Cycle()); // the finished selection asks for one more pass
  EXPECT_EQ(fs->GetState(), IFileSelectorControl::kFSNone);
  EXPECT_FALSE(Cycle());
  fs->OnMouseDown(0, 0, &left);
  EXPECT_EQ(fs->GetValue(), 0.0); // 2 wraps to 0
}

TEST_F(ControlsTest, BitmapTextDrawsOneFramePerCharacterFromSpace)
{
  // Glyph picture: 2 x 2 frames for space (black), '!' (white), '"' (grey).
  WriteFrames("glyphs.png", 2, 2, {kOff, kOn, kMid});
  IBitmap glyphs = gui->LoadIBitmap(3020, "glyphs.png", 3);
  IText leftAligned(10, nullptr, nullptr, IText::kStyleNormal, IText::kAlignNear);
  auto* t = new IBitmapTextControl(&plug, IRECT(0, 0, 5, 4), &glyphs, "!\" !", &leftAligned, 2, 2,
                                   0, true, false);
  gui->AttachControl(t);
  Attach();
  Cycle();
  // 5 pixels hold two characters per line: "!\"" then " !".
  EXPECT_EQ(Px(0, 0), kOn);
  EXPECT_EQ(Px(2, 0), kMid);
  EXPECT_EQ(Px(0, 2), kOff);
  EXPECT_EQ(Px(2, 2), kOn);
  EXPECT_EQ(Px(4, 0), 0u);
}

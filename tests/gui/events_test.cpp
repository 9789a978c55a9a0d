// Mouse and key dispatch, capture, and the host's pre-emption of clicks.
#include "gui_test_support.h"

#include "AAX_Errors.h"
#include "AAX_VViewContainer.h"
#include "StandInHost.h"

#include <memory>

namespace
{
// Records the events it receives as text.
class ProbeControl : public IControl
{
public:
  ProbeControl(IPlugBase* plug, IRECT r, int param, std::vector<std::string>* log, const char* name)
      : IControl(plug, r, param), mLog(log), mName(name)
  {
  }
  void OnMouseDown(int x, int y, IMouseMod*) override { Put("down", x, y); }
  void OnMouseUp(int x, int y, IMouseMod*) override { Put("up", x, y); }
  void OnMouseDrag(int x, int y, int dx, int dy, IMouseMod*) override
  {
    Put("drag", x, y);
    Put("by", dx, dy);
  }
  void OnMouseDblClick(int x, int y, IMouseMod*) override { Put("dbl", x, y); }
  void OnMouseWheel(int, int, IMouseMod*, int d) override { Put("wheel", d, 0); }
  void OnMouseOver(int x, int y, IMouseMod*) override { Put("over", x, y); }
  void OnMouseOut() override { mLog->push_back(mName + " out"); }
  bool OnKeyDown(int, int, int key) override
  {
    Put("key", key, 0);
    return takesKeys;
  }
  bool Draw(IGraphics*) override { return true; }
  bool takesKeys = true;

private:
  void Put(const char* what, int a, int b)
  {
    mLog->push_back(mName + " " + what + " " + std::to_string(a) + "," + std::to_string(b));
  }
  std::vector<std::string>* mLog;
  std::string mName;
};

class DispatchTest : public EditorTest
{
protected:
  void SetUp() override
  {
    EditorTest::SetUp();
    bg = new ProbeControl(&plug, IRECT(0, 0, 40, 30), -1, &log, "bg");
    a = new ProbeControl(&plug, IRECT(0, 0, 20, 20), kSwap, &log, "a");
    b = new ProbeControl(&plug, IRECT(10, 10, 30, 30), kMode, &log, "b");
    gui->AttachControl(bg);
    gui->AttachControl(a);
    gui->AttachControl(b);
    Attach();
  }
  std::vector<std::string> log;
  ProbeControl *bg, *a, *b;
};
} // namespace

TEST_F(DispatchTest, TheTopmostVisibleUngrayedControlIsHit)
{
  EXPECT_EQ(gui->GetMouseControlIdx(15, 15), 2);
  EXPECT_EQ(gui->GetMouseControlIdx(5, 5), 1);
  EXPECT_EQ(gui->GetMouseControlIdx(35, 5), 0);
  EXPECT_EQ(gui->GetMouseControlIdx(45, 5), -1);
  b->Hide(true);
  EXPECT_EQ(gui->GetMouseControlIdx(15, 15), 1);
  a->GrayOut(true);
  EXPECT_EQ(gui->GetMouseControlIdx(15, 15), 0);
  a->SetMOWhenGrayed(true);
  EXPECT_EQ(gui->GetMouseControlIdx(15, 15, true), 1);
  EXPECT_EQ(gui->GetMouseControlIdx(15, 15, false), 0);
}

TEST_F(DispatchTest, ACapturedControlGetsDragsAndItsMouseUpWhereverTheMouseGoes)
{
  gui->OnMouseDown(5, 5, &left);
  gui->OnMouseDrag(25, 25, &left);
  gui->OnMouseDrag(25, 25, &left); // the same point again: not passed on
  gui->OnMouseDrag(26, 27, &left);
  gui->OnMouseUp(39, 29, &left);
  gui->OnMouseDrag(30, 30, &left); // no capture any more
  std::vector<std::string> expected = {"a down 5,5",  "a drag 25,25", "a by 20,20",
                                       "a drag 26,27", "a by 1,2",     "a up 39,29"};
  EXPECT_EQ(log, expected);
  std::vector<std::string> host = {"begin 0", "end 0"};
  EXPECT_EQ(plug.events, host);
}

TEST_F(DispatchTest, AClickOutsideEveryControlTakesNoCaptureAndSendsNothing)
{
  gui->OnMouseDown(100, 100, &left);
  gui->OnMouseDrag(5, 5, &left);
  gui->OnMouseUp(100, 100, &left);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(plug.events.empty());
}

TEST_F(DispatchTest, AMouseUpWithoutAGestureDoesNotEndOne)
{
  gui->OnMouseUp(5, 5, &left);
  EXPECT_EQ(log, std::vector<std::string>{"a up 5,5"});
  EXPECT_TRUE(plug.events.empty());
}

TEST_F(DispatchTest, UnboundControlsDoNotTalkToTheHost)
{
  gui->OnMouseDown(35, 5, &left);
  gui->OnMouseUp(35, 5, &left);
  EXPECT_EQ(log.size(), 2u);
  EXPECT_TRUE(plug.events.empty());
}

TEST_F(DispatchTest, DoubleClicksGoToTheControlUnlessItTreatsThemAsSingle)
{
  EXPECT_FALSE(gui->OnMouseDblClick(5, 5, &left));
  EXPECT_EQ(log.back(), "a dbl 5,5");
  EXPECT_FALSE(gui->OnMouseDblClick(100, 5, &left));
  a->SetDblAsSingleClick(true);
  EXPECT_TRUE(gui->OnMouseDblClick(5, 5, &left));
  EXPECT_EQ(log.back(), "a down 5,5");
  gui->OnMouseUp(5, 5, &left);
  std::vector<std::string> host = {"begin 0", "end 0"};
  EXPECT_EQ(plug.events, host);
}

TEST_F(DispatchTest, WheelAndMouseOverReachTheControlUnderThePoint)
{
  gui->OnMouseWheel(15, 15, &left, -3);
  EXPECT_EQ(log.back(), "b wheel -3,0");
  EXPECT_FALSE(gui->OnMouseOver(5, 5, &left)); // not handled until asked for
  gui->HandleMouseOver(true);
  EXPECT_TRUE(gui->OnMouseOver(5, 5, &left));
  EXPECT_TRUE(gui->OnMouseOver(15, 15, &left));
  std::vector<std::string> tail(log.end() - 3, log.end());
  std::vector<std::string> expected = {"a over 5,5", "b over 15,15", "a out"};
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(gui->GetMouseOver(), 2);
  gui->OnMouseOut();
  EXPECT_EQ(gui->GetMouseOver(), -1);
}

TEST_F(DispatchTest, KeysGoToTheControlUnderTheMouseThenTheKeyCatcher)
{
  EXPECT_TRUE(gui->OnKeyDown(5, 5, 12));
  EXPECT_EQ(log.back(), "a key 12,0");
  EXPECT_FALSE(gui->OnKeyDown(35, 5, 1)); // the background never takes keys
  auto* catcher = new ProbeControl(&plug, IRECT(), -1, &log, "catcher");
  gui->AttachKeyCatcher(catcher);
  EXPECT_TRUE(gui->OnKeyDown(35, 5, 1));
  EXPECT_EQ(log.back(), "catcher key 1,0");
  a->takesKeys = false;
  EXPECT_FALSE(gui->OnKeyDown(5, 5, 2)); // a control that declines does not pass it on
  EXPECT_EQ(log.back(), "a key 2,0");
}

TEST_F(DispatchTest, AutomationQueriesNameTheParameterUnderTheMouse)
{
  EXPECT_EQ(gui->GetParamIdxForPTAutomation(15, 15), kMode);
  EXPECT_EQ(gui->GetLastClickedParamForPTAutomation(), kMode);
  EXPECT_EQ(gui->GetLastClickedParamForPTAutomation(), -1);
  EXPECT_EQ(gui->GetParamIdxForPTAutomation(35, 5), -1);
  EXPECT_EQ(gui->GetParamIdxForPTAutomation(100, 100), -1);
}

namespace
{
class HostClickTest : public EditorTest
{
protected:
  void SetUp() override
  {
    EditorTest::SetUp();
    WriteFrames("hostbtn.png", 10, 10, {0xff000000, 0xffffffff});
    IBitmap btn = gui->LoadIBitmap(2001, "hostbtn.png", 2);
    sw = new ISwitchControl(&plug, 0, 0, kMode, &btn);
    gui->AttachControl(sw);
    Attach();
    vc = host.NewViewContainer(&window);
    wrapper = std::make_unique<AAX_VViewContainer>(static_cast<AAX_IACFViewContainer*>(vc.get()));
    gui->SetViewContainer(wrapper.get());
  }
  int window = 0;
  aaxhost::StandInHost host;
  aaxhost::Ref<aaxhost::HostViewContainer> vc;
  std::unique_ptr<AAX_VViewContainer> wrapper;
  ISwitchControl* sw = nullptr;
};
} // namespace

TEST_F(HostClickTest, ClickOnASwitchBeginsInformsWithTheNormalisedValueAndEnds)
{
  gui->OnMouseDown(3, 3, &left);
  gui->OnMouseUp(3, 3, &left);
  std::vector<std::string> expected = {"begin 1", "inform 1 1", "end 1"};
  EXPECT_EQ(plug.events, expected);
  EXPECT_EQ(plug.GetParam(kMode)->Value(), 2.0);
  // The host was offered the click first, named "2" with no modifiers.
  ASSERT_EQ(vc->Calls().Count("HandleParameterMouseDown"), 1u);
  EXPECT_EQ(vc->Calls().Last().args, "\"2\", 0");
}

TEST_F(HostClickTest, ModifiersReachTheHostAsItsBits)
{
  IMouseMod all{false, true, true, true, true};
  gui->OnMouseDown(3, 3, &all);
  EXPECT_EQ(vc->Calls().Last().args, "\"2\", 31");
}

TEST_F(HostClickTest, AClickTheHostTakesNeverReachesTheControlOrTheGestureCalls)
{
  vc->SetMouseResult(0);
  gui->OnMouseDown(3, 3, &left);
  gui->OnMouseDrag(5, 5, &left);
  gui->OnMouseUp(3, 3, &left);
  EXPECT_TRUE(plug.events.empty());
  EXPECT_EQ(sw->GetValue(), 0.0);
  // The next click, which the host declines, works as usual.
  vc->SetMouseResult(AAX_ERROR_UNIMPLEMENTED);
  gui->OnMouseDown(3, 3, &left);
  gui->OnMouseUp(3, 3, &left);
  std::vector<std::string> expected = {"begin 1", "inform 1 1", "end 1"};
  EXPECT_EQ(plug.events, expected);
}

// X11 input events of the editor window as the container's calls.

#include "x11_fixture.h" // GoogleTest before Xlib's macros

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstring>

#include "IGraphicsLinuxInput.h"

namespace
{
XEvent Button(int type, unsigned button, int x, int y, unsigned long time, unsigned state = 0)
{
  XEvent ev;
  std::memset(&ev, 0, sizeof(ev));
  ev.type = type;
  ev.xbutton.button = button;
  ev.xbutton.x = x;
  ev.xbutton.y = y;
  ev.xbutton.time = time;
  ev.xbutton.state = state;
  return ev;
}

XEvent Motion(int x, int y, unsigned state)
{
  XEvent ev;
  std::memset(&ev, 0, sizeof(ev));
  ev.type = MotionNotify;
  ev.xmotion.x = x;
  ev.xmotion.y = y;
  ev.xmotion.state = state;
  return ev;
}
} // namespace

TEST(X11Input, KeySymbolsMapToTheEditorsKeyCodes)
{
  EXPECT_EQ(IX11MapKeySym(XK_space), 0);
  EXPECT_EQ(IX11MapKeySym(XK_Up), 1);
  EXPECT_EQ(IX11MapKeySym(XK_Down), 2);
  EXPECT_EQ(IX11MapKeySym(XK_Left), 3);
  EXPECT_EQ(IX11MapKeySym(XK_Right), 4);
  EXPECT_EQ(IX11MapKeySym(XK_0), 5);
  EXPECT_EQ(IX11MapKeySym(XK_7), 12);
  EXPECT_EQ(IX11MapKeySym(XK_9), 14);
  EXPECT_EQ(IX11MapKeySym(XK_a), 15);
  EXPECT_EQ(IX11MapKeySym(XK_q), 31);
  EXPECT_EQ(IX11MapKeySym(XK_Q), 31);
  EXPECT_EQ(IX11MapKeySym(XK_Z), 40);
  EXPECT_EQ(IX11MapKeySym(XK_F5), -1);
  EXPECT_EQ(IX11MapKeySym(XK_exclam), -1);
  EXPECT_EQ(IX11MapKeySym(XK_KP_Up), -1);
}

TEST(X11Input, ButtonsGiveDownAndUpWithTheirModifiersAndPositionsUnchanged)
{
  IX11InputTranslator t;
  IX11Input in = t.Translate(Button(ButtonPress, Button1, 52, 17, 1000, ShiftMask | Mod1Mask));
  EXPECT_EQ(in.kind, IX11Input::kDown);
  EXPECT_EQ(in.x, 52);
  EXPECT_EQ(in.y, 17);
  EXPECT_TRUE(in.mods.L && !in.mods.R && in.mods.S && !in.mods.C && in.mods.A);
  in = t.Translate(Button(ButtonRelease, Button1, 53, 18, 1010, ControlMask));
  EXPECT_EQ(in.kind, IX11Input::kUp);
  EXPECT_TRUE(in.mods.L && in.mods.C && !in.mods.S);
  in = t.Translate(Button(ButtonPress, Button3, 5, 6, 5000));
  EXPECT_EQ(in.kind, IX11Input::kDown);
  EXPECT_TRUE(!in.mods.L && in.mods.R);
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button2, 5, 6, 6000)).kind, IX11Input::kNone);
}

TEST(X11Input, TheWheelStepsOneUpOrDown)
{
  IX11InputTranslator t;
  IX11Input in = t.Translate(Button(ButtonPress, Button4, 1, 2, 0, ControlMask));
  EXPECT_EQ(in.kind, IX11Input::kWheel);
  EXPECT_EQ(in.delta, 1);
  EXPECT_TRUE(in.mods.C && !in.mods.L);
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button5, 1, 2, 0)).delta, -1);
  EXPECT_EQ(t.Translate(Button(ButtonRelease, Button5, 1, 2, 0)).kind, IX11Input::kNone);
}

TEST(X11Input, DoubleClicksNeedTwoLeftPressesWithin400msAnd4Pixels)
{
  IX11InputTranslator t;
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button1, 10, 10, 1000)).kind, IX11Input::kDown);
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button1, 14, 6, 1400)).kind, IX11Input::kDblClick);
  // A third quick press starts again.
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button1, 14, 6, 1500)).kind, IX11Input::kDown);
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button1, 14, 6, 1901)).kind, IX11Input::kDown);
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button1, 19, 6, 2000)).kind, IX11Input::kDown);
  // A right press between two left ones breaks the pair.
  t.Translate(Button(ButtonPress, Button3, 19, 6, 2050));
  EXPECT_EQ(t.Translate(Button(ButtonPress, Button1, 19, 6, 2100)).kind, IX11Input::kDown);
}

TEST(X11Input, MotionDragsWhileAButtonIsHeldAndHoversOtherwise)
{
  IX11InputTranslator t;
  IX11Input in = t.Translate(Motion(3, 4, Button1Mask | ShiftMask));
  EXPECT_EQ(in.kind, IX11Input::kDrag);
  EXPECT_TRUE(in.mods.L && in.mods.S);
  in = t.Translate(Motion(3, 4, Button3Mask));
  EXPECT_EQ(in.kind, IX11Input::kDrag);
  EXPECT_TRUE(in.mods.R && !in.mods.L);
  in = t.Translate(Motion(7, 8, 0));
  EXPECT_EQ(in.kind, IX11Input::kOver);
  EXPECT_EQ(in.x, 7);

  XEvent leave;
  std::memset(&leave, 0, sizeof(leave));
  leave.type = LeaveNotify;
  leave.xcrossing.detail = NotifyAncestor;
  EXPECT_EQ(t.Translate(leave).kind, IX11Input::kOut);
  leave.xcrossing.detail = NotifyInferior;
  EXPECT_EQ(t.Translate(leave).kind, IX11Input::kNone);
}

TEST_F(X11Test, KeysMapByTheirUnmodifiedSymbol)
{
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  XEvent ev;
  std::memset(&ev, 0, sizeof(ev));
  ev.type = KeyPress;
  ev.xkey.display = dpy;
  ev.xkey.keycode = XKeysymToKeycode(dpy, XK_7);
  ev.xkey.state = ShiftMask; // "&" on most layouts
  IX11InputTranslator t;
  IX11Input in = t.Translate(ev);
  EXPECT_EQ(in.kind, IX11Input::kKey);
  EXPECT_EQ(in.key, 12);
  ev.xkey.keycode = XKeysymToKeycode(dpy, XK_Escape);
  EXPECT_EQ(t.Translate(ev).key, -1);
  XCloseDisplay(dpy);
}

#include "IGraphicsLinuxInput.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>

int IX11MapKeySym(unsigned long keysym)
{
  switch (keysym)
  {
  case XK_space: return 0;
  case XK_Up: return 1;
  case XK_Down: return 2;
  case XK_Left: return 3;
  case XK_Right: return 4;
  default: break;
  }
  if (keysym >= XK_0 && keysym <= XK_9) return 5 + static_cast<int>(keysym - XK_0);
  if (keysym >= XK_a && keysym <= XK_z) return 15 + static_cast<int>(keysym - XK_a);
  if (keysym >= XK_A && keysym <= XK_Z) return 15 + static_cast<int>(keysym - XK_A);
  return -1;
}

namespace
{
IX11Mods KeyMods(unsigned state)
{
  IX11Mods m;
  m.S = (state & ShiftMask) != 0;
  m.C = (state & ControlMask) != 0;
  m.A = (state & Mod1Mask) != 0;
  return m;
}

// The left button's modifiers have L set, the right button's R.
IX11Mods ButtonMods(unsigned state, bool right)
{
  IX11Mods m = KeyMods(state);
  m.L = !right;
  m.R = right;
  return m;
}
} // namespace

IX11Input IX11InputTranslator::Translate(const XEvent& ev)
{
  IX11Input in;
  switch (ev.type)
  {
  case ButtonPress:
  {
    const XButtonEvent& b = ev.xbutton;
    in.x = b.x;
    in.y = b.y;
    if (b.button == Button4 || b.button == Button5)
    {
      in.kind = IX11Input::kWheel;
      in.mods = KeyMods(b.state);
      in.delta = b.button == Button4 ? 1 : -1;
    }
    else if (b.button == Button1)
    {
      in.mods = ButtonMods(b.state, false);
      const bool pair = mHavePress && b.time - mPressTime <= kDoubleClickMs &&
                        std::abs(b.x - mPressX) <= kDoubleClickPx &&
                        std::abs(b.y - mPressY) <= kDoubleClickPx;
      in.kind = pair ? IX11Input::kDblClick : IX11Input::kDown;
      mHavePress = !pair;
      mPressTime = b.time;
      mPressX = b.x;
      mPressY = b.y;
    }
    else if (b.button == Button3)
    {
      // A right press is never part of a double click, and ends a pair.
      in.kind = IX11Input::kDown;
      in.mods = ButtonMods(b.state, true);
      mHavePress = false;
    }
    break;
  }
  case ButtonRelease:
  {
    const XButtonEvent& b = ev.xbutton;
    if (b.button != Button1 && b.button != Button3) break;
    in.kind = IX11Input::kUp;
    in.x = b.x;
    in.y = b.y;
    in.mods = ButtonMods(b.state, b.button == Button3);
    break;
  }
  case MotionNotify:
  {
    const XMotionEvent& m = ev.xmotion;
    in.x = m.x;
    in.y = m.y;
    if (m.state & (Button1Mask | Button3Mask))
    {
      in.kind = IX11Input::kDrag;
      in.mods = ButtonMods(m.state, !(m.state & Button1Mask));
    }
    else
    {
      // Hover reports the left button's modifiers, as a press would.
      in.kind = IX11Input::kOver;
      in.mods = ButtonMods(m.state, false);
    }
    break;
  }
  case LeaveNotify:
    // Moving into a child of the window is not leaving it.
    if (ev.xcrossing.detail != NotifyInferior) in.kind = IX11Input::kOut;
    break;
  case KeyPress:
  {
    XKeyEvent k = ev.xkey;
    // The symbol without modifiers: shift+7 is still the digit 7.
    in.kind = IX11Input::kKey;
    in.key = IX11MapKeySym(XLookupKeysym(&k, 0));
    in.mods = KeyMods(k.state);
    break;
  }
  default: break;
  }
  return in;
}

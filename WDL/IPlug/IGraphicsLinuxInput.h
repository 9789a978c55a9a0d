#pragma once
// X11 input events of the editor window turned into the graphics
// container's mouse and key calls. X11 positions already have their origin
// at the top left of the window, so they pass through unchanged.

#include "IGraphicsLinuxWindow.h"

// Modifiers in the container's order: left button, right button, shift,
// control, option (Mod1).
struct IX11Mods
{
  bool L = false, R = false, S = false, C = false, A = false;
};

struct IX11Input
{
  enum EKind
  {
    kNone,     // nothing for the container
    kDown,     // OnMouseDown
    kDblClick, // OnMouseDblClick
    kUp,       // OnMouseUp
    kDrag,     // OnMouseDrag (a button is held)
    kOver,     // OnMouseOver (no button held)
    kOut,      // OnMouseOut
    kWheel,    // OnMouseWheel with delta
    kKey       // OnKeyDown with key; key -1 maps to nothing
  };
  EKind kind = kNone;
  int x = 0, y = 0;
  IX11Mods mods;
  int delta = 0;
  int key = -1;
};

// The editor's key codes: space and the arrows 0-4 (space, up, down, left,
// right), digits 5-14, letters 15-40 with case ignored; -1 for any other
// key symbol.
int IX11MapKeySym(unsigned long keysym);

// Remembers the last left press to tell double clicks: a second press within
// kDoubleClickMs and kDoubleClickPx (both directions) of the first. The
// third press of a quick series starts a new pair.
class IX11InputTranslator
{
public:
  static constexpr unsigned long kDoubleClickMs = 400;
  static constexpr int kDoubleClickPx = 4;

  // [gui] The container call for one event of the editor window.
  IX11Input Translate(const XEvent& ev);

private:
  bool mHavePress = false;
  unsigned long mPressTime = 0;
  int mPressX = 0, mPressY = 0;
};

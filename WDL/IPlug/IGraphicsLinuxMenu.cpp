// The popup menu: a stack of override-redirect windows (the menu and the
// submenus opened from it), run modally on the GUI thread with the pointer
// and keyboard grabbed.

#include "IGraphicsLinuxWidgets.h"
#include "IPopupMenu.h"
#include "lice.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{
constexpr int kItemH = 20, kSeparatorH = 7, kPad = 3, kCheckW = 22, kArrowW = 18, kTitleIndent = 12;
constexpr LICE_pixel kBack = LICE_RGBA(246, 246, 246, 255);
constexpr LICE_pixel kFrame = LICE_RGBA(150, 150, 150, 255);
constexpr LICE_pixel kTextColour = LICE_RGBA(20, 20, 20, 255);
constexpr LICE_pixel kDisabled = LICE_RGBA(150, 150, 150, 255);
constexpr LICE_pixel kHighlight = LICE_RGBA(56, 117, 215, 255);
constexpr LICE_pixel kHighText = LICE_RGBA(255, 255, 255, 255);

// The item's text as shown, with its 1-based position in front when the
// menu numbers its items.
std::string Label(const IPopupMenu* menu, int i)
{
  static const char* const kFormats[] = {"", "%1d: ", "%02d: ", "%03d: "};
  std::string s;
  const int prefix = menu->GetPrefix();
  if (prefix >= 1 && prefix <= 3)
  {
    char num[16];
    std::snprintf(num, sizeof(num), kFormats[prefix], i + 1);
    s = num;
  }
  s += menu->GetItemText(i) ? menu->GetItemText(i) : "";
  return s;
}

bool Selectable(const IPopupMenuItem* it) { return it && !it->GetIsSeparator() && it->GetEnabled(); }

struct Level
{
  IPopupMenu* menu;
  std::unique_ptr<IX11Surface> surface;
  std::vector<int> tops; // each item's top edge
  int x, y, w, h;
  int hot = -1; // highlighted item
};

class MenuRun
{
public:
  MenuRun(IGraphicsLinuxWindow& win) : mWin(win), mDpy(win.GetDisplay()) {}

  IPopupMenu* Run(IPopupMenu* menu, int x, int y)
  {
    if (!Open(menu, x, y)) return nullptr;
    const Window grab = mLevels[0].surface->Id();
    XSync(mDpy, False);
    const long mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    XGrabPointer(mDpy, grab, True, static_cast<unsigned>(mask), GrabModeAsync, GrabModeAsync, None,
                 None, CurrentTime);
    XGrabKeyboard(mDpy, grab, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    Window root = 0, child = 0;
    int wx = 0, wy = 0;
    unsigned state = 0;
    XQueryPointer(mDpy, grab, &root, &child, &mStartX, &mStartY, &wx, &wy, &state);

    XEvent ev;
    while (!mDone && mWin.NextEvent(&ev)) Handle(ev);
    if (mWin.GetDisplay())
    {
      XUngrabPointer(mDpy, CurrentTime);
      XUngrabKeyboard(mDpy, CurrentTime);
    }
    mLevels.clear();
    if (mDpy) XFlush(mDpy);
    return mChosenMenu;
  }

private:
  bool Open(IPopupMenu* menu, int x, int y)
  {
    if (!menu || menu->GetNItems() < 1 || mLevels.size() > 16) return false;
    Level lv;
    lv.menu = menu;
    int textW = 40;
    bool anySub = false;
    int top = kPad;
    for (int i = 0; i < menu->GetNItems(); ++i)
    {
      const IPopupMenuItem* it = menu->GetItem(i);
      lv.tops.push_back(top);
      if (it->GetIsSeparator())
      {
        top += kSeparatorH;
        continue;
      }
      const std::string label = Label(menu, i);
      textW = std::max(textW, mFont.Width(label.c_str()) + (it->GetIsTitle() ? kTitleIndent : 0));
      anySub = anySub || it->GetSubmenu();
      top += kItemH;
    }
    lv.tops.push_back(top);
    lv.w = kCheckW + textW + (anySub ? kArrowW : 8) + 6;
    lv.h = top + kPad;
    // Kept on the screen: pushed left and up when it would leave it.
    const int sw = DisplayWidth(mDpy, DefaultScreen(mDpy));
    const int sh = DisplayHeight(mDpy, DefaultScreen(mDpy));
    lv.x = std::max(0, std::min(x, sw - lv.w));
    lv.y = std::max(0, std::min(y, sh - lv.h));
    lv.surface = std::make_unique<IX11Surface>(mWin, DefaultRootWindow(mDpy), lv.x, lv.y, lv.w,
                                               lv.h, true,
                                               ButtonPressMask | ButtonReleaseMask |
                                                   PointerMotionMask | KeyPressMask);
    mLevels.push_back(std::move(lv));
    Draw(mLevels.back());
    return true;
  }

  void Draw(Level& lv)
  {
    LICE_IBitmap* bm = lv.surface->Bitmap();
    LICE_Clear(bm, kBack);
    LICE_FillRect(bm, 0, 0, lv.w, 1, kFrame, 1.0f, 0);
    LICE_FillRect(bm, 0, lv.h - 1, lv.w, 1, kFrame, 1.0f, 0);
    LICE_FillRect(bm, 0, 0, 1, lv.h, kFrame, 1.0f, 0);
    LICE_FillRect(bm, lv.w - 1, 0, 1, lv.h, kFrame, 1.0f, 0);
    for (int i = 0; i < lv.menu->GetNItems(); ++i)
    {
      const IPopupMenuItem* it = lv.menu->GetItem(i);
      const int t = lv.tops[static_cast<size_t>(i)];
      if (it->GetIsSeparator())
      {
        LICE_FillRect(bm, 6, t + kSeparatorH / 2, lv.w - 12, 1, LICE_RGBA(208, 208, 208, 255), 1.0f,
                      0);
        continue;
      }
      const bool hot = i == lv.hot && Selectable(it);
      if (hot) LICE_FillRect(bm, 2, t, lv.w - 4, kItemH, kHighlight, 1.0f, 0);
      const LICE_pixel c = hot ? kHighText : it->GetEnabled() ? kTextColour : kDisabled;
      if (it->GetChecked())
      {
        // A tick drawn as two strokes.
        LICE_FLine(bm, 7.0f, t + 10.0f, 10.0f, t + 14.0f, c, 1.0f, 0, true);
        LICE_FLine(bm, 10.0f, t + 14.0f, 16.0f, t + 5.0f, c, 1.0f, 0, true);
        LICE_FLine(bm, 7.0f, t + 11.0f, 10.0f, t + 15.0f, c, 1.0f, 0, true);
        LICE_FLine(bm, 10.0f, t + 15.0f, 16.0f, t + 6.0f, c, 1.0f, 0, true);
      }
      const int indent = it->GetIsTitle() ? kTitleIndent : 0;
      const std::string label = Label(lv.menu, i);
      mFont.Draw(bm, label.c_str(), kCheckW + indent, t, lv.w - kArrowW, t + kItemH, c, DT_VCENTER);
      if (it->GetSubmenu())
        LICE_FillTriangle(bm, lv.w - 12, t + 6, lv.w - 12, t + 14, lv.w - 8, t + 10, c, 1.0f, 0);
    }
    lv.surface->Present();
  }

  // The level and item under a root position; level -1 outside every menu.
  void Hit(int rx, int ry, int* level, int* item)
  {
    *level = -1;
    *item = -1;
    for (int l = static_cast<int>(mLevels.size()) - 1; l >= 0; --l)
    {
      const Level& lv = mLevels[static_cast<size_t>(l)];
      if (rx < lv.x || rx >= lv.x + lv.w || ry < lv.y || ry >= lv.y + lv.h) continue;
      *level = l;
      const int y = ry - lv.y;
      for (int i = 0; i < lv.menu->GetNItems(); ++i)
        if (y >= lv.tops[static_cast<size_t>(i)] && y < lv.tops[static_cast<size_t>(i) + 1])
          *item = i;
      return;
    }
  }

  void SetHot(int level, int item)
  {
    while (static_cast<int>(mLevels.size()) > level + 1)
    {
      // Leaving a submenu's parent item for another item closes it.
      if (mLevels[static_cast<size_t>(level)].hot == item) break;
      mLevels.pop_back();
    }
    Level& lv = mLevels[static_cast<size_t>(level)];
    if (lv.hot != item)
    {
      lv.hot = item;
      Draw(lv);
    }
    const IPopupMenuItem* it = lv.menu->GetItem(item);
    if (Selectable(it) && it->GetSubmenu() && static_cast<int>(mLevels.size()) == level + 1)
      Open(it->GetSubmenu(), lv.x + lv.w - 3, lv.y + lv.tops[static_cast<size_t>(item)] - kPad);
  }

  void Choose(int level, int item)
  {
    Level& lv = mLevels[static_cast<size_t>(level)];
    const IPopupMenuItem* it = lv.menu->GetItem(item);
    if (!Selectable(it)) return;
    if (it->GetSubmenu())
    {
      SetHot(level, item);
      return;
    }
    lv.menu->SetChosenItemIdx(item);
    mChosenMenu = lv.menu;
    mDone = true;
  }

  // The next selectable item from the hot one in direction dir.
  void Step(int dir)
  {
    Level& lv = mLevels.back();
    const int n = lv.menu->GetNItems();
    int i = lv.hot;
    for (int k = 0; k < n; ++k)
    {
      i = i < 0 ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
      if (Selectable(lv.menu->GetItem(i))) break;
    }
    if (Selectable(lv.menu->GetItem(i)))
    {
      lv.hot = i;
      Draw(lv);
    }
  }

  void Handle(XEvent& ev)
  {
    int level = -1, item = -1;
    switch (ev.type)
    {
    case Expose:
      for (Level& lv : mLevels)
        if (lv.surface->Id() == ev.xexpose.window) Draw(lv);
      break;
    case MotionNotify:
      // Moving away from where the menu opened arms a release as a choice
      // (press, drag to the item, release).
      if (std::abs(ev.xmotion.x_root - mStartX) > 2 || std::abs(ev.xmotion.y_root - mStartY) > 2)
        mArmed = true;
      Hit(ev.xmotion.x_root, ev.xmotion.y_root, &level, &item);
      if (level >= 0 && item >= 0) SetHot(level, item);
      break;
    case ButtonPress:
      Hit(ev.xbutton.x_root, ev.xbutton.y_root, &level, &item);
      if (level < 0) mDone = true; // a click outside dismisses
      else mArmed = true;
      break;
    case ButtonRelease:
      // The release of the click that opened the menu chooses nothing.
      if (!mArmed) break;
      Hit(ev.xbutton.x_root, ev.xbutton.y_root, &level, &item);
      if (level >= 0 && item >= 0) Choose(level, item);
      break;
    case KeyPress:
    {
      const KeySym sym = XLookupKeysym(&ev.xkey, 0);
      Level& lv = mLevels.back();
      if (sym == XK_Escape) mDone = true;
      else if (sym == XK_Down) Step(1);
      else if (sym == XK_Up) Step(-1);
      else if (sym == XK_Left && mLevels.size() > 1) mLevels.pop_back();
      else if ((sym == XK_Right || sym == XK_Return || sym == XK_KP_Enter) && lv.hot >= 0)
      {
        const IPopupMenuItem* it = lv.menu->GetItem(lv.hot);
        if (it && it->GetSubmenu())
        {
          const int lvl = static_cast<int>(mLevels.size()) - 1;
          SetHot(lvl, lv.hot);
          if (static_cast<int>(mLevels.size()) > lvl + 1) Step(1);
        }
        else if (sym != XK_Right)
        {
          Choose(static_cast<int>(mLevels.size()) - 1, lv.hot);
        }
      }
      break;
    }
    default: break;
    }
  }

  IGraphicsLinuxWindow& mWin;
  Display* mDpy;
  IX11UiFont mFont{12};
  std::vector<Level> mLevels;
  IPopupMenu* mChosenMenu = nullptr;
  bool mDone = false, mArmed = false;
  int mStartX = 0, mStartY = 0;
};
} // namespace

IPopupMenu* IX11RunPopupMenu(IGraphicsLinuxWindow& win, IPopupMenu* menu, int x, int y)
{
  if (!win.GetDisplay()) return nullptr;
  MenuRun run(win);
  return run.Run(menu, x, y);
}

#include "IGraphicsLinuxWidgets.h"

#include "IGraphicsStructs.h"
#include "lice.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <cstring>

IX11Surface::IX11Surface(IGraphicsLinuxWindow& win, Window parent, int x, int y, int w, int h,
                         bool popup, long eventMask)
    : mWin(win), mW(w < 1 ? 1 : w), mH(h < 1 ? 1 : h), mBitmap(mW, mH)
{
  Display* dpy = win.GetDisplay();
  if (!dpy) return;
  XSetWindowAttributes a;
  std::memset(&a, 0, sizeof(a));
  a.background_pixmap = None;
  a.border_pixel = 0;
  a.override_redirect = popup ? True : False;
  a.event_mask = eventMask | ExposureMask;
  a.colormap = DefaultColormap(dpy, DefaultScreen(dpy));
  unsigned long mask = CWBackPixmap | CWBorderPixel | CWEventMask;
  if (popup) mask |= CWOverrideRedirect | CWSaveUnder;
  a.save_under = True;
  mId = XCreateWindow(dpy, parent, x, y, static_cast<unsigned>(mW), static_cast<unsigned>(mH), 0,
                      CopyFromParent, InputOutput, CopyFromParent, mask, &a);
  XMapRaised(dpy, mId);
}

IX11Surface::~IX11Surface()
{
  if (mId && mWin.GetDisplay()) XDestroyWindow(mWin.GetDisplay(), mId);
}

void IX11Surface::Present()
{
  mWin.PutImageTo(mId, mBitmap.getBits(), mBitmap.getRowSpan(), mW, mH, 0, 0, mW, mH);
}

IX11UiFont::IX11UiFont(int size, bool bold, const char* face)
{
  mFont.SetFromHFont(CreateFont(size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, 0, 0, 0,
                                ANTIALIASED_QUALITY, 0, face),
                     LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
}

void IX11UiFont::Draw(LICE_IBitmap* bm, const char* s, int l, int t, int r, int b, LICE_pixel c,
                      int flags)
{
  mFont.SetTextColor(c);
  RECT rect{l, t, r, b};
  mFont.DrawText(bm, s, -1, &rect, flags | DT_SINGLELINE | DT_NOPREFIX);
}

int IX11UiFont::Width(const char* s, int len)
{
  RECT r{0, 0, 0, 0};
  mFont.DrawText(nullptr, s, len, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return r.right - r.left;
}

const char* IX11EntryCharacters(const IParam* pParam)
{
  if (!pParam) return nullptr;
  switch (pParam->Type())
  {
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum: return "0123456789-+";
  case IParam::kTypeDouble: return "0123456789.-+";
  default: return nullptr;
  }
}

bool IX11EntryAccepts(const std::string& s, const char* accepted, int maxLength, int maxValue)
{
  if (accepted)
    for (char ch : s)
      if (!std::strchr(accepted, ch) || ch == '\0') return false;
  if (maxLength > 0 && static_cast<int>(s.size()) > maxLength) return false;
  if (maxValue > 0 && std::atoi(s.c_str()) > maxValue) return false;
  return true;
}

IX11TextEntry::IX11TextEntry(IGraphicsLinuxWindow& win, int x, int y, int w, int h,
                             const IText& style, const char* initial, const char* accepted,
                             int maxLength, int maxValue, Window parent)
    : mSurface(win, parent ? parent : win.GetWindow(), x, y, w, h, false,
               KeyPressMask | ButtonPressMask | FocusChangeMask),
      mFont(static_cast<int>(style.mSize * 0.9), style.mStyle == IText::kStyleBold, style.mFont),
      mText(initial ? initial : ""), mCaret(mText.size()), mFg(style.mTextEntryFGColor.Pixel()),
      mBg(style.mTextEntryBGColor.Pixel()), mAlign(style.mAlign), mAccepted(accepted),
      mMaxLength(maxLength), mMaxValue(maxValue)
{
  if (win.GetDisplay() && mSurface.Id())
    XSetInputFocus(win.GetDisplay(), mSurface.Id(), RevertToParent, CurrentTime);
  Draw();
}

void IX11TextEntry::SetText(const std::string& s)
{
  mText = s;
  mCaret = mText.size();
  Draw();
}

bool IX11TextEntry::TryInsert(const std::string& s)
{
  std::string next = mText;
  next.insert(mCaret, s);
  if (!IX11EntryAccepts(next, mAccepted, mMaxLength, mMaxValue)) return false;
  mText = next;
  mCaret += s.size();
  return true;
}

IX11TextEntry::EResult IX11TextEntry::Handle(XEvent& ev)
{
  if (ev.xany.window != mSurface.Id()) return kNotMine;
  switch (ev.type)
  {
  case Expose: Draw(); return kHandled;
  case FocusIn: mFocused = true; return kHandled;
  case FocusOut:
    // Losing the focus to another window ends editing, as Return does; the
    // pointer moving between windows does not.
    if (mFocused && ev.xfocus.mode == NotifyNormal && ev.xfocus.detail != NotifyPointer)
      return kCommit;
    return kHandled;
  case KeyPress:
  {
    char buf[32];
    KeySym sym = 0;
    const int n = XLookupString(&ev.xkey, buf, sizeof(buf), &sym, nullptr);
    switch (sym)
    {
    case XK_Return:
    case XK_KP_Enter:
    case XK_Tab:
    case XK_ISO_Left_Tab: return kCommit;
    case XK_Escape: return kCancel;
    case XK_BackSpace:
      if (mCaret > 0)
      {
        // Whole UTF-8 characters: step over continuation bytes.
        size_t from = mCaret - 1;
        while (from > 0 && (static_cast<unsigned char>(mText[from]) & 0xc0) == 0x80) --from;
        std::string next = mText;
        next.erase(from, mCaret - from);
        if (IX11EntryAccepts(next, mAccepted, mMaxLength, mMaxValue))
        {
          mText = next;
          mCaret = from;
        }
      }
      break;
    case XK_Delete:
      if (mCaret < mText.size())
      {
        size_t to = mCaret + 1;
        while (to < mText.size() && (static_cast<unsigned char>(mText[to]) & 0xc0) == 0x80) ++to;
        mText.erase(mCaret, to - mCaret);
      }
      break;
    case XK_Left:
      while (mCaret > 0)
        if ((static_cast<unsigned char>(mText[--mCaret]) & 0xc0) != 0x80) break;
      break;
    case XK_Right:
      while (mCaret < mText.size())
        if (++mCaret >= mText.size() || (static_cast<unsigned char>(mText[mCaret]) & 0xc0) != 0x80)
          break;
      break;
    case XK_Home: mCaret = 0; break;
    case XK_End: mCaret = mText.size(); break;
    default:
      // Printable text; control characters (and rejected ones) change nothing.
      if (n > 0 && static_cast<unsigned char>(buf[0]) >= 0x20 && buf[0] != 0x7f)
        TryInsert(std::string(buf, static_cast<size_t>(n)));
      break;
    }
    Draw();
    return kHandled;
  }
  default: return kHandled;
  }
}

void IX11TextEntry::Draw()
{
  LICE_IBitmap* bm = mSurface.Bitmap();
  const int w = mSurface.W(), h = mSurface.H();
  LICE_Clear(bm, mBg | 0xff000000u);
  const int flags = DT_VCENTER | (mAlign == IText::kAlignCenter  ? DT_CENTER
                                  : mAlign == IText::kAlignFar ? DT_RIGHT
                                                               : DT_LEFT);
  mFont.Draw(bm, mText.c_str(), 2, 0, w - 2, h, mFg, flags);
  // Caret: the pen position after the text before it, placed like the text.
  const int total = mFont.Width(mText.c_str());
  const int before = mFont.Width(mText.c_str(), static_cast<int>(mCaret));
  int x0 = 2;
  if (mAlign == IText::kAlignCenter) x0 = 2 + (w - 4 - total) / 2;
  else if (mAlign == IText::kAlignFar) x0 = w - 2 - total;
  const int cx = x0 + before;
  const int lh = mFont.LineHeight();
  LICE_FillRect(bm, cx, (h - lh) / 2, 1, lh, mFg | 0xff000000u, 1.0f, LICE_BLIT_MODE_COPY);
  mSurface.Present();
}

IX11Tooltip::IX11Tooltip(IGraphicsLinuxWindow& win, const char* text, int rootX, int rootY)
    : mSurface(win, DefaultRootWindow(win.GetDisplay()), rootX, rootY,
               IX11UiFont(11).Width(text) + 10, 18, true, 0)
{
  IX11UiFont font(11);
  LICE_IBitmap* bm = mSurface.Bitmap();
  LICE_Clear(bm, LICE_RGBA(255, 255, 225, 255));
  LICE_FillRect(bm, 0, 0, mSurface.W(), 1, LICE_RGBA(118, 118, 118, 255), 1.0f, 0);
  LICE_FillRect(bm, 0, mSurface.H() - 1, mSurface.W(), 1, LICE_RGBA(118, 118, 118, 255), 1.0f, 0);
  LICE_FillRect(bm, 0, 0, 1, mSurface.H(), LICE_RGBA(118, 118, 118, 255), 1.0f, 0);
  LICE_FillRect(bm, mSurface.W() - 1, 0, 1, mSurface.H(), LICE_RGBA(118, 118, 118, 255), 1.0f, 0);
  font.Draw(bm, text, 5, 0, mSurface.W(), mSurface.H(), LICE_RGBA(0, 0, 0, 255), DT_VCENTER);
  mSurface.Present();
}

// Message boxes and the file prompt: override-redirect windows centred on the
// editor, run modally on the GUI thread with pointer and keyboard grabbed.

#include "IGraphicsLinuxWidgets.h"
#include "IGraphicsStructs.h"
#include "lice.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace
{
constexpr LICE_pixel kBack = LICE_RGBA(238, 238, 238, 255);
constexpr LICE_pixel kFrame = LICE_RGBA(120, 120, 120, 255);
constexpr LICE_pixel kInk = LICE_RGBA(20, 20, 20, 255);
constexpr LICE_pixel kButton = LICE_RGBA(252, 252, 252, 255);
constexpr LICE_pixel kAccent = LICE_RGBA(56, 117, 215, 255);
constexpr int kButtonW = 72, kButtonH = 24;

struct Box
{
  int x, y, w, h;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

void Frame(LICE_IBitmap* bm, const Box& b, LICE_pixel c)
{
  LICE_FillRect(bm, b.x, b.y, b.w, 1, c, 1.0f, 0);
  LICE_FillRect(bm, b.x, b.y + b.h - 1, b.w, 1, c, 1.0f, 0);
  LICE_FillRect(bm, b.x, b.y, 1, b.h, c, 1.0f, 0);
  LICE_FillRect(bm, b.x + b.w - 1, b.y, 1, b.h, c, 1.0f, 0);
}

void DrawButton(LICE_IBitmap* bm, IX11UiFont& font, const Box& b, const char* label, bool isDefault)
{
  LICE_FillRect(bm, b.x, b.y, b.w, b.h, kButton, 1.0f, 0);
  Frame(bm, b, isDefault ? kAccent : kFrame);
  font.Draw(bm, label, b.x, b.y, b.x + b.w, b.y + b.h, kInk, DT_CENTER | DT_VCENTER);
}

// Where a dialog of w x h sits: centred on the editor, kept on the screen.
void Place(IGraphicsLinuxWindow& win, int w, int h, int* x, int* y)
{
  Display* dpy = win.GetDisplay();
  Window child = 0;
  int ex = 0, ey = 0;
  XTranslateCoordinates(dpy, win.GetWindow(), DefaultRootWindow(dpy), 0, 0, &ex, &ey, &child);
  const int sw = DisplayWidth(dpy, DefaultScreen(dpy)), sh = DisplayHeight(dpy, DefaultScreen(dpy));
  *x = std::max(0, std::min(ex + (win.Width() - w) / 2, sw - w));
  *y = std::max(0, std::min(ey + (win.Height() - h) / 2, sh - h));
}

void Grab(Display* dpy, Window w)
{
  XSync(dpy, False);
  XGrabPointer(dpy, w, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  XGrabKeyboard(dpy, w, True, GrabModeAsync, GrabModeAsync, CurrentTime);
}

void Ungrab(Display* dpy)
{
  if (!dpy) return;
  XUngrabPointer(dpy, CurrentTime);
  XUngrabKeyboard(dpy, CurrentTime);
  XFlush(dpy);
}

// Splits text at line feeds, then wraps each line to width.
std::vector<std::string> Wrap(IX11UiFont& font, const char* text, int width)
{
  std::vector<std::string> lines;
  std::string para;
  auto flush = [&](const std::string& p) {
    std::string line;
    size_t i = 0;
    while (i <= p.size())
    {
      const size_t sp = p.find(' ', i);
      const std::string word = p.substr(i, sp == std::string::npos ? std::string::npos : sp - i);
      const std::string trial = line.empty() ? word : line + " " + word;
      if (!line.empty() && font.Width(trial.c_str()) > width)
      {
        lines.push_back(line);
        line = word;
      }
      else
      {
        line = trial;
      }
      if (sp == std::string::npos) break;
      i = sp + 1;
    }
    lines.push_back(line);
  };
  for (const char* p = text ? text : ""; *p; ++p)
  {
    if (*p == '\n')
    {
      flush(para);
      para.clear();
    }
    else
    {
      para += *p;
    }
  }
  flush(para);
  return lines;
}
} // namespace

int IX11RunMessageBox(IGraphicsLinuxWindow& win, const char* text, const char* caption,
                      const std::vector<std::string>& buttons)
{
  Display* dpy = win.GetDisplay();
  if (!dpy || buttons.empty()) return -1;
  IX11UiFont font(12), bold(12, true);
  const int w = std::max(300, static_cast<int>(buttons.size()) * (kButtonW + 8) + 24);
  const std::vector<std::string> lines = Wrap(font, text, w - 32);
  const int lh = font.LineHeight() + 2;
  const int h = 16 + lh + 8 + static_cast<int>(lines.size()) * lh + 16 + kButtonH + 12;
  int x = 0, y = 0;
  Place(win, w, h, &x, &y);
  IX11Surface surface(win, DefaultRootWindow(dpy), x, y, w, h, true,
                      ButtonPressMask | ButtonReleaseMask | KeyPressMask);
  std::vector<Box> boxes;
  for (size_t i = 0; i < buttons.size(); ++i)
    boxes.push_back({w - 12 - static_cast<int>(buttons.size() - i) * (kButtonW + 8) + 8,
                     h - 12 - kButtonH, kButtonW, kButtonH});
  auto draw = [&] {
    LICE_IBitmap* bm = surface.Bitmap();
    LICE_Clear(bm, kBack);
    Frame(bm, {0, 0, w, h}, kFrame);
    bold.Draw(bm, caption ? caption : "", 16, 16, w - 16, 16 + lh, kInk, 0);
    for (size_t i = 0; i < lines.size(); ++i)
      font.Draw(bm, lines[i].c_str(), 16, 16 + lh + 8 + static_cast<int>(i) * lh, w - 16,
                16 + lh + 8 + static_cast<int>(i + 1) * lh, kInk, 0);
    for (size_t i = 0; i < buttons.size(); ++i)
      DrawButton(bm, font, boxes[i], buttons[i].c_str(), i == 0);
    surface.Present();
  };
  draw();
  Grab(dpy, surface.Id());
  int result = -1, pressed = -1;
  bool done = false;
  XEvent ev;
  while (!done && win.NextEvent(&ev))
  {
    switch (ev.type)
    {
    case Expose:
      if (ev.xexpose.window == surface.Id()) draw();
      break;
    case ButtonPress:
    case ButtonRelease:
    {
      int hit = -1;
      for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].Contains(ev.xbutton.x_root - x, ev.xbutton.y_root - y)) hit = static_cast<int>(i);
      // A button is pressed by a press and a release on it.
      if (ev.type == ButtonPress) pressed = hit;
      else if (hit >= 0 && hit == pressed)
      {
        result = hit;
        done = true;
      }
      break;
    }
    case KeyPress:
    {
      const KeySym sym = XLookupKeysym(&ev.xkey, 0);
      if (sym == XK_Return || sym == XK_KP_Enter)
      {
        result = 0;
        done = true;
      }
      else if (sym == XK_Escape)
      {
        done = true;
      }
      break;
    }
    default: break;
    }
  }
  Ungrab(win.GetDisplay());
  return result;
}

namespace
{
bool HasExtension(const std::string& name, const std::vector<std::string>& exts)
{
  if (exts.empty()) return true;
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = name.substr(dot + 1);
  for (const std::string& e : exts)
    if (strcasecmp(e.c_str(), ext.c_str()) == 0) return true;
  return false;
}

// Folders first (with "/"), then files with one of the extensions; hidden
// entries left out; both sorted.
std::vector<std::string> ListFolder(const std::string& dir, const std::vector<std::string>& exts)
{
  std::vector<std::string> folders, files;
  if (DIR* d = opendir(dir.c_str()))
  {
    while (dirent* e = readdir(d))
    {
      if (e->d_name[0] == '.') continue;
      struct stat st;
      const std::string full = dir + "/" + e->d_name;
      if (stat(full.c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode)) folders.push_back(std::string(e->d_name) + "/");
      else if (HasExtension(e->d_name, exts)) files.push_back(e->d_name);
    }
    closedir(d);
  }
  std::sort(folders.begin(), folders.end());
  std::sort(files.begin(), files.end());
  folders.insert(folders.end(), files.begin(), files.end());
  folders.insert(folders.begin(), "../");
  return folders;
}
} // namespace

bool IX11RunFilePrompt(IGraphicsLinuxWindow& win, const std::string& startDir,
                       const std::string& file, const char* extensions, bool save,
                       std::string* path)
{
  Display* dpy = win.GetDisplay();
  if (!dpy) return false;
  std::vector<std::string> exts;
  for (const char* p = extensions ? extensions : ""; *p;)
  {
    while (*p == ' ') ++p;
    const char* e = p;
    while (*e && *e != ' ') ++e;
    if (e > p) exts.emplace_back(p, static_cast<size_t>(e - p));
    p = e;
  }
  constexpr int w = 380, h = 300, kRow = 18, kListTop = 70, kRows = 10;
  int x = 0, y = 0;
  Place(win, w, h, &x, &y);
  IX11Surface surface(win, DefaultRootWindow(dpy), x, y, w, h, true,
                      ButtonPressMask | ButtonReleaseMask | KeyPressMask);
  IX11UiFont font(12), bold(12, true);
  std::string dir = startDir;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  std::vector<std::string> entries = ListFolder(dir, exts);
  int scroll = 0;
  IText fieldStyle(12, nullptr, "DejaVu Sans", IText::kStyleNormal, IText::kAlignNear);
  // The field draws its text at 0.9 x the style's size; 14 gives the 12 of
  // the rest of the dialog.
  fieldStyle.mSize = 14;
  IX11TextEntry field(win, 12, 38, w - 24, 22, fieldStyle, (dir + "/" + file).c_str(), nullptr, 0,
                      0, surface.Id());
  const Box list{12, kListTop, w - 24, kRows * kRow + 2};
  const Box ok{w - 12 - 2 * kButtonW - 8, h - 12 - kButtonH, kButtonW, kButtonH};
  const Box cancel{w - 12 - kButtonW, h - 12 - kButtonH, kButtonW, kButtonH};
  auto draw = [&] {
    LICE_IBitmap* bm = surface.Bitmap();
    LICE_Clear(bm, kBack);
    Frame(bm, {0, 0, w, h}, kFrame);
    bold.Draw(bm, save ? "Save file" : "Open file", 12, 10, w - 12, 30, kInk, DT_VCENTER);
    LICE_FillRect(bm, list.x, list.y, list.w, list.h, LICE_RGBA(255, 255, 255, 255), 1.0f, 0);
    Frame(bm, list, kFrame);
    for (int i = 0; i < kRows && scroll + i < static_cast<int>(entries.size()); ++i)
      font.Draw(bm, entries[static_cast<size_t>(scroll + i)].c_str(), list.x + 6,
                list.y + 1 + i * kRow, list.x + list.w - 6, list.y + 1 + (i + 1) * kRow, kInk,
                DT_VCENTER);
    DrawButton(bm, font, ok, save ? "Save" : "Open", true);
    DrawButton(bm, font, cancel, "Cancel", false);
    surface.Present();
  };
  draw();
  Grab(dpy, surface.Id());
  XSetInputFocus(dpy, field.Id(), RevertToParent, CurrentTime);
  bool accepted = false, done = false;
  // OK takes a file (not a folder) with an allowed extension; a folder typed
  // into the field is opened instead.
  auto tryAccept = [&] {
    const std::string p = field.Text();
    struct stat st;
    if (!p.empty() && stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    {
      dir = p;
      while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
      entries = ListFolder(dir, exts);
      scroll = 0;
      field.SetText(dir + "/");
      draw();
      return;
    }
    const size_t slash = p.rfind('/');
    const std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    if (name.empty() || !HasExtension(name, exts)) return;
    if (!save && stat(p.c_str(), &st) != 0) return;
    *path = p;
    accepted = done = true;
  };
  XEvent ev;
  while (!done && win.NextEvent(&ev))
  {
    if (ev.xany.window == field.Id())
    {
      const IX11TextEntry::EResult r = field.Handle(ev);
      if (r == IX11TextEntry::kCancel) done = true;
      else if (r == IX11TextEntry::kCommit && ev.type == KeyPress) tryAccept();
      continue;
    }
    switch (ev.type)
    {
    case Expose:
      if (ev.xexpose.window == surface.Id()) draw();
      break;
    case ButtonPress:
    {
      const int px = ev.xbutton.x_root - x, py = ev.xbutton.y_root - y;
      if (ev.xbutton.button == Button4 || ev.xbutton.button == Button5)
      {
        const int maxScroll = std::max(0, static_cast<int>(entries.size()) - kRows);
        scroll = std::max(0, std::min(maxScroll, scroll + (ev.xbutton.button == Button4 ? -3 : 3)));
        draw();
      }
      else if (ok.Contains(px, py)) tryAccept();
      else if (cancel.Contains(px, py)) done = true;
      else if (list.Contains(px, py))
      {
        const int i = scroll + (py - list.y - 1) / kRow;
        if (i >= 0 && i < static_cast<int>(entries.size()))
        {
          const std::string& e = entries[static_cast<size_t>(i)];
          if (e == "../")
          {
            const size_t slash = dir.rfind('/');
            dir = slash == 0 || slash == std::string::npos ? "/" : dir.substr(0, slash);
            entries = ListFolder(dir, exts);
            scroll = 0;
            field.SetText(dir == "/" ? "/" : dir + "/");
          }
          else if (e.back() == '/')
          {
            dir = (dir == "/" ? "" : dir) + "/" + e.substr(0, e.size() - 1);
            entries = ListFolder(dir, exts);
            scroll = 0;
            field.SetText(dir + "/");
          }
          else
          {
            field.SetText((dir == "/" ? "" : dir) + "/" + e);
          }
          draw();
        }
      }
      else if (px < 0 || py < 0 || px >= w || py >= h) done = true;
      break;
    }
    case KeyPress:
      if (XLookupKeysym(&ev.xkey, 0) == XK_Escape) done = true;
      break;
    default: break;
    }
  }
  Ungrab(win.GetDisplay());
  return accepted;
}

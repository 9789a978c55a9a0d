#include "IGraphicsLinux.h"

#include "IControl.h"
#include "IGraphicsLinuxWidgets.h"
#include "IPopupMenu.h"
#include "lice.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <poll.h>
#include <spawn.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

extern char** environ;

namespace
{
// A pause of the pointer over a control this long shows its tooltip.
constexpr long long kTooltipDelayMs = 600;

long long NowMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

IMouseMod ToMod(const IX11Mods& m) { return IMouseMod(m.L, m.R, m.S, m.C, m.A); }

std::string Home()
{
  const char* h = std::getenv("HOME");
  return h && *h ? h : "/";
}

// The file this module was loaded from.
std::string ModuleFile()
{
  Dl_info info;
  std::memset(&info, 0, sizeof(info));
  if (dladdr(reinterpret_cast<void*>(&IGraphicsLinux::GetUserOSVersion), &info) &&
      info.dli_fname && std::strchr(info.dli_fname, '/'))
    return info.dli_fname;
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  if (n <= 0) return "";
  return std::string(buf, static_cast<size_t>(n));
}

std::string Folder(const std::string& path)
{
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}
} // namespace

namespace
{
thread_local const char* tResourceFolder = nullptr;
}

IGraphicsLinux::ResourceFolderScope::ResourceFolderScope(const char* folder)
    : mPrevious(tResourceFolder)
{
  tResourceFolder = folder;
}

IGraphicsLinux::ResourceFolderScope::~ResourceFolderScope() { tResourceFolder = mPrevious; }

IGraphicsLinux::IGraphicsLinux(IPlugBase* pPlug, int w, int h, int refreshFPS)
    : IGraphics(pPlug, w, h, refreshFPS), mWindow(this)
{
  if (tResourceFolder) mResourceFolder.Set(tResourceFolder);
}

IGraphicsLinux::~IGraphicsLinux() { CloseWindow(); }

void* IGraphicsLinux::OpenWindow(void* pParentWnd)
{
  return OpenIn(reinterpret_cast<uintptr_t>(pParentWnd), nullptr);
}

void* IGraphicsLinux::OpenTopLevelWindow(const char* title, const char* resName,
                                         const char* resClass)
{
  const IGraphicsLinuxWindow::TopLevel top = {title, resName, resClass};
  return OpenIn(0, &top); // 0: the default screen's root window
}

void* IGraphicsLinux::OpenIn(uintptr_t parent, const IGraphicsLinuxWindow::TopLevel* top)
{
  CloseWindow();
  if (!(mPumpedByHost ? mWindow.OpenPumped(parent, Width(), Height(), FPS(), top)
                      : mWindow.Open(parent, Width(), Height(), FPS(), top)))
    return nullptr;
  mWindowId.store(mWindow.GetWindow());
  return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindowId.load()));
}

void IGraphicsLinux::CloseWindow() { mWindow.Close(); }

void* IGraphicsLinux::GetWindow()
{
  if (!mWindow.IsOpen()) return nullptr;
  return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindowId.load()));
}

void IGraphicsLinux::OnWindowThreadStart()
{
  SetGUIThread();
  mTicks.store(0);
  mLastCopyTick.store(0);
  mScreenCopies.store(0);
  // Everything is drawn afresh into a new window.
  SetAllControlsDirty();
}

void IGraphicsLinux::OnWindowClosing()
{
  mTextEntry.reset();
  mTooltip.reset();
  mTipControl = -1;
  if (mBlankCursor) XFreeCursor(mWindow.GetDisplay(), mBlankCursor);
  mBlankCursor = 0;
  mCursorHidden = false;
  ReleaseMouseCapture();
  mWindowId.store(0);
}

bool IGraphicsLinux::DrawScreen(IRECT* pR)
{
  LICE_SysBitmap* bm = GetDrawBitmap();
  if (!pR || !bm || !mWindow.OnGuiThread() || !mWindow.GetWindow()) return false;
  const bool ok = mWindow.PutImage(bm->getBits(), bm->getRowSpan(), bm->getWidth(),
                                   bm->getHeight(), pR->L, pR->T, pR->W(), pR->H());
  if (ok)
  {
    mLastCopyTick.store(mTicks.load());
    ++mScreenCopies;
  }
  return ok;
}

void IGraphicsLinux::OnWindowTimer()
{
  ++mTicks;
  IRECT r;
  if (mFullRedraw)
  {
    mFullRedraw = false;
    SetAllControlsDirty();
  }
  const auto start = std::chrono::steady_clock::now();
  if (IsDirty(r))
  {
    Draw(r);
    mLastRedrawMicros.store(std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count());
  }
  UpdateTooltip(true);
}

void IGraphicsLinux::OnWindowExpose(int x, int y, int w, int h)
{
  // Whatever is dirty elsewhere is drawn in the same pass, since a pass
  // marks every control clean.
  IRECT r(x, y, x + w, y + h);
  IsDirty(r);
  Draw(r);
}

void IGraphicsLinux::EndTextEntry(bool apply)
{
  if (!mTextEntry) return;
  const std::string text = mTextEntry->Text();
  mTextEntry.reset();
  if (Display* dpy = mWindow.GetDisplay())
    XSetInputFocus(dpy, mFocusBeforeEntry ? mFocusBeforeEntry : PointerRoot, RevertToParent,
                   CurrentTime);
  IControl* control = mEdControl;
  IParam* param = mEdParam;
  mEdControl = nullptr;
  mEdParam = nullptr;
  if (apply && control)
  {
    if (param) SetFromStringAfterPrompt(control, param, text.c_str());
    else control->TextFromTextEntry(text.c_str());
  }
  mFullRedraw = true;
}

void IGraphicsLinux::OnWindowEvent(XEvent& ev)
{
  if (mTextEntry)
  {
    const IX11TextEntry::EResult r = mTextEntry->Handle(ev);
    if (r == IX11TextEntry::kCommit) EndTextEntry(true);
    else if (r == IX11TextEntry::kCancel) EndTextEntry(false);
    if (r != IX11TextEntry::kNotMine) return;
  }
  if (ev.xany.window != mWindow.GetWindow()) return;
  if (ev.type == ButtonPress || ev.type == KeyPress || ev.type == LeaveNotify)
  {
    mTooltip.reset();
    mTipControl = -1;
  }
  HandleInput(mInput.Translate(ev), ev);
}

void IGraphicsLinux::HandleInput(const IX11Input& in, XEvent& ev)
{
  IMouseMod mod = ToMod(in.mods);
  switch (in.kind)
  {
  case IX11Input::kDown:
  {
    mPrevX = in.x, mPrevY = in.y;
    mModalRan = false;
    OnMouseDown(in.x, in.y, &mod);
    Display* dpy = mWindow.GetDisplay();
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned state = 0;
    // The release went to the menu or dialog; without it the container
    // would never end the gesture the press began.
    if (mModalRan && dpy &&
        XQueryPointer(dpy, mWindow.GetWindow(), &root, &child, &rx, &ry, &wx, &wy, &state) &&
        !(state & (Button1Mask | Button3Mask)))
      OnMouseUp(in.x, in.y, &mod);
    mModalRan = false;
    break;
  }
  case IX11Input::kDblClick:
    mPrevX = in.x, mPrevY = in.y;
    OnMouseDblClick(in.x, in.y, &mod);
    break;
  case IX11Input::kUp:
    mPrevX = in.x, mPrevY = in.y;
    OnMouseUp(in.x, in.y, &mod);
    break;
  case IX11Input::kDrag:
    mPrevX = in.x, mPrevY = in.y;
    if (!mTextEntry) OnMouseDrag(in.x, in.y, &mod);
    break;
  case IX11Input::kOver:
    mPrevX = in.x, mPrevY = in.y;
    OnMouseOver(in.x, in.y, &mod);
    UpdateTooltip(false);
    break;
  case IX11Input::kOut: OnMouseOut(); break;
  case IX11Input::kWheel:
    mPrevX = in.x, mPrevY = in.y;
    EndTextEntry(false);
    OnMouseWheel(in.x, in.y, &mod, in.delta);
    break;
  case IX11Input::kKey:
    // Keys the editor does not take go on to the host's window, so that
    // its shortcuts keep working.
    if (in.key < 0 || !OnKeyDown(mPrevX, mPrevY, in.key)) mWindow.ForwardKeyToParent(ev);
    break;
  case IX11Input::kNone:
    if (ev.type == KeyRelease) mWindow.ForwardKeyToParent(ev);
    break;
  }
}

void IGraphicsLinux::UpdateTooltip(bool tick)
{
  if (!TooltipsEnabled()) return;
  if (!tick)
  {
    // The topmost visible control under the pointer that has a tooltip.
    int found = -1;
    for (int i = NControls() - 1; i >= 0 && found < 0; --i)
    {
      IControl* c = GetControl(i);
      const char* tip = c ? c->GetTooltip() : nullptr;
      if (c && !c->IsHidden() && tip && *tip && c->GetTargetRECT()->Contains(mPrevX, mPrevY))
        found = i;
    }
    if (found != mTipControl)
    {
      mTooltip.reset();
      mTipControl = found;
      mTipSince = NowMs();
    }
    return;
  }
  if (mTipControl < 0 || mTooltip || NowMs() - mTipSince < kTooltipDelayMs) return;
  IControl* c = GetControl(mTipControl);
  Display* dpy = mWindow.GetDisplay();
  if (!c || !dpy) return;
  Window child = 0;
  int rx = 0, ry = 0;
  XTranslateCoordinates(dpy, mWindow.GetWindow(), DefaultRootWindow(dpy), mPrevX, mPrevY, &rx,
                        &ry, &child);
  mTooltip = std::make_unique<IX11Tooltip>(mWindow, c->GetTooltip(), rx + 12, ry + 18);
}

void IGraphicsLinux::ForceEndUserEdit()
{
  if (mWindow.OnGuiThread()) EndTextEntry(false);
}

void IGraphicsLinux::Resize(int w, int h)
{
  if (w == Width() && h == Height()) return;
  IGraphics::Resize(w, h);
  mWindow.RequestResize(w, h);
}

IPopupMenu* IGraphicsLinux::CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pAreaRect)
{
  ReleaseMouseCapture();
  Display* dpy = mWindow.GetDisplay();
  if (!pMenu || !pAreaRect || !mWindow.OnGuiThread() || !dpy) return nullptr;
  Window child = 0;
  int rx = 0, ry = 0;
  XTranslateCoordinates(dpy, mWindow.GetWindow(), DefaultRootWindow(dpy), pAreaRect->L,
                        pAreaRect->T, &rx, &ry, &child);
  IPopupMenu* chosen = IX11RunPopupMenu(mWindow, pMenu, rx, ry);
  mModalRan = true;
  return chosen;
}

void IGraphicsLinux::CreateTextEntry(IControl* pControl, IText* pText, IRECT* pTextRect,
                                     const char* str, IParam* pParam)
{
  Display* dpy = mWindow.GetDisplay();
  if (!pControl || !pText || !pTextRect || mTextEntry || !mWindow.OnGuiThread() || !dpy) return;
  int revert = 0;
  XGetInputFocus(dpy, &mFocusBeforeEntry, &revert);
  // No maximum value is set, as the Cocoa field's formatter has none either.
  mTextEntry = std::make_unique<IX11TextEntry>(
      mWindow, pTextRect->L, pTextRect->T, pTextRect->W(), pTextRect->H(), *pText, str,
      IX11EntryCharacters(pParam), pControl->GetTextEntryLength(), 0);
  mEdControl = pControl;
  mEdParam = pParam;
}

int IGraphicsLinux::ShowMessageBox(const char* pText, const char* pCaption, int type)
{
  if (!mWindow.OnGuiThread() || !mWindow.GetDisplay()) return 0;
  std::vector<std::string> buttons;
  switch (type)
  {
  case kMB_OKCANCEL: buttons = {"OK", "Cancel"}; break;
  case kMB_YESNOCANCEL: buttons = {"Yes", "No", "Cancel"}; break;
  case kMB_YESNO: buttons = {"Yes", "No"}; break;
  default: buttons = {"OK"}; break;
  }
  int pressed = IX11RunMessageBox(mWindow, pText, pCaption, buttons);
  mModalRan = true;
  // Escape or a closed editor count as the last button (Cancel or No).
  if (pressed < 0) pressed = static_cast<int>(buttons.size()) - 1;
  static const int kResults[] = {1, 7, 2}; // default, alternate, other
  return kResults[pressed];
}

void IGraphicsLinux::PromptForFile(WDL_String* pFilename, EFileAction action, WDL_String* pDir,
                                   const char* extensions)
{
  if (!pFilename) return;
  if (!WindowIsOpen() || !mWindow.OnGuiThread())
  {
    pFilename->Set("");
    return;
  }
  const std::string file = pFilename->Get();
  std::string dir;
  if (pDir && pDir->Get()[0]) dir = pDir->Get();
  else
  {
    WDL_String desktop;
    DesktopPath(&desktop);
    dir = desktop.Get();
    if (pDir) pDir->Set(dir.c_str());
  }
  pFilename->Set("");
  std::string chosen;
  const bool ok = IX11RunFilePrompt(mWindow, dir, file, extensions, action == kFileSave, &chosen);
  mModalRan = true;
  if (!ok) return;
  pFilename->Set(chosen.c_str());
  if (pDir) pDir->Set((Folder(chosen) == "/" ? std::string("/") : Folder(chosen) + "/").c_str());
}

bool IGraphicsLinux::PromptForColor(IColor*, const char*) { return false; }

bool IGraphicsLinux::OpenURL(const char* url, const char*, const char*, const char*)
{
  if (!url || !*url) return false;
  const char* argv[] = {"xdg-open", url, nullptr};
  pid_t pid = -1;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
    return false;
  // Reaped in the background so that no zombie stays behind.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

void IGraphicsLinux::HostPath(WDL_String* pPath)
{
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  buf[n > 0 ? n : 0] = '\0';
  pPath->Set(buf);
}

void IGraphicsLinux::PluginPath(WDL_String* pPath)
{
  std::string folder = Folder(ModuleFile());
  // <bundle>/Contents/<architecture>/<module>.so: the bundle's own folder.
  const std::string contents = Folder(folder);
  if (contents.size() >= 9 && contents.compare(contents.size() - 9, 9, "/Contents") == 0)
    folder = Folder(Folder(contents));
  pPath->Set((folder == "/" ? folder : folder + "/").c_str());
}

void IGraphicsLinux::DesktopPath(WDL_String* pPath)
{
  const std::string home = Home();
  const char* cfg = std::getenv("XDG_CONFIG_HOME");
  const std::string dirs = (cfg && *cfg ? std::string(cfg) : home + "/.config") + "/user-dirs.dirs";
  std::string desktop = home + "/Desktop";
  if (FILE* f = std::fopen(dirs.c_str(), "r"))
  {
    char line[1024];
    while (std::fgets(line, sizeof(line), f))
    {
      // XDG_DESKTOP_DIR="$HOME/Desktop"
      const char* p = std::strstr(line, "XDG_DESKTOP_DIR=\"");
      if (p != line) continue;
      std::string v = p + 17;
      v = v.substr(0, v.find('"'));
      if (v.compare(0, 5, "$HOME") == 0) v = home + v.substr(5);
      if (!v.empty() && v[0] == '/') desktop = v;
    }
    std::fclose(f);
  }
  pPath->Set(desktop.c_str());
}

void IGraphicsLinux::AppSupportPath(WDL_String* pPath, bool isSystem)
{
  if (isSystem)
  {
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string first = dirs && *dirs ? std::string(dirs).substr(0, std::string(dirs).find(':'))
                                      : std::string();
    pPath->Set(first.empty() || first[0] != '/' ? "/usr/local/share" : first.c_str());
    return;
  }
  SandboxSafeAppSupportPath(pPath);
}

void IGraphicsLinux::SandboxSafeAppSupportPath(WDL_String* pPath)
{
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') pPath->Set(data);
  else pPath->Set((Home() + "/.local/share").c_str());
}

bool IGraphicsLinux::GetTextFromClipboard(WDL_String* pStr)
{
  pStr->Set("");
  // A short connection of its own: the editor's belongs to its GUI thread,
  // and this may be asked from any thread.
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return false;
  const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
  const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
  const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
  const Atom prop = XInternAtom(dpy, "QUORVANE_CLIPBOARD", False);
  bool ok = false;
  if (XGetSelectionOwner(dpy, clipboard) != None)
  {
    XConvertSelection(dpy, clipboard, utf8, prop, w, CurrentTime);
    XFlush(dpy);
    const long long deadline = NowMs() + 500;
    XEvent ev;
    bool answered = false;
    while (!answered && NowMs() < deadline)
    {
      if (XCheckTypedWindowEvent(dpy, w, SelectionNotify, &ev))
      {
        answered = true;
        break;
      }
      pollfd p{ConnectionNumber(dpy), POLLIN, 0};
      poll(&p, 1, 20);
    }
    if (answered && ev.xselection.property != None)
    {
      Atom type = 0;
      int format = 0;
      unsigned long n = 0, after = 0;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(dpy, w, prop, 0, 1 << 20, True, AnyPropertyType, &type, &format, &n,
                             &after, &data) == Success &&
          data && format == 8)
      {
        pStr->Set(reinterpret_cast<const char*>(data), static_cast<int>(n));
        ok = n > 0;
      }
      if (data) XFree(data);
    }
  }
  XDestroyWindow(dpy, w);
  XCloseDisplay(dpy);
  return ok;
}

void IGraphicsLinux::HideMouseCursor()
{
  Display* dpy = mWindow.GetDisplay();
  if (mCursorHidden || !dpy || !mWindow.OnGuiThread()) return;
  if (!mBlankCursor) mBlankCursor = mWindow.CreateBlankCursor();
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned state = 0;
  if (XQueryPointer(dpy, mWindow.GetWindow(), &root, &child, &rx, &ry, &wx, &wy, &state))
  {
    mHiddenMousePointX = rx;
    mHiddenMousePointY = ry;
  }
  XDefineCursor(dpy, mWindow.GetWindow(), mBlankCursor);
  XFlush(dpy);
  mCursorHidden = true;
}

void IGraphicsLinux::ShowMouseCursor()
{
  Display* dpy = mWindow.GetDisplay();
  if (!mCursorHidden || !dpy || !mWindow.OnGuiThread()) return;
  if (mHiddenMousePointX >= 0)
    XWarpPointer(dpy, None, DefaultRootWindow(dpy), 0, 0, 0, 0, mHiddenMousePointX,
                 mHiddenMousePointY);
  XUndefineCursor(dpy, mWindow.GetWindow());
  XFlush(dpy);
  mCursorHidden = false;
}

LICE_IBitmap* IGraphicsLinux::OSLoadBitmap(int, const char* name)
{
  if (!name) return nullptr;
  // The extension is what follows the last "." (the whole name without one).
  const char* dot = std::strrchr(name, '.');
  const char* ext = dot ? dot + 1 : name;
  if (strcasecmp(ext, "png") != 0) return nullptr;
  const char* slash = std::strrchr(name, '/');
  std::string file = slash ? slash + 1 : name;
  file = file.substr(0, file.rfind('.')) + ".png";
  if (file == ".png") return nullptr;
  if (mResourceFolder.GetLength() > 0)
    return LICE_LoadPNG((std::string(mResourceFolder.Get()) + "/" + file).c_str());
  return LICE_LoadPNGFromNamedResource(file.c_str());
}

int IGraphicsLinux::VersionFromRelease(const char* release)
{
  // Leading digits and dots only: "6.1.0-13-amd64" reads as "6.1.0".
  std::string v;
  for (const char* p = release ? release : ""; *p && (std::isdigit(static_cast<unsigned char>(*p)) || *p == '.'); ++p)
    v += *p;
  int parts = 0;
  std::string digits, part;
  size_t i = 0;
  while (parts < 3 && i <= v.size())
  {
    const size_t dot = v.find('.', i);
    part = v.substr(i, dot == std::string::npos ? std::string::npos : dot - i);
    if (part.empty()) break;
    digits += part;
    ++parts;
    if (dot == std::string::npos) break;
    i = dot + 1;
  }
  if (parts < 3) digits += "0";
  return static_cast<int>(std::strtol(digits.c_str(), nullptr, 16));
}

int IGraphicsLinux::GetUserOSVersion()
{
  static std::once_flag once;
  static int version = 0;
  std::call_once(once, [] {
    utsname u;
    if (uname(&u) == 0) version = VersionFromRelease(u.release);
  });
  return version;
}

#pragma once
// IGraphicsLinux: the editor's view layer on X11. The host's native view is
// an X11 window id handed over as void*; the editor opens its own display
// connection, puts a child window of the editor's size into it and runs one
// GUI thread per open editor (events, the redraw timer at the editor's frame
// rate, drawing). Menus, text entry, message boxes and file prompts are
// small X11 windows drawn with the project's own bitmap and text code.
//
// Threads: OpenWindow, CloseWindow and the destructor come from host threads
// (CloseWindow from any thread, also more than once); everything the window
// delivers runs on its GUI thread. The modal operations (menus, message
// boxes, file prompts) run on the GUI thread, where controls call them.

#include "IGraphics.h"
#include "IGraphicsLinuxInput.h"
#include "IGraphicsLinuxWindow.h"
#include "wdlstring.h"

#include <atomic>
#include <memory>

class IX11TextEntry;
class IX11Tooltip;

class IGraphicsLinux : public IGraphics, private IGraphicsLinuxWindow::Client
{
public:
  // [host] No window until OpenWindow.
  IGraphicsLinux(IPlugBase* pPlug, int w, int h, int refreshFPS = 0);
  // [host] Closes the window first, so the GUI thread is gone before the
  // controls are deleted. Must not run on the GUI thread.
  ~IGraphicsLinux() override;

  // [host] The identifier the plug-in's bundle carries (kept for the host;
  // pictures are found through the module's own file).
  void SetBundleID(const char* id) { mBundleID.Set(id ? id : ""); }
  const char* GetBundleID() const { return mBundleID.Get(); }

  // [gui] Copies the rectangle of the drawing bitmap to the window; false
  // without a window.
  bool DrawScreen(IRECT* pR) override;
  // [gui] Closes an open text entry without applying it.
  void ForceEndUserEdit() override;
  // [gui] Nothing when the size is unchanged; else the container is rebuilt
  // and the window follows.
  void Resize(int w, int h) override;
  // [any] The window is open and the host's window still exists.
  bool WindowIsOpen() override { return mWindow.IsOpen(); }
  const char* GetGUIAPI() override { return "X11 GUI"; }

  // [gui] A modal box with the buttons of type (kMB_OKCANCEL: OK, Cancel;
  // kMB_YESNOCANCEL: Yes, No, Cancel; kMB_YESNO: Yes, No; else OK). Returns
  // 1 for the first button, 7 for the second, 2 for the third (and for a
  // box closed without a button); 0 when no window is open.
  int ShowMessageBox(const char* pText, const char* pCaption, int type) override;
  // [gui] Shows the menu under pAreaRect's top-left corner and waits for the
  // user. Returns the menu holding the chosen item (a submenu when the
  // choice was made there) with its chosen index set, or null when the menu
  // was dismissed or no window is open.
  IPopupMenu* CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pAreaRect) override;
  // [gui] A one-line field over pTextRect, prefilled with str; nothing
  // without a control or while a field is open.
  void CreateTextEntry(IControl* pControl, IText* pText, IRECT* pTextRect, const char* str = "",
                       IParam* pParam = nullptr) override;

  // [any] The host program's executable.
  void HostPath(WDL_String* pPath) override;
  // [any] The folder holding the module's bundle (Quorvane.aaxplugin), with
  // a final "/"; the module's own folder when it is not inside a bundle.
  void PluginPath(WDL_String* pPath) override;
  // [any] XDG_DESKTOP_DIR from ~/.config/user-dirs.dirs, else $HOME/Desktop.
  void DesktopPath(WDL_String* pPath) override;
  // [any] User: $XDG_DATA_HOME or $HOME/.local/share. System: the first
  // folder of $XDG_DATA_DIRS, or /usr/local/share.
  void AppSupportPath(WDL_String* pPath, bool isSystem = false) override;
  // [any] The user's data folder as above: writable without privileges.
  void SandboxSafeAppSupportPath(WDL_String* pPath) override;
  // [gui] A dialog with a path field starting in *pDir (or the desktop,
  // then stored in *pDir), listing the folder's entries with the given
  // space-separated extensions. On OK *pFilename is the path and *pDir its
  // folder with "/"; otherwise *pFilename is "". With no window open
  // *pFilename becomes "" and nothing is shown.
  void PromptForFile(WDL_String* pFilename, EFileAction action = kFileOpen,
                     WDL_String* pDir = nullptr, const char* extensions = "") override;
  // No colour picker on this platform: false.
  bool PromptForColor(IColor* pColor, const char* prompt = "") override;
  // [any] Starts xdg-open with the URL (no shell); true when it started.
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
               const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) override;

  // [host] Closes any open window, then opens the editor as a child of the
  // X11 window pParentWnd. Returns the editor's window id, or null.
  void* OpenWindow(void* pParentWnd) override;
  // [host] The same in a window of its own: a top-level window of
  // DISPLAY's default screen, with title (UTF-8) as its name, WM_CLASS
  // (resName, resClass), a fixed size and the window manager's close
  // ending it as CloseWindow would (see IGraphicsLinuxWindow::TopLevel).
  void* OpenTopLevelWindow(const char* title, const char* resName, const char* resClass);
  // [host] From now on OpenWindow starts no GUI thread: the thread that
  // opens the window drives it with PumpWindow and is its GUI thread
  // (events, the redraw timer, drawing), and closes it there.
  void SetPumpedByHost(bool pumped) { mPumpedByHost = pumped; }
  // [gui, pumped] Handles what is waiting and a due redraw, without
  // waiting; false when no window is open any more.
  bool PumpWindow() { return mWindow.Pump(); }

  // Pictures from a folder instead of the module's bundle resources: an
  // editor made on this thread while a scope lives looks in folder (for
  // formats that tell the editor its bundle at run time, such as LV2).
  class ResourceFolderScope
  {
  public:
    explicit ResourceFolderScope(const char* folder);
    ~ResourceFolderScope();
    ResourceFolderScope(const ResourceFolderScope&) = delete;
    ResourceFolderScope& operator=(const ResourceFolderScope&) = delete;

  private:
    const char* mPrevious;
  };
  using IGraphics::OpenWindow; // the (window, control, w, h) form stays the base's
  // [any] Stops the GUI thread and closes the connection; again is harmless.
  void CloseWindow() override;
  // [any] The editor's window id, or null when none is open.
  void* GetWindow() override;
  // [any] The CLIPBOARD selection as UTF-8, waiting at most half a second
  // for its owner; "" and false when there is none.
  bool GetTextFromClipboard(WDL_String* pStr) override;
  // [gui] Hides the pointer over the editor, remembering where it was /
  // shows it again at that point.
  void HideMouseCursor() override;
  void ShowMouseCursor() override;
  // [gui] Tooltips are looked up when the pointer rests; nothing to register.
  void UpdateTooltips() override {}
  // [any] name's last path component from the bundle's Resources folder
  // (found through the module's own file), or from the folder of the
  // ResourceFolderScope the editor was made in; PNG only; a new bitmap or
  // null.
  LICE_IBitmap* OSLoadBitmap(int ID, const char* name) override;

  // [any] The kernel release as a number: its first three dot-separated
  // parts with the dots removed, read as hexadecimal ("6.1.0" gives 0x610).
  static int GetUserOSVersion();
  // The same rule for any release text; missing parts count as one ".0".
  static int VersionFromRelease(const char* release);

  // For tests and the host tool: the window core (errors, shared memory).
  IGraphicsLinuxWindow& X11Window() { return mWindow; }
  // [any] Frames copied to the screen since the window opened, timer ticks
  // since then, and the tick during which the last copy was made.
  int ScreenCopies() const { return mScreenCopies.load(); }
  int TimerTicks() const { return mTicks.load(); }
  int LastCopyTick() const { return mLastCopyTick.load(); }
  // [any] Microseconds the last tick that drew spent polling, drawing and
  // copying to the screen.
  long long LastRedrawMicros() const { return mLastRedrawMicros.load(); }

private:
  void* OpenIn(uintptr_t parent, const IGraphicsLinuxWindow::TopLevel* top);
  void OnWindowThreadStart() override;
  void OnWindowEvent(XEvent& ev) override;
  void OnWindowExpose(int x, int y, int w, int h) override;
  void OnWindowTimer() override;
  void OnWindowClosing() override;
  void HandleInput(const IX11Input& in, XEvent& ev);
  void UpdateTooltip(bool tick);
  void EndTextEntry(bool apply);

  IGraphicsLinuxWindow mWindow;
  IX11InputTranslator mInput;
  WDL_String mBundleID;
  WDL_String mResourceFolder; // empty: the module's bundle resources
  bool mPumpedByHost = false;
  int mPrevX = 0, mPrevY = 0;
  std::atomic<unsigned long> mWindowId{0};
  bool mFullRedraw = false; // after a text entry: everything once more
  // A menu or dialog ran inside the current press: it took that press's
  // release, so the container gets one made up for it.
  bool mModalRan = false;
  // The open text entry, what it edits and where the focus was before it.
  std::unique_ptr<IX11TextEntry> mTextEntry;
  IControl* mEdControl = nullptr;
  IParam* mEdParam = nullptr;
  unsigned long mFocusBeforeEntry = 0;
  // The control whose tooltip is due, since when, and the tooltip shown.
  int mTipControl = -1;
  long long mTipSince = 0;
  std::unique_ptr<IX11Tooltip> mTooltip;
  unsigned long mBlankCursor = 0;
  std::atomic<int> mTicks{0}, mLastCopyTick{0}, mScreenCopies{0};
  std::atomic<long long> mLastRedrawMicros{0};
};

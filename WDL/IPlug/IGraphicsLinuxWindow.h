#pragma once
// The X11 window behind one open editor: a display connection of its own, a
// child window inside the host's window, and the editor's GUI thread, which
// waits on the connection with a timeout of one frame and delivers events and
// timer ticks to a client.
//
// The connection is used by one thread at a time (the opener until the GUI
// thread starts, then the GUI thread alone), so Xlib needs no XInitThreads.
// X errors on this connection are counted and swallowed by a hook of this
// connection only; no process-wide handler is installed, and an X server
// that goes away ends the editor instead of the host process.
//
// Only core Xlib is used, never an extension library (libXext, so no
// MIT-SHM; nor libXcursor or libXrender): those keep process-wide lists of
// displays that are not safe when two threads open, use or close display
// connections at once, and the host's own threads and other editors do just
// that. Core Xlib keeps its state per connection.

#include <atomic>
#include <cstdint>
#include <ctime>
#include <mutex>
#include <thread>

// Xlib's own names, declared without Xlib.h so that its macros (None, Bool,
// True, ...) stay out of every file that includes the editor's headers.
typedef struct _XDisplay Display;
typedef union _XEvent XEvent;
typedef unsigned long Window;

class IGraphicsLinuxWindow
{
public:
  // What the GUI thread reports. All calls arrive on the GUI thread.
  class Client
  {
  public:
    // [gui] First call on a new GUI thread, before any event; Open returns
    // only after it has returned.
    virtual void OnWindowThreadStart() {}
    // [gui] Any event of the connection other than the editor window's
    // Expose, the windows' destruction and the window manager's close
    // (popup windows share the connection, so events of other windows
    // arrive here too).
    virtual void OnWindowEvent(XEvent& ev) = 0;
    // [gui] The editor window needs the area (x, y, w, h) repainted.
    virtual void OnWindowExpose(int x, int y, int w, int h) = 0;
    // [gui] One frame (1 / fps) has passed.
    virtual void OnWindowTimer() = 0;
    // [gui] The GUI thread is about to close the connection (after Close, or
    // because the host destroyed its window): last chance to free resources
    // of this connection.
    virtual void OnWindowClosing() = 0;

  protected:
    virtual ~Client() = default;
  };

  explicit IGraphicsLinuxWindow(Client* client) : mClient(client) {}
  // [host] Closes the window (see Close).
  ~IGraphicsLinuxWindow();
  IGraphicsLinuxWindow(const IGraphicsLinuxWindow&) = delete;
  IGraphicsLinuxWindow& operator=(const IGraphicsLinuxWindow&) = delete;

  // What a window of its own tells the window manager (set before it is
  // mapped): the title (WM_NAME, and _NET_WM_NAME as UTF-8; title is
  // UTF-8) and WM_CLASS (resName, resClass). It also gets WM_NORMAL_HINTS
  // with minimum = maximum = its size (the editor is a fixed picture) and
  // WM_DELETE_WINDOW: the window manager's close ends the window as Close
  // would (the GUI thread stops; a pumped window's Pump returns false).
  struct TopLevel
  {
    const char* title;
    const char* resName;
    const char* resClass;
  };

  // [host] Connects to DISPLAY, creates a w x h child of parent (an X11
  // window id), maps it and starts the GUI thread ticking at fps (<= 0: 25).
  // Closes a window already open first. False, with nothing left open, when
  // there is no display, no parent, or the parent does not exist. Opens and
  // closes from several host threads at once take turns.
  // With top, the window is a top-level window: parent 0 stands for the
  // root window of DISPLAY's default screen, and the window carries top's
  // properties. They are given to a child of a root window only; an editor
  // inside a host's window carries no window-manager properties.
  bool Open(uintptr_t parent, int w, int h, int fps, const TopLevel* top = nullptr);
  // [host] The same without a thread of the window's own: the caller's
  // thread becomes the GUI thread and drives the window with Pump. For
  // hosts that call their plug-in UIs on one thread of theirs and expect
  // all UI work there (LV2's idle interface).
  bool OpenPumped(uintptr_t parent, int w, int h, int fps, const TopLevel* top = nullptr);
  // [gui, pumped windows] Delivers the events waiting on the connection and
  // the timer tick when one is due, without waiting. False once the window
  // is closed (Close asked for, or the host destroyed its window): the
  // connection is then already shut.
  bool Pump();
  // [any] Stops the GUI thread, waits for it (unless called on it) and
  // closes the connection. Safe to call again or when nothing is open.
  void Close();
  // [any] True while the GUI thread runs and the window has not gone.
  bool IsOpen() const { return mRunning.load(std::memory_order_acquire); }

  // [gui] Copies the part (x, y, w, h) of a 32-bit BGRA picture (row span in
  // pixels) to the same place of the window with XPutImage, and waits until
  // the server has done it. False when the window's visual is not 24-bit
  // TrueColor in that byte order.
  bool PutImage(const uint32_t* bits, int rowSpan, int picW, int picH, int x, int y, int w,
                int h);
  // [gui] The same into another window of this connection (menus, fields),
  // without waiting.
  bool PutImageTo(Window target, const uint32_t* bits, int rowSpan, int picW, int picH, int x,
                  int y, int w, int h);
  // [any] Asks the GUI thread to give the window a new size before its next
  // tick.
  void RequestResize(int w, int h);
  // [gui] A cursor that shows nothing, for hiding the pointer (0 when no
  // window is open); the caller frees it with XFreeCursor. Made with core
  // requests only: Xlib's own bitmap and cursor calls pass through
  // libXcursor whenever it is installed.
  unsigned long CreateBlankCursor();
  // [gui] Sends a key event that the editor does not take on to the host's
  // window, so that the host's shortcuts keep working.
  void ForwardKeyToParent(const XEvent& key);
  // [gui] Waits for the next event, delivering timer ticks while waiting;
  // false as soon as Close was asked for or the window went away. For modal
  // loops (menus, dialogs) run on the GUI thread.
  bool NextEvent(XEvent* ev);

  // [gui] The connection and the windows while open.
  Display* GetDisplay() const { return mDpy; }
  Window GetWindow() const { return mWin; }
  Window GetParent() const { return mParent; }
  int Width() const { return mW; }
  int Height() const { return mH; }
  // [any] Errors the server reported on this connection since Open.
  int ErrorCount() const { return mErrors.load(); }
  // [host] The GUI thread's CPU-time clock, for cost measurements; false
  // when no thread runs.
  bool GuiThreadCpuClock(clockid_t* clock);
  // [any] Whether the caller runs on this window's GUI thread.
  bool OnGuiThread() const { return std::this_thread::get_id() == mThreadId.load(); }

private:
  bool OpenConnection(uintptr_t parent, int w, int h, int fps, const TopLevel* top);
  void SetTopLevelProperties(const TopLevel& top);
  void SetFixedSizeHints();
  void ApplyPendingSize();
  bool Deliver(XEvent* ev);
  void Run();
  void CloseAndJoin();
  bool WaitAndTick();
  void ShutdownOnGuiThread();
  void Wake();

  Client* mClient;
  Display* mDpy = nullptr;
  Window mWin = 0;
  Window mParent = 0;
  std::atomic<long long> mPendingSize{-1}; // (w << 32) | h, or -1
  void* mGC = nullptr;     // GC
  void* mVisual = nullptr; // Visual*
  int mDepth = 0;
  int mW = 0, mH = 0;
  long mPeriodNs = 40000000;
  long long mNextTickNs = 0;
  int mWakeFd = -1;
  // A window of its own, with window-manager properties; then the atoms
  // WM_PROTOCOLS and WM_DELETE_WINDOW of its close.
  bool mTopLevel = false;
  unsigned long mWmProtocols = 0, mWmDelete = 0;
  std::mutex mLifeMutex; // Open and Close from host threads, one at a time
  std::thread mThread;
  std::atomic<std::thread::id> mThreadId{};
  std::atomic<bool> mStop{false};
  std::atomic<bool> mRunning{false};
  std::atomic<bool> mStarted{false};
  std::atomic<int> mErrors{0};
  bool mPumped = false; // driven by Pump on the opener's thread
  bool mInPump = false; // a Close from inside Pump's delivery waits for it
};

#pragma once
// Test support for editors on a real X server: a private Xvfb per test
// program and a top-level window that stands in for the host's editor window.

#include <cstdint>

#include <string>
#include <vector>

typedef struct _XDisplay Display;
typedef unsigned long Window;

// An Xvfb on a display it picks itself (-displayfd), so parallel test
// programs never collide. DISPLAY points at it while it runs.
class XvfbServer
{
public:
  XvfbServer() = default;
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // Starts the server and waits until it accepts connections; false with
  // the reason in *why when Xvfb is missing or does not come up.
  bool Start(std::string* why);
  // Terminates the server and waits for it; nothing when not running.
  void Stop();
  const std::string& DisplayName() const { return mDisplay; }

private:
  int mPid = -1;
  std::string mDisplay;
};

// The process-wide server of a test program: started on first use, stopped
// at exit. Null (and *why set) when it cannot start.
XvfbServer* SharedXvfb(std::string* why);

// A mapped top-level window on its own connection, as a host's view
// container would hold one for the editor.
class HostWindow
{
public:
  // At (x, y) of the screen; windows that overlap hide each other's pixels.
  HostWindow(int w = 400, int h = 300, int x = 0, int y = 0);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  bool Ok() const { return mWin != 0; }
  Display* Dpy() const { return mDpy; }
  Window Id() const { return mWin; }
  // The window id as the host hands it to an editor.
  void* AsParent() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWin)); }

  // Destroys the window (and with it every child); the connection stays.
  void Destroy();
  // Waits up to timeoutMs for a KeyPress delivered to this window; its
  // keycode, or 0 on timeout.
  unsigned WaitForKeyPress(int timeoutMs);
  // The first child window, or 0 when there is none yet.
  Window FirstChild();
  // Waits until the window has a child (the editor's) mapped; 0 on timeout.
  Window WaitForChild(int timeoutMs);

private:
  Display* mDpy = nullptr;
  Window mWin = 0;
};

// The topmost mapped override-redirect window under the root (a menu or a
// tooltip), waiting up to timeoutMs; 0 when none appears. Its root position
// and size go to *x, *y, *w, *h.
Window WaitForPopup(Display* dpy, int timeoutMs, int* x, int* y, int* w, int* h);

// Windows in the whole tree under the root (leak checks).
int CountWindowsUnderRoot(Display* dpy);
// Open file descriptors of this process: every X connection holds one.
int CountOpenFileDescriptors();
// Threads of this process (from /proc/self/task).
int CountThreads();

// Sends a real pointer click (XTEST) at (x, y) of window w.
bool FakeClick(Display* dpy, Window w, int x, int y, unsigned button);
// Moves the pointer to (x, y) of window w.
bool FakeMotion(Display* dpy, Window w, int x, int y);
// Presses and releases the key of keysym.
bool FakeKey(Display* dpy, unsigned long keysym);
// The w x h pixels of window w at (x, y), as 0x00RRGGBB values, row by row.
bool GrabPixels(Display* dpy, Window w, int x, int y, int width, int height,
                std::vector<unsigned>* out);

// Writes 0x00RRGGBB pixels (as GrabPixels gives them) as an opaque PNG.
bool SavePng(const std::string& path, const std::vector<unsigned>& px, int width, int height);

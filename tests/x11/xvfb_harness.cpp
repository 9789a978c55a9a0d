#include "xvfb_harness.h"

#include "Xvfb.h"

#include <X11/Xlib.h>
#include <png.h>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace
{
int CountDirEntries(const char* path)
{
  DIR* d = opendir(path);
  if (!d) return -1;
  int n = 0;
  while (dirent* e = readdir(d))
    if (e->d_name[0] != '.') ++n;
  closedir(d);
  return n;
}

// The test process's own connections walk other clients' windows (menus,
// tooltips) that may vanish between XQueryTree and the next request. Such a
// BadWindow is the race, not a fault; anything else still ends the test as
// Xlib's default would. The editor's connection has its own hook, so this
// never hides an error of the code under test.
XErrorHandler sDefaultXErrorHandler = nullptr;
int TestXErrorHandler(Display* dpy, XErrorEvent* e)
{
  if (e->error_code == BadWindow) return 0;
  return sDefaultXErrorHandler ? sDefaultXErrorHandler(dpy, e) : 0;
}

// libXtst keeps its connections in libXext's process-wide list, which is not
// safe across threads: XTEST calls, and the closing of connections that may
// have made one, go one at a time (tests click editors from several threads).
std::mutex sXtestMutex;

long NowMs()
{
  using namespace std::chrono;
  return static_cast<long>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
} // namespace

bool XvfbServer::Start(std::string* why)
{
  if (mPid > 0) return true;
  aaxtool::XvfbProcess x;
  if (!aaxtool::StartXvfb("640x480x24", &x, why)) return false;
  mPid = x.pid;
  mDisplay = x.display;
  setenv("DISPLAY", mDisplay.c_str(), 1);
  sDefaultXErrorHandler = XSetErrorHandler(TestXErrorHandler);
  return true;
}

void XvfbServer::Stop()
{
  aaxtool::XvfbProcess x{mPid, mDisplay};
  aaxtool::StopXvfb(&x);
  mPid = -1;
}

XvfbServer* SharedXvfb(std::string* why)
{
  static std::unique_ptr<XvfbServer> sServer;
  static std::string sWhy;
  static bool sTried = false;
  if (!sTried)
  {
    sTried = true;
    sServer = std::make_unique<XvfbServer>();
    if (!sServer->Start(&sWhy)) sServer.reset();
  }
  if (!sServer) *why = sWhy;
  return sServer.get();
}

HostWindow::HostWindow(int w, int h, int x, int y)
{
  mDpy = XOpenDisplay(nullptr);
  if (!mDpy) return;
  XSetWindowAttributes a;
  std::memset(&a, 0, sizeof(a));
  a.background_pixel = 0x202020;
  a.event_mask = KeyPressMask | SubstructureNotifyMask | StructureNotifyMask;
  mWin = XCreateWindow(mDpy, DefaultRootWindow(mDpy), x, y, static_cast<unsigned>(w),
                       static_cast<unsigned>(h), 0, CopyFromParent, InputOutput, CopyFromParent,
                       CWBackPixel | CWEventMask, &a);
  XMapWindow(mDpy, mWin);
  XSync(mDpy, False);
}

HostWindow::~HostWindow()
{
  if (!mDpy) return;
  Destroy();
  std::lock_guard<std::mutex> lock(sXtestMutex);
  XCloseDisplay(mDpy);
}

void HostWindow::Destroy()
{
  if (!mWin) return;
  XDestroyWindow(mDpy, mWin);
  XSync(mDpy, False);
  mWin = 0;
}

unsigned HostWindow::WaitForKeyPress(int timeoutMs)
{
  const long deadline = NowMs() + timeoutMs;
  while (NowMs() < deadline)
  {
    XEvent ev;
    while (XCheckTypedWindowEvent(mDpy, mWin, KeyPress, &ev))
      return ev.xkey.keycode;
    pollfd p{ConnectionNumber(mDpy), POLLIN, 0};
    poll(&p, 1, 10);
    XSync(mDpy, False);
  }
  return 0;
}

Window HostWindow::FirstChild()
{
  Window root = 0, parent = 0, *children = nullptr;
  unsigned n = 0;
  Window first = 0;
  if (XQueryTree(mDpy, mWin, &root, &parent, &children, &n) && n > 0) first = children[0];
  if (children) XFree(children);
  return first;
}

Window HostWindow::WaitForChild(int timeoutMs)
{
  const long deadline = NowMs() + timeoutMs;
  while (NowMs() < deadline)
  {
    if (Window c = FirstChild())
    {
      XWindowAttributes wa;
      if (XGetWindowAttributes(mDpy, c, &wa) && wa.map_state == IsViewable) return c;
    }
    usleep(2000);
  }
  return 0;
}

namespace
{
int CountTree(Display* dpy, Window w)
{
  Window root = 0, parent = 0, *children = nullptr;
  unsigned n = 0;
  int total = 0;
  if (XQueryTree(dpy, w, &root, &parent, &children, &n))
  {
    total = static_cast<int>(n);
    for (unsigned i = 0; i < n; ++i)
      total += CountTree(dpy, children[i]);
  }
  if (children) XFree(children);
  return total;
}

bool RootPosition(Display* dpy, Window w, int x, int y, int* rx, int* ry)
{
  Window child = 0;
  return XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), x, y, rx, ry, &child) != 0;
}
} // namespace

int CountWindowsUnderRoot(Display* dpy) { return CountTree(dpy, DefaultRootWindow(dpy)); }

// Less the descriptor of the directory stream itself.
int CountOpenFileDescriptors() { return CountDirEntries("/proc/self/fd") - 1; }

int CountThreads() { return CountDirEntries("/proc/self/task"); }

bool FakeMotion(Display* dpy, Window w, int x, int y)
{
  int rx = 0, ry = 0;
  if (!RootPosition(dpy, w, x, y, &rx, &ry)) return false;
  std::lock_guard<std::mutex> lock(sXtestMutex);
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), rx, ry, CurrentTime);
  XSync(dpy, False);
  return true;
}

bool FakeClick(Display* dpy, Window w, int x, int y, unsigned button)
{
  if (!FakeMotion(dpy, w, x, y)) return false;
  std::lock_guard<std::mutex> lock(sXtestMutex);
  XTestFakeButtonEvent(dpy, button, True, CurrentTime);
  XTestFakeButtonEvent(dpy, button, False, CurrentTime);
  XSync(dpy, False);
  return true;
}

bool FakeKey(Display* dpy, unsigned long keysym)
{
  const KeyCode code = XKeysymToKeycode(dpy, keysym);
  if (!code) return false;
  std::lock_guard<std::mutex> lock(sXtestMutex);
  XTestFakeKeyEvent(dpy, code, True, CurrentTime);
  XTestFakeKeyEvent(dpy, code, False, CurrentTime);
  XSync(dpy, False);
  return true;
}

bool GrabPixels(Display* dpy, Window w, int x, int y, int width, int height,
                std::vector<unsigned>* out)
{
  XImage* img = XGetImage(dpy, w, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                          AllPlanes, ZPixmap);
  if (!img) return false;
  out->clear();
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c)
      out->push_back(static_cast<unsigned>(XGetPixel(img, c, r)) & 0xffffffu);
  XDestroyImage(img);
  return true;
}

Window WaitForPopup(Display* dpy, int timeoutMs, int* x, int* y, int* w, int* h)
{
  const long deadline = NowMs() + timeoutMs;
  do
  {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &n))
      for (unsigned i = n; i-- > 0 && !found;)
      {
        XWindowAttributes wa;
        if (XGetWindowAttributes(dpy, children[i], &wa) && wa.override_redirect &&
            wa.map_state == IsViewable)
        {
          found = children[i];
          *x = wa.x, *y = wa.y, *w = wa.width, *h = wa.height;
        }
      }
    if (children) XFree(children);
    if (found) return found;
    usleep(2000);
  } while (NowMs() < deadline);
  return 0;
}

namespace
{
bool WritePngRows(png_structp png, png_infop info, FILE* f, int w, int h,
                  const std::vector<unsigned char>& rgb)
{
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y)
    png_write_row(png, const_cast<unsigned char*>(rgb.data()) + static_cast<size_t>(y) * w * 3);
  png_write_end(png, info);
  return true;
}
} // namespace

bool SavePng(const std::string& path, const std::vector<unsigned>& px, int width, int height)
{
  if (px.size() != static_cast<size_t>(width) * height) return false;
  std::vector<unsigned char> rgb;
  for (unsigned p : px)
  {
    rgb.push_back(static_cast<unsigned char>(p >> 16));
    rgb.push_back(static_cast<unsigned char>(p >> 8));
    rgb.push_back(static_cast<unsigned char>(p));
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool ok = info && WritePngRows(png, info, f, width, height, rgb);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0 && ok;
}

bool WaitForGrabs(Display* dpy, int timeoutMs)
{
  const long deadline = NowMs() + timeoutMs;
  const Window root = DefaultRootWindow(dpy);
  do
  {
    // A grab of ours succeeds only while nobody else holds one.
    const int k = XGrabKeyboard(dpy, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (k == GrabSuccess) XUngrabKeyboard(dpy, CurrentTime);
    const int p = XGrabPointer(dpy, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                               None, None, CurrentTime);
    if (p == GrabSuccess) XUngrabPointer(dpy, CurrentTime);
    XSync(dpy, False);
    if (k == AlreadyGrabbed && p == AlreadyGrabbed) return true;
    usleep(2000);
  } while (NowMs() < deadline);
  return false;
}

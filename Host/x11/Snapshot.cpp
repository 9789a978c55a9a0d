#include "Snapshot.h"

#include "Signals.h"
#include "ToolError.h"
#include "Xvfb.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace aaxtool
{
namespace
{
Display* Dpy(void* d) { return static_cast<Display*>(d); }

long NowMs()
{
  using namespace std::chrono;
  return static_cast<long>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Starts Xvfb and points DISPLAY at it for this process.
XvfbProcess StartOwnXvfb()
{
  XvfbProcess x;
  std::string why;
  if (!StartXvfb("1280x1024x24", &x, &why)) Fail("no DISPLAY and " + why);
  setenv("DISPLAY", x.display.c_str(), 1);
  return x;
}

// Nothing that changes after setjmp lives in this frame, so longjmp cannot
// leave a stale local behind.
bool WritePNG(FILE* f, int w, int h, const unsigned char* rgb)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png)) != 0)
  {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y)
    png_write_row(png, rgb + static_cast<size_t>(y) * w * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
} // namespace

XSession::XSession()
{
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display)
  {
    const XvfbProcess x = StartOwnXvfb();
    mXvfb = x.pid;
  }
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay)
  {
    const std::string name = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    XvfbProcess x{mXvfb, {}};
    StopXvfb(&x);
    Fail("cannot open X display \"" + name + "\"");
  }
}

XSession::~XSession()
{
  if (mDisplay)
  {
    if (mWindow) XDestroyWindow(Dpy(mDisplay), mWindow);
    XCloseDisplay(Dpy(mDisplay));
  }
  XvfbProcess x{mXvfb, {}};
  StopXvfb(&x);
}

void XSession::OpenWindow(int w, int h, const std::string& title)
{
  Display* d = Dpy(mDisplay);
  XSetWindowAttributes a;
  std::memset(&a, 0, sizeof a);
  a.background_pixel = BlackPixel(d, DefaultScreen(d));
  a.event_mask = StructureNotifyMask | SubstructureNotifyMask;
  mWindow = XCreateWindow(d, DefaultRootWindow(d), 0, 0, static_cast<unsigned>(w),
                          static_cast<unsigned>(h), 0, CopyFromParent, InputOutput, CopyFromParent,
                          CWBackPixel | CWEventMask, &a);
  mWidth = w;
  mHeight = h;
  XStoreName(d, mWindow, title.c_str());
  Atom del = XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(d, mWindow, &del, 1);
  mDeleteAtom = del;
  XMapRaised(d, mWindow);
  XSync(d, False);
}

void* XSession::NativeView() const
{
  return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow));
}

bool XSession::WaitForEditor(int timeoutMs)
{
  Display* d = Dpy(mDisplay);
  const long deadline = NowMs() + timeoutMs;
  while (NowMs() < deadline)
  {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    bool viewable = false;
    if (XQueryTree(d, mWindow, &root, &parent, &children, &n) && n > 0)
    {
      XWindowAttributes wa;
      viewable = XGetWindowAttributes(d, children[0], &wa) && wa.map_state == IsViewable;
    }
    if (children) XFree(children);
    if (viewable) return true;
    usleep(5000);
  }
  return false;
}

void XSession::Click(int x, int y)
{
  Display* d = Dpy(mDisplay);
  int ev = 0, err = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(d, &ev, &err, &major, &minor))
    Fail("the X server has no XTEST extension; --click needs it");
  if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
    Usage("--click " + std::to_string(x) + "," + std::to_string(y) + ": outside the " +
          std::to_string(mWidth) + "x" + std::to_string(mHeight) + " editor");
  Window child = 0;
  int rx = 0, ry = 0;
  XTranslateCoordinates(d, mWindow, DefaultRootWindow(d), x, y, &rx, &ry, &child);
  XTestFakeMotionEvent(d, DefaultScreen(d), rx, ry, CurrentTime);
  XTestFakeButtonEvent(d, 1, True, CurrentTime);
  XTestFakeButtonEvent(d, 1, False, CurrentTime);
  XSync(d, False);
}

void XSession::Snapshot(const std::string& path)
{
  Display* d = Dpy(mDisplay);
  XSync(d, False);
  XImage* img = XGetImage(d, mWindow, 0, 0, static_cast<unsigned>(mWidth),
                          static_cast<unsigned>(mHeight), AllPlanes, ZPixmap);
  if (!img) Fail(path + ": the window's pixels could not be read");
  std::vector<unsigned char> rgb(static_cast<size_t>(mWidth) * mHeight * 3);
  for (int y = 0; y < mHeight; ++y)
    for (int x = 0; x < mWidth; ++x)
    {
      const unsigned long p = XGetPixel(img, x, y);
      unsigned char* o = &rgb[(static_cast<size_t>(y) * mWidth + x) * 3];
      o[0] = static_cast<unsigned char>((p & img->red_mask) >> __builtin_ctzl(img->red_mask));
      o[1] = static_cast<unsigned char>((p & img->green_mask) >> __builtin_ctzl(img->green_mask));
      o[2] = static_cast<unsigned char>((p & img->blue_mask) >> __builtin_ctzl(img->blue_mask));
    }
  XDestroyImage(img);

  std::string temp;
  const int fd = CreateTemporaryFile(path, &temp);
  if (fd < 0) Fail(path + ": cannot write (" + std::strerror(errno) + ")");
  FILE* f = fdopen(fd, "wb");
  bool ok = f && WritePNG(f, mWidth, mHeight, rgb.data());
  ok = (f ? std::fclose(f) == 0 : close(fd) == 0) && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0)
  {
    const int err = errno;
    std::remove(temp.c_str());
    ForgetTemporaryFile(temp);
    Fail(path + ": writing the PNG failed (" + std::strerror(err) + ")");
  }
  ForgetTemporaryFile(temp);
}

bool XSession::Pump(int ms)
{
  Display* d = Dpy(mDisplay);
  const long deadline = NowMs() + ms;
  do
  {
    while (XPending(d))
    {
      XEvent ev;
      XNextEvent(d, &ev);
      if (ev.type == DestroyNotify && ev.xdestroywindow.window == mWindow) return false;
      if (ev.type == ClientMessage &&
          static_cast<unsigned long>(ev.xclient.data.l[0]) == mDeleteAtom)
        return false;
    }
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, 10);
  } while (NowMs() < deadline);
  return true;
}
} // namespace aaxtool

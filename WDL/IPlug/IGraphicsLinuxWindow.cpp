#include "IGraphicsLinuxWindow.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <X11/Xlibint.h> // XESetError: the per-connection error hook
#undef min               // Xlibint.h's macros would shadow std::min/max
#undef max
#include <X11/Xutil.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

namespace
{
// Which window a connection belongs to, for the error hooks. The hook is the
// connection's own (an extension error procedure), so other X users of the
// process keep whatever handlers they have.
std::mutex sHookMutex;
std::vector<std::pair<Display*, std::atomic<int>*>> sHooked;

int CountError(Display* dpy, xError*, XExtCodes*, int* ret)
{
  std::lock_guard<std::mutex> lock(sHookMutex);
  for (auto& h : sHooked)
    if (h.first == dpy) h.second->fetch_add(1);
  *ret = 0;
  return 1; // handled: the process-wide handler is not called
}

void HookErrors(Display* dpy, std::atomic<int>* counter)
{
  {
    std::lock_guard<std::mutex> lock(sHookMutex);
    sHooked.emplace_back(dpy, counter);
  }
  XExtCodes* codes = XAddExtension(dpy);
  if (codes) XESetError(dpy, codes->extension, CountError);
}

void UnhookErrors(Display* dpy)
{
  std::lock_guard<std::mutex> lock(sHookMutex);
  sHooked.erase(std::remove_if(sHooked.begin(), sHooked.end(),
                               [dpy](const std::pair<Display*, std::atomic<int>*>& h) {
                                 return h.first == dpy;
                               }),
                sHooked.end());
}

// A lost server connection ends this editor, not the host process.
void ConnectionLost(Display*, void* stop) { static_cast<std::atomic<bool>*>(stop)->store(true); }

long long NowNs()
{
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// The drawing bitmap's bytes are blue, green, red, alpha: exactly a 32-bit
// least-significant-byte-first pixel of a 24-bit TrueColor visual.
bool MatchesBgra(const XImage* img)
{
  return img && img->bits_per_pixel == 32 && img->byte_order == LSBFirst &&
         img->red_mask == 0xff0000 && img->green_mask == 0xff00 && img->blue_mask == 0xff;
}

// UTF-8 as ISO Latin-1, for the properties of type STRING (WM_NAME,
// WM_CLASS): characters beyond Latin-1 and malformed bytes become '?'.
std::string Latin1(const char* utf8)
{
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p;)
  {
    unsigned c = *p++;
    if (c >= 0x80)
    {
      const int more = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : c >= 0xc0 ? 1 : -1;
      c = more < 0 ? 0x3f : c & (0x3f >> more);
      for (int i = 0; i < more; ++i)
      {
        if ((*p & 0xc0) != 0x80)
        {
          c = 0x3f;
          break;
        }
        c = c << 6 | (*p++ & 0x3f);
      }
      if (c > 0xff) c = 0x3f;
    }
    out += static_cast<char>(c);
  }
  return out;
}

} // namespace

IGraphicsLinuxWindow::~IGraphicsLinuxWindow() { Close(); }

bool IGraphicsLinuxWindow::Open(uintptr_t parent, int w, int h, int fps, const TopLevel* top)
{
  std::lock_guard<std::mutex> lock(mLifeMutex);
  CloseAndJoin();
  if (!OpenConnection(parent, w, h, fps, top)) return false;
  mThread = std::thread(&IGraphicsLinuxWindow::Run, this);
  // The client learns its GUI thread before the host goes on (pushing
  // values, say), so nothing reaches the client from two threads at once.
  while (!mStarted.load()) std::this_thread::sleep_for(std::chrono::microseconds(20));
  return true;
}

bool IGraphicsLinuxWindow::OpenPumped(uintptr_t parent, int w, int h, int fps, const TopLevel* top)
{
  std::lock_guard<std::mutex> lock(mLifeMutex);
  CloseAndJoin();
  if (!OpenConnection(parent, w, h, fps, top)) return false;
  mPumped = true;
  mThreadId.store(std::this_thread::get_id());
  mClient->OnWindowThreadStart();
  mStarted.store(true);
  return true;
}

bool IGraphicsLinuxWindow::Pump()
{
  if (!mPumped || !mDpy || !OnGuiThread()) return false;
  mInPump = true;
  XEvent ev;
  while (!mStop.load() && XPending(mDpy) > 0)
    if (Deliver(&ev)) mClient->OnWindowEvent(ev);
  if (!mStop.load()) ApplyPendingSize();
  const long long now = NowNs();
  if (!mStop.load() && now >= mNextTickNs)
  {
    mNextTickNs += mPeriodNs;
    if (mNextTickNs <= now) mNextTickNs = now + mPeriodNs;
    mClient->OnWindowTimer();
  }
  mInPump = false;
  if (!mStop.load()) return true;
  ShutdownOnGuiThread();
  return false;
}

void IGraphicsLinuxWindow::ApplyPendingSize()
{
  const long long size = mPendingSize.exchange(-1);
  if (size < 0 || !mWin) return;
  mW = static_cast<int>(size >> 32);
  mH = static_cast<int>(size & 0xffffffff);
  if (mTopLevel) SetFixedSizeHints(); // before the resize, which the hints would refuse
  XResizeWindow(mDpy, mWin, static_cast<unsigned>(mW), static_cast<unsigned>(mH));
}

void IGraphicsLinuxWindow::SetFixedSizeHints()
{
  XSizeHints hints;
  std::memset(&hints, 0, sizeof(hints));
  hints.flags = PMinSize | PMaxSize;
  hints.min_width = hints.max_width = mW;
  hints.min_height = hints.max_height = mH;
  XSetWMNormalHints(mDpy, mWin, &hints);
}

void IGraphicsLinuxWindow::SetTopLevelProperties(const TopLevel& top)
{
  if (top.title)
  {
    // WM_NAME is of type STRING (Latin-1); _NET_WM_NAME carries the title
    // as it is, in UTF-8, for window managers that read it first.
    XStoreName(mDpy, mWin, Latin1(top.title).c_str());
    XChangeProperty(mDpy, mWin, XInternAtom(mDpy, "_NET_WM_NAME", False),
                    XInternAtom(mDpy, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(top.title),
                    static_cast<int>(std::strlen(top.title)));
  }
  if (top.resName || top.resClass)
  {
    std::string name = Latin1(top.resName ? top.resName : top.resClass);
    std::string cls = Latin1(top.resClass ? top.resClass : top.resName);
    XClassHint hint;
    hint.res_name = &name[0];
    hint.res_class = &cls[0];
    XSetClassHint(mDpy, mWin, &hint);
  }
  SetFixedSizeHints();
  Atom protocols = XInternAtom(mDpy, "WM_PROTOCOLS", False);
  Atom del = XInternAtom(mDpy, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(mDpy, mWin, &del, 1);
  mWmProtocols = protocols;
  mWmDelete = del;
}

bool IGraphicsLinuxWindow::OpenConnection(uintptr_t parent, int w, int h, int fps,
                                          const TopLevel* top)
{
  mPumped = false;
  mTopLevel = false;
  mWmProtocols = mWmDelete = 0;
  if ((!parent && !top) || w < 1 || h < 1) return false;
  mDpy = XOpenDisplay(nullptr);
  if (!mDpy) return false;
  mErrors.store(0);
  mStop.store(false);
  HookErrors(mDpy, &mErrors);
  XSetIOErrorExitHandler(mDpy, ConnectionLost, &mStop);

  mParent = parent ? static_cast<Window>(parent) : DefaultRootWindow(mDpy);
  XWindowAttributes pa;
  std::memset(&pa, 0, sizeof(pa));
  if (!XGetWindowAttributes(mDpy, mParent, &pa))
  {
    UnhookErrors(mDpy);
    XCloseDisplay(mDpy);
    mDpy = nullptr;
    mParent = 0;
    return false;
  }
  mVisual = pa.visual;
  mDepth = pa.depth;
  mW = w;
  mH = h;
  XSetWindowAttributes a;
  std::memset(&a, 0, sizeof(a));
  a.background_pixmap = None; // no flash of background before the first copy
  a.border_pixel = 0;
  a.colormap = pa.colormap;
  a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                 EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                 StructureNotifyMask | FocusChangeMask;
  mWin = XCreateWindow(mDpy, mParent, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), 0,
                       pa.depth, InputOutput, pa.visual,
                       CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &a);
  // Our own interest in the parent: its destruction.
  XSelectInput(mDpy, mParent, StructureNotifyMask);
  mGC = XCreateGC(mDpy, mWin, 0, nullptr);
  // Window-manager properties only on a window of its own (a child of a
  // root window), and before it is mapped, when the window manager reads
  // them.
  mTopLevel = top && mWin && pa.root == mParent;
  if (mTopLevel) SetTopLevelProperties(*top);
  XMapWindow(mDpy, mWin);
  XSync(mDpy, False);
  if (mErrors.load() != 0)
  {
    ShutdownOnGuiThread();
    return false;
  }
  mWakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  mPeriodNs = 1000000000L / (fps > 0 ? fps : 25);
  mNextTickNs = NowNs() + mPeriodNs;
  mRunning.store(true, std::memory_order_release);
  mStarted.store(false);
  return true;
}

void IGraphicsLinuxWindow::Close()
{
  // On the GUI thread itself (a control closing its own editor) the thread
  // leaves its loop once the current event returns; a later Open, Close or
  // the destructor joins it. The thread object is not touched here: the
  // opener may still be storing it.
  if (OnGuiThread())
  {
    mStop.store(true);
    Wake();
    // A pumped window has no thread to finish the job: it is done here,
    // unless an event being delivered by Pump asked, which Pump then does.
    if (mPumped && !mInPump) ShutdownOnGuiThread();
    return;
  }
  std::lock_guard<std::mutex> lock(mLifeMutex);
  CloseAndJoin();
}

void IGraphicsLinuxWindow::CloseAndJoin()
{
  if (mPumped && mDpy)
  {
    // Only the thread that drives a pumped window may touch its connection;
    // from any other thread the window is left for that thread's Close.
    if (!OnGuiThread()) return;
    mStop.store(true);
    ShutdownOnGuiThread();
  }
  if (OnGuiThread())
  {
    mStop.store(true);
    Wake();
    return;
  }
  if (!mThread.joinable()) return;
  mStop.store(true);
  Wake();
  mThread.join();
  mThreadId.store(std::thread::id());
  if (mWakeFd >= 0) close(mWakeFd);
  mWakeFd = -1;
}

void IGraphicsLinuxWindow::Wake()
{
  if (mWakeFd < 0) return;
  const uint64_t one = 1;
  ssize_t n = write(mWakeFd, &one, sizeof(one));
  (void)n;
}

bool IGraphicsLinuxWindow::GuiThreadCpuClock(clockid_t* clock)
{
  return mThread.joinable() && IsOpen() && pthread_getcpuclockid(mThread.native_handle(), clock) == 0;
}

void IGraphicsLinuxWindow::Run()
{
  mThreadId.store(std::this_thread::get_id());
  mClient->OnWindowThreadStart();
  mStarted.store(true);
  XEvent ev;
  while (NextEvent(&ev)) mClient->OnWindowEvent(ev);
  ShutdownOnGuiThread();
}

bool IGraphicsLinuxWindow::NextEvent(XEvent* ev)
{
  for (;;)
  {
    if (mStop.load()) return false;
    if (XPending(mDpy) > 0)
    {
      if (Deliver(ev)) return true;
      if (mStop.load()) return false;
      continue;
    }
    if (!WaitAndTick()) return false;
  }
}

bool IGraphicsLinuxWindow::Deliver(XEvent* ev)
{
  XNextEvent(mDpy, ev);
  if (ev->type == DestroyNotify &&
      (ev->xdestroywindow.window == mParent || ev->xdestroywindow.window == mWin))
  {
    // The host destroyed its window, and ours with it.
    mWin = 0;
    mStop.store(true);
    return false;
  }
  if (ev->type == ClientMessage && mWmDelete && ev->xclient.window == mWin &&
      ev->xclient.message_type == mWmProtocols && ev->xclient.format == 32 &&
      static_cast<unsigned long>(ev->xclient.data.l[0]) == mWmDelete)
  {
    // The window manager's close: the window ends as Close ends it (the
    // GUI thread, or the next Pump, shuts the connection down).
    mStop.store(true);
    return false;
  }
  if (ev->type == Expose && ev->xexpose.window == mWin)
  {
    mClient->OnWindowExpose(ev->xexpose.x, ev->xexpose.y, ev->xexpose.width, ev->xexpose.height);
    return false;
  }
  return true;
}

bool IGraphicsLinuxWindow::WaitAndTick()
{
  ApplyPendingSize();
  const long long now = NowNs();
  if (now >= mNextTickNs)
  {
    // A late tick is not made up for: the next one is a full frame away.
    mNextTickNs += mPeriodNs;
    if (mNextTickNs <= now) mNextTickNs = now + mPeriodNs;
    mClient->OnWindowTimer();
    return !mStop.load();
  }
  const long long wait = mNextTickNs - now;
  timespec ts{static_cast<time_t>(wait / 1000000000LL), static_cast<long>(wait % 1000000000LL)};
  pollfd p[2] = {{ConnectionNumber(mDpy), POLLIN, 0}, {mWakeFd, POLLIN, 0}};
  if (ppoll(p, 2, &ts, nullptr) > 0 && (p[1].revents & POLLIN))
  {
    uint64_t n = 0;
    ssize_t got = read(mWakeFd, &n, sizeof(n)); // re-arms the wake-up
    (void)got;
  }
  return !mStop.load();
}

void IGraphicsLinuxWindow::ShutdownOnGuiThread()
{
  if (!mDpy) return;
  mClient->OnWindowClosing();
  if (mGC) XFreeGC(mDpy, static_cast<GC>(mGC));
  mGC = nullptr;
  // Already gone when the host destroyed its window first; the error that
  // would give is counted by the hook, not fatal.
  if (mWin) XDestroyWindow(mDpy, mWin);
  mWin = 0;
  XSync(mDpy, False);
  UnhookErrors(mDpy);
  XCloseDisplay(mDpy);
  mDpy = nullptr;
  mParent = 0;
  if (mPumped)
  {
    mThreadId.store(std::thread::id());
    if (mWakeFd >= 0) close(mWakeFd);
    mWakeFd = -1;
  }
  mRunning.store(false, std::memory_order_release);
}

bool IGraphicsLinuxWindow::PutImage(const uint32_t* bits, int rowSpan, int picW, int picH, int x,
                                    int y, int w, int h)
{
  if (!mDpy || !mWin || !bits) return false;
  const int l = std::max(0, x), t = std::max(0, y);
  const int r = std::min({x + w, picW, mW}), b = std::min({y + h, picH, mH});
  if (r <= l || b <= t) return true;
  // Plain XPutImage: an editor's picture is small, and shared memory would
  // go through libXext's process-wide lists (see the header).
  if (!PutImageTo(mWin, bits, rowSpan, picW, picH, l, t, r - l, b - t)) return false;
  // The copy is done before the next draw changes the pixels, and the
  // frames do not queue up behind a slow server.
  XSync(mDpy, False);
  return true;
}

bool IGraphicsLinuxWindow::PutImageTo(Window target, const uint32_t* bits, int rowSpan, int picW,
                                      int picH, int x, int y, int w, int h)
{
  if (!mDpy || !target || !bits) return false;
  const int l = std::max(0, x), t = std::max(0, y);
  const int r = std::min(x + w, picW), b = std::min(y + h, picH);
  if (r <= l || b <= t) return true;
  // An image header over the caller's pixels: nothing is copied here.
  XImage* img = XCreateImage(mDpy, static_cast<Visual*>(mVisual), static_cast<unsigned>(mDepth),
                             ZPixmap, 0, reinterpret_cast<char*>(const_cast<uint32_t*>(bits)),
                             static_cast<unsigned>(picW), static_cast<unsigned>(picH), 32,
                             rowSpan * 4);
  const bool ok = MatchesBgra(img);
  if (ok)
    XPutImage(mDpy, target, static_cast<GC>(mGC), img, l, t, l, t, static_cast<unsigned>(r - l),
              static_cast<unsigned>(b - t));
  if (img)
  {
    img->data = nullptr; // not ours to free
    XDestroyImage(img);
  }
  if (ok && target != mWin) XFlush(mDpy);
  return ok;
}

unsigned long IGraphicsLinuxWindow::CreateBlankCursor()
{
  if (!mDpy || !mWin) return 0;
  Display* dpy = mDpy; // Xlib's request macros name the connection dpy
  // A 1 x 1 bitmap cleared to 0 is both the cursor's picture and its mask.
  LockDisplay(dpy);
  xCreatePixmapReq* pixmapReq;
  GetReq(CreatePixmap, pixmapReq);
  const Pixmap pm = XAllocID(dpy);
  pixmapReq->depth = 1;
  pixmapReq->pid = static_cast<CARD32>(pm);
  pixmapReq->drawable = static_cast<CARD32>(mWin);
  pixmapReq->width = 1;
  pixmapReq->height = 1;
  UnlockDisplay(dpy);
  SyncHandle();
  XGCValues v;
  std::memset(&v, 0, sizeof(v));
  v.function = GXclear;
  const GC gc = XCreateGC(dpy, pm, GCFunction, &v);
  XFillRectangle(dpy, pm, gc, 0, 0, 1, 1);
  XFreeGC(dpy, gc);
  LockDisplay(dpy);
  xCreateCursorReq* cursorReq;
  GetReq(CreateCursor, cursorReq);
  const Cursor cursor = XAllocID(dpy);
  cursorReq->cid = static_cast<CARD32>(cursor);
  cursorReq->source = static_cast<CARD32>(pm);
  cursorReq->mask = static_cast<CARD32>(pm);
  cursorReq->foreRed = cursorReq->foreGreen = cursorReq->foreBlue = 0;
  cursorReq->backRed = cursorReq->backGreen = cursorReq->backBlue = 0;
  cursorReq->x = cursorReq->y = 0;
  UnlockDisplay(dpy);
  SyncHandle();
  XFreePixmap(dpy, pm);
  return cursor;
}

void IGraphicsLinuxWindow::RequestResize(int w, int h)
{
  if (w < 1 || h < 1) return;
  mPendingSize.store((static_cast<long long>(w) << 32) | static_cast<long long>(h));
  Wake();
}

void IGraphicsLinuxWindow::ForwardKeyToParent(const XEvent& key)
{
  if (!mDpy || !mParent || (key.type != KeyPress && key.type != KeyRelease)) return;
  XEvent ev = key;
  ev.xkey.window = mParent;
  ev.xkey.subwindow = None;
  XSendEvent(mDpy, mParent, True, key.type == KeyPress ? KeyPressMask : KeyReleaseMask, &ev);
  XFlush(mDpy);
}

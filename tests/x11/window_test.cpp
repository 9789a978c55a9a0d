// The editor's X11 window core on a real server: child of the host window,
// exact screen copies, the GUI thread's life and what it leaves behind.

#include "x11_fixture.h" // GoogleTest before Xlib's macros

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "IGraphicsLinuxWindow.h"

namespace
{
struct RecordingClient : IGraphicsLinuxWindow::Client
{
  IGraphicsLinuxWindow win{this};
  std::atomic<int> ticks{0}, exposes{0}, closings{0}, keys{0};
  std::atomic<bool> closeOnTick{false};
  ~RecordingClient() override { win.Close(); } // before the members the thread uses go

  std::vector<uint32_t> picture; // put on screen at a tick once ready
  std::atomic<bool> pictureReady{false};
  int stallOnTick = 0;
  std::mutex timesMutex;
  std::vector<std::chrono::steady_clock::time_point> tickTimes;
  std::atomic<bool> drawn{false};
  std::atomic<bool> wantCursor{false};
  std::atomic<unsigned long> cursor{0};

  void OnWindowEvent(XEvent& ev) override
  {
    if (ev.type == KeyPress)
    {
      ++keys;
      win.ForwardKeyToParent(ev);
    }
  }
  void OnWindowExpose(int, int, int, int) override { ++exposes; }
  void OnWindowTimer() override
  {
    ++ticks;
    {
      std::lock_guard<std::mutex> lock(timesMutex);
      tickTimes.push_back(std::chrono::steady_clock::now());
    }
    if (ticks == stallOnTick) std::this_thread::sleep_for(std::chrono::milliseconds(30));
    if (pictureReady && !drawn)
      drawn = win.PutImage(picture.data(), win.Width(), win.Width(), win.Height(), 0, 0,
                           win.Width(), win.Height());
    if (wantCursor && !cursor)
    {
      cursor = win.CreateBlankCursor();
      XDefineCursor(win.GetDisplay(), win.GetWindow(), cursor);
      XFreeCursor(win.GetDisplay(), cursor);
      XSync(win.GetDisplay(), False);
    }
    if (closeOnTick) win.Close();
  }
  void OnWindowClosing() override { ++closings; }
};

uintptr_t Id(const HostWindow& h) { return static_cast<uintptr_t>(h.Id()); }
} // namespace

TEST_F(X11Test, OpensAChildOfTheHostWindowAndCopiesTheBitmapPixelForPixel)
{
  HostWindow host;
  RecordingClient c;
  const int w = 37, h = 23;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      c.picture.push_back(0xff000000u | static_cast<uint32_t>(x * 7 << 16 | y * 11 << 8 | (x ^ y)));
  c.pictureReady = true;
  ASSERT_TRUE(c.win.Open(Id(host), w, h, 50));
  const Window child = host.WaitForChild(3000);
  ASSERT_NE(child, 0u);
  XWindowAttributes wa;
  ASSERT_TRUE(XGetWindowAttributes(host.Dpy(), child, &wa));
  EXPECT_EQ(wa.width, w);
  EXPECT_EQ(wa.height, h);
  ASSERT_TRUE(WaitUntil([&] { return c.drawn.load(); }));
  std::vector<unsigned> px;
  ASSERT_TRUE(GrabPixels(host.Dpy(), child, 0, 0, w, h, &px));
  for (size_t i = 0; i < px.size(); ++i) ASSERT_EQ(px[i], c.picture[i] & 0xffffffu) << i;
  EXPECT_GE(c.exposes.load(), 1);
  c.win.Close();
  EXPECT_EQ(c.win.ErrorCount(), 0);
  EXPECT_EQ(c.closings.load(), 1);
  EXPECT_EQ(host.FirstChild(), 0u);
}

// Xlib's own bitmap and cursor calls load libXcursor (and with it
// libXrender), whose process-wide display lists are not safe beside other
// threads' connections; the editor's blank cursor must not.
TEST_F(X11Test, TheBlankCursorIsMadeWithoutLoadingACursorLibrary)
{
  HostWindow host;
  RecordingClient c;
  ASSERT_TRUE(c.win.Open(Id(host), 20, 20, 100));
  c.wantCursor = true;
  ASSERT_TRUE(WaitUntil([&] { return c.cursor.load() != 0; }));
  c.win.Close();
  EXPECT_EQ(c.win.ErrorCount(), 0);
  std::ifstream maps("/proc/self/maps");
  const std::string all((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all.find("libXcursor"), std::string::npos);
  EXPECT_EQ(all.find("libXrender"), std::string::npos);
}

TEST_F(X11Test, ResizingOnRequestKeepsCopiesExact)
{
  HostWindow host;
  RecordingClient c;
  ASSERT_TRUE(c.win.Open(Id(host), 10, 10, 100));
  const Window child = host.WaitForChild(3000);
  c.win.RequestResize(30, 20);
  EXPECT_TRUE(WaitUntil([&] {
    XWindowAttributes wa;
    return XGetWindowAttributes(host.Dpy(), child, &wa) && wa.width == 30 && wa.height == 20;
  }));
  for (int i = 0; i < 30 * 20; ++i) c.picture.push_back(0xff000000u | static_cast<uint32_t>(i * 977));
  c.pictureReady = true;
  ASSERT_TRUE(WaitUntil([&] { return c.drawn.load(); }));
  std::vector<unsigned> px;
  ASSERT_TRUE(GrabPixels(host.Dpy(), child, 0, 0, 30, 20, &px));
  for (size_t i = 0; i < px.size(); ++i) ASSERT_EQ(px[i], c.picture[i] & 0xffffffu) << i;
}

TEST_F(X11Test, AStalledTickIsNotMadeUpForByABurst)
{
  HostWindow host;
  RecordingClient c;
  c.stallOnTick = 3; // the third tick takes three frames
  ASSERT_TRUE(c.win.Open(Id(host), 10, 10, 100));
  ASSERT_TRUE(WaitUntil([&] { return c.ticks.load() >= 12; }));
  c.win.Close();
  // The missed ticks come as one late tick, then the next a frame later.
  std::lock_guard<std::mutex> lock(c.timesMutex);
  ASSERT_GE(c.tickTimes.size(), 5u);
  EXPECT_GE(c.tickTimes[3] - c.tickTimes[2], std::chrono::microseconds(30000));
  EXPECT_GE(c.tickTimes[4] - c.tickTimes[3], std::chrono::microseconds(5000));
}

TEST_F(X11Test, AMissingParentFailsCleanly)
{
  HostWindow host;
  RecordingClient c;
  const int fds = CountOpenFileDescriptors();
  EXPECT_FALSE(c.win.Open(0x7ffffff, 10, 10, 25));
  EXPECT_FALSE(c.win.Open(0, 10, 10, 25));
  EXPECT_FALSE(c.win.IsOpen());
  EXPECT_EQ(CountOpenFileDescriptors(), fds);
}

TEST_F(X11Test, DestroyingTheHostWindowFirstClosesTheEditorWithoutErrors)
{
  HostWindow host;
  RecordingClient c;
  ASSERT_TRUE(c.win.Open(Id(host), 20, 20, 25));
  ASSERT_NE(host.WaitForChild(3000), 0u);
  host.Destroy();
  EXPECT_TRUE(WaitUntil([&] { return !c.win.IsOpen(); }));
  EXPECT_EQ(c.closings.load(), 1);
  EXPECT_EQ(c.win.ErrorCount(), 0);
  c.win.Close();
  c.win.Close();
}

TEST_F(X11Test, TwoEditorsRunAtOnceAndCloseFromAnyThread)
{
  HostWindow h1, h2;
  RecordingClient a, b;
  ASSERT_TRUE(a.win.Open(Id(h1), 10, 10, 100));
  ASSERT_TRUE(b.win.Open(Id(h2), 10, 10, 100));
  EXPECT_TRUE(WaitUntil([&] { return a.ticks > 3 && b.ticks > 3; }));
  std::thread closer([&] { a.win.Close(); });
  b.win.Close();
  closer.join();
  EXPECT_FALSE(a.win.IsOpen());
  EXPECT_FALSE(b.win.IsOpen());
}

// A host that opens and closes one editor from two threads at once (a fault
// of the host) must not bring the process down.
TEST_F(X11Test, OpensAndClosesFromTwoHostThreadsAtOnceTakeTurns)
{
  HostWindow host;
  RecordingClient c;
  auto cycle = [&]
  {
    for (int i = 0; i < 25; ++i)
    {
      c.win.Open(Id(host), 20, 20, 100);
      c.win.Close();
    }
  };
  std::thread a(cycle), b(cycle);
  a.join();
  b.join();
  EXPECT_FALSE(c.win.IsOpen());
  EXPECT_EQ(c.closings.load(), 50);
  EXPECT_TRUE(WaitUntil([&] { return host.FirstChild() == 0; }));
}

TEST_F(X11Test, AnEditorMayCloseItselfFromItsOwnThread)
{
  HostWindow host;
  RecordingClient c;
  c.closeOnTick = true;
  ASSERT_TRUE(c.win.Open(Id(host), 10, 10, 100));
  EXPECT_TRUE(WaitUntil([&] { return !c.win.IsOpen(); }));
  EXPECT_EQ(c.ticks.load(), 1);
  // Reopening joins the finished thread first.
  c.closeOnTick = false;
  ASSERT_TRUE(c.win.Open(Id(host), 10, 10, 100));
  EXPECT_TRUE(c.win.IsOpen());
}

TEST_F(X11Test, KeysSentOnReachTheHostWindow)
{
  HostWindow host;
  RecordingClient c;
  ASSERT_TRUE(c.win.Open(Id(host), 50, 50, 25));
  const Window child = host.WaitForChild(3000);
  ASSERT_NE(child, 0u);
  XSetInputFocus(host.Dpy(), child, RevertToParent, CurrentTime);
  XSync(host.Dpy(), False);
  ASSERT_TRUE(FakeKey(host.Dpy(), XK_F5));
  EXPECT_EQ(host.WaitForKeyPress(3000), XKeysymToKeycode(host.Dpy(), XK_F5));
  EXPECT_EQ(c.keys.load(), 1);
}

TEST_F(X11Test, OpeningAndClosingFiftyTimesLeaksNoThreadsWindowsOrConnections)
{
  HostWindow host;
  RecordingClient c;
  ASSERT_TRUE(c.win.Open(Id(host), 10, 10, 25)); // warm-up: Xlib's one-time state
  c.win.Close();
  const int threads = CountThreads(), fds = CountOpenFileDescriptors();
  const int windows = CountWindowsUnderRoot(host.Dpy());
  for (int i = 0; i < 50; ++i)
  {
    ASSERT_TRUE(c.win.Open(Id(host), 10, 10, 25)) << i;
    c.win.Close();
  }
  EXPECT_EQ(CountThreads(), threads);
  EXPECT_EQ(CountOpenFileDescriptors(), fds);
  EXPECT_EQ(CountWindowsUnderRoot(host.Dpy()), windows);
  EXPECT_EQ(c.closings.load(), 51);
}

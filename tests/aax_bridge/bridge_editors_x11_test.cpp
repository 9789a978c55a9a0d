// Editors of several Quorvane instances on one host, each opened into a host
// window of its own and closed again on its own host thread, all at once and
// on a busy machine, so that the editors' GUI threads open and close their
// display connections side by side. A crash here ends the program, so these
// tests live in one of their own.
//
// Each editor opens at least 40 times and until QV_EDITORS_SECONDS have
// passed (default 2).

#include "x11_fixture.h" // GoogleTest and the project's headers before Xlib's macros

#include "../iplug/hosted_quorvane.h"
#include "AAX_CEffectGUI_IPLUG.h"
#include "IGraphics.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace aaxhost;

namespace
{
using Clock = std::chrono::steady_clock;

double RunSeconds()
{
  const char* s = std::getenv("QV_EDITORS_SECONDS");
  const double v = s ? std::atof(s) : 0.0;
  return v > 0.0 ? v : 2.0;
}

// The first failure of any thread, for the test's message.
class Failures
{
public:
  void Add(const std::string& why)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mFirst.empty()) mFirst = why;
  }
  std::string First()
  {
    std::lock_guard<std::mutex> lock(mMutex);
    return mFirst;
  }

private:
  std::mutex mMutex;
  std::string mFirst;
};

constexpr int kMinOpens = 40;

// One instance's host thread: opens the editor into its window, keeps it
// open 1 to 10 ms, closes it, again and again until the deadline.
void CycleEditor(HostInstance& inst, int index, Clock::time_point deadline,
                 std::atomic<long>& opens, Failures& failures)
{
  HostWindow window(190, 120, 200 * index, 0);
  if (!window.Ok()) return failures.Add("no host window for instance " + std::to_string(index));
  IGraphics* gui = dynamic_cast<Quorvane*>(inst.Parameters())->GetGUI();
  const auto editorProc = reinterpret_cast<CreationProc>(&AAX_CEffectGUI_IPLUG::Create);
  std::mt19937 rng(static_cast<unsigned>(index) + 1);
  const std::string who = "instance " + std::to_string(index) + ": ";
  for (int n = 0; n < kMinOpens || Clock::now() < deadline; ++n)
  {
    if (const AAX_Result r = inst.OpenEditor(editorProc))
      return failures.Add(who + "the editor did not open: " + std::to_string(r));
    if (const AAX_Result r = inst.AttachView(window.AsParent()))
      return failures.Add(who + "the editor refused its window: " + std::to_string(r));
    // The editor opened on this instance's plug-in, not another's.
    if (!gui->GetWindow()) return failures.Add(who + "its own editor has no window");
    std::this_thread::sleep_for(std::chrono::microseconds(1000 + rng() % 9000));
    inst.CloseEditor();
    if (gui->GetWindow()) return failures.Add(who + "the editor's window stayed after closing");
    opens.fetch_add(1);
    while (XPending(window.Dpy()))
    {
      XEvent ev;
      XNextEvent(window.Dpy(), &ev);
    }
  }
}

// A thread that only computes, so the editors' threads are preempted at
// unlucky moments as on a loaded machine.
void Spin(const std::atomic<bool>& stop)
{
  volatile unsigned long x = 1;
  while (!stop.load())
    for (int i = 0; i < 10000; ++i)
      x = x * 6364136223846793005ul + 1;
}

// What a host's user-interface toolkit may do on a thread of its own: its own
// connection, an MIT-SHM image attached and detached, the connection closed.
long ShmHostLoop(const std::atomic<bool>& stop)
{
  long cycles = 0;
  while (!stop.load())
  {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return -1;
    if (XShmQueryExtension(d))
    {
      XShmSegmentInfo info{};
      XImage* img =
          XShmCreateImage(d, DefaultVisual(d, 0), static_cast<unsigned>(DefaultDepth(d, 0)),
                          ZPixmap, nullptr, &info, 64, 64);
      if (img)
      {
        info.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(img->bytes_per_line) * img->height,
                            IPC_CREAT | 0600);
        info.shmaddr = img->data = static_cast<char*>(shmat(info.shmid, nullptr, 0));
        info.readOnly = False;
        XShmAttach(d, &info);
        XSync(d, False);
        XShmDetach(d, &info);
        XDestroyImage(img);
        shmdt(info.shmaddr);
        shmctl(info.shmid, IPC_RMID, nullptr);
      }
    }
    XCloseDisplay(d);
    ++cycles;
  }
  return cycles;
}

struct Instances
{
  explicit Instances(int n)
  {
    for (int i = 0; i < n; ++i)
    {
      list.push_back(std::make_unique<HostInstance>(host, QuorvaneCreate()));
      ok = ok && list.back()->Initialize() == 0;
    }
  }
  StandInHost host;
  std::vector<std::unique_ptr<HostInstance>> list;
  bool ok = true;
};

// Cycles the editors of n instances on their threads, with spinners beside
// them and, when shmHost, a thread using MIT-SHM as a host toolkit would.
void RunEditors(int n, bool shmHost)
{
  Instances inst(n);
  ASSERT_TRUE(inst.ok);
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(RunSeconds()));
  std::atomic<long> opens{0};
  std::atomic<bool> stop{false};
  long shmCycles = 0;
  Failures failures;
  std::vector<std::thread> busy, editors;
  for (int i = 0; i < 2; ++i)
    busy.emplace_back(Spin, std::cref(stop));
  if (shmHost) busy.emplace_back([&] { shmCycles = ShmHostLoop(stop); });
  for (int i = 0; i < n; ++i)
    editors.emplace_back(CycleEditor, std::ref(*inst.list[static_cast<size_t>(i)]), i, deadline,
                         std::ref(opens), std::ref(failures));
  for (std::thread& t : editors)
    t.join();
  stop = true;
  for (std::thread& t : busy)
    t.join();
  EXPECT_EQ(failures.First(), "");
  EXPECT_GE(shmCycles, 0) << "the MIT-SHM thread could not connect";
  std::printf("%ld editor opens on %d threads, %ld MIT-SHM cycles beside them\n", opens.load(), n,
              shmCycles);
}
} // namespace

TEST_F(X11Test, EditorsOfThreeInstancesOpenAndCloseOnTheirOwnThreadsAtOnce)
{
  RunEditors(3, false);
}

TEST_F(X11Test, EditorsOpenAndCloseBesideAHostThreadUsingMitShmOnItsOwnConnection)
{
  RunEditors(2, true);
}

// What an open Quorvane editor costs: the GUI thread's CPU time while idle
// at the default 25 frames per second, and the time from a real click on the
// swap switch until the redrawn switch has been copied to the screen.
//
//   editor_x11_cost [--idle-seconds N] [--screenshots DIR]
//
// With --screenshots the editor is saved as DIR/editor-off.png (both
// switches off) and DIR/editor-on.png (both on).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "IControl.h"
#include "IGraphicsLinux.h"
#include "Quorvane.h"
#include "xvfb_harness.h"

#include <X11/Xlib.h> // after the project's headers: its macros clash with their names

namespace
{
double Seconds(clockid_t clock)
{
  timespec ts;
  clock_gettime(clock, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

long long NowUs()
{
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Until no copy has been made for three ticks.
void Settle(IGraphicsLinux* g)
{
  int copies = -1, ticks = 0;
  for (int i = 0; i < 5000; ++i)
  {
    if (g->ScreenCopies() != copies)
    {
      copies = g->ScreenCopies();
      ticks = g->TimerTicks();
    }
    if (copies > 0 && g->TimerTicks() - ticks >= 3) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

bool Screenshot(HostWindow& host, Window child, const std::string& path)
{
  std::vector<unsigned> px;
  return GrabPixels(host.Dpy(), child, 0, 0, 190, 120, &px) && SavePng(path, px, 190, 120);
}
} // namespace

int main(int argc, char** argv)
{
  int idleSeconds = 10;
  std::string shots;
  for (int i = 1; i < argc; ++i)
  {
    if (!std::strcmp(argv[i], "--idle-seconds") && i + 1 < argc) idleSeconds = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--screenshots") && i + 1 < argc) shots = argv[++i];
  }
  std::string why;
  XvfbServer server;
  if (!server.Start(&why))
  {
    std::printf("editor_x11_cost: skipped, no X server: %s\n", why.c_str());
    return 0;
  }
  std::printf("editor_x11_cost (%s)\n", QV_BENCH_FLAGS);
  {
    HostWindow host;
    Quorvane* plug = static_cast<Quorvane*>(MakePlug());
    auto* g = static_cast<IGraphicsLinux*>(plug->GetGUI());
    if (g->GetControl(1)->GetRECT()->W() == 0)
    {
      std::printf("the pictures are missing from the Resources folder beside this program's\n");
      return 1;
    }
    if (!g->OpenWindow(host.AsParent()))
    {
      std::printf("the editor did not open\n");
      return 1;
    }
    const Window child = host.WaitForChild(3000);
    Settle(g);
    std::printf("screen copies over %s\n", "XPutImage");
    if (!shots.empty() && !Screenshot(host, child, shots + "/editor-off.png"))
      std::printf("could not write %s/editor-off.png\n", shots.c_str());

    clockid_t clock;
    if (g->X11Window().GuiThreadCpuClock(&clock))
    {
      const double cpu0 = Seconds(clock), wall0 = Seconds(CLOCK_MONOTONIC);
      const int ticks0 = g->TimerTicks();
      std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
      const double cpu = Seconds(clock) - cpu0, wall = Seconds(CLOCK_MONOTONIC) - wall0;
      std::printf("idle at %d fps: %d ticks in %.2f s, GUI thread CPU %.3f ms = %.4f %% of one core\n",
                  g->FPS(), g->TimerTicks() - ticks0, wall, cpu * 1e3, 100.0 * cpu / wall);
    }

    // Click to screen: each click toggles the swap switch; the time runs
    // from sending the click until the first copy after it has finished
    // (the copy waits for the server). It includes the wait for the next
    // timer tick, on average half a frame: clicks are spread over the frame
    // by a pause of 0-39 ms before each.
    std::vector<long long> latency, redraw;
    unsigned seed = 12345;
    for (int i = 0; i < 40; ++i)
    {
      seed = seed * 1103515245u + 12345u;
      std::this_thread::sleep_for(std::chrono::milliseconds((seed >> 16) % 40));
      const int copies = g->ScreenCopies();
      const long long t0 = NowUs();
      FakeClick(host.Dpy(), child, 20, 45, Button1);
      while (g->ScreenCopies() == copies && NowUs() - t0 < 2000000)
        std::this_thread::sleep_for(std::chrono::microseconds(20));
      latency.push_back(NowUs() - t0);
      redraw.push_back(g->LastRedrawMicros());
      Settle(g);
    }
    std::sort(latency.begin(), latency.end());
    std::sort(redraw.begin(), redraw.end());
    auto mean = [](const std::vector<long long>& v) {
      long long s = 0;
      for (long long x : v) s += x;
      return static_cast<double>(s) / v.size();
    };
    std::printf("click to screen over %zu clicks: median %lld us, mean %.0f us, min %lld us, max %lld us\n",
                latency.size(), latency[latency.size() / 2], mean(latency), latency.front(),
                latency.back());
    std::printf("redraw of the tick that drew (poll, draw, copy, server sync): median %lld us, mean %.0f us\n",
                redraw[redraw.size() / 2], mean(redraw));

    if (!shots.empty())
    {
      // An even number of clicks left swap off: switch both on.
      FakeClick(host.Dpy(), child, 20, 45, Button1);
      Settle(g);
      FakeClick(host.Dpy(), child, 165, 50, Button1);
      Settle(g);
      if (!Screenshot(host, child, shots + "/editor-on.png"))
        std::printf("could not write %s/editor-on.png\n", shots.c_str());
    }
    g->CloseWindow();
    delete plug;
  }
  server.Stop();
  return 0;
}

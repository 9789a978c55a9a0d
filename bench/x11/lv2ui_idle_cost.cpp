// What Quorvane's open LV2 UI costs its host while idle: the CPU time the
// host's UI thread spends inside the UI's idle() when a host calls it at
// 60 Hz, as a share of one core, over the wall time. The UI binary is loaded
// from the bundle as a host loads it, into a window of the program's own
// Xvfb.
//
//   lv2ui_idle_cost [--idle-seconds N]

#include <dlfcn.h>
#include <lv2/ui/ui.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "xvfb_harness.h"

namespace
{
double Seconds(clockid_t clock)
{
  timespec ts;
  clock_gettime(clock, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

void Write(LV2UI_Controller, uint32_t, uint32_t, uint32_t, const void*) {}
} // namespace

int main(int argc, char** argv)
{
  int idleSeconds = 10;
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--idle-seconds") && i + 1 < argc) idleSeconds = std::atoi(argv[++i]);
  std::printf("flags: %s\n", QV_BENCH_FLAGS);
  std::string why;
  if (!SharedXvfb(&why))
  {
    std::printf("no X server: %s\n", why.c_str());
    return 1;
  }
  const std::string bundle = QV_QUORVANE_LV2;
  void* lib = dlopen((bundle + "/Quorvane_ui.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  auto fn =
      lib ? reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(lib, "lv2ui_descriptor")) : nullptr;
  const LV2UI_Descriptor* d = fn ? fn(0) : nullptr;
  if (!d)
  {
    std::printf("cannot load %s/Quorvane_ui.so\n", bundle.c_str());
    return 1;
  }
  auto* idle = static_cast<const LV2UI_Idle_Interface*>(d->extension_data(LV2_UI__idleInterface));
  HostWindow host(300, 200);
  LV2_Feature parentF = {LV2_UI__parent, host.AsParent()};
  LV2_Feature idleF = {LV2_UI__idleInterface, nullptr};
  const LV2_Feature* features[] = {&parentF, &idleF, nullptr};
  LV2UI_Widget widget = nullptr;
  LV2UI_Handle h = d->instantiate(d, "urn:orvantine:quorvane", bundle.c_str(), Write, nullptr,
                                  &widget, features);
  if (!h || !idle)
  {
    std::printf("the UI did not open\n");
    return 1;
  }
  // The first frames are drawn before measuring.
  for (int i = 0; i < 30; ++i)
  {
    idle->idle(h);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000 / 60));
  }
  double inIdle = 0.0;
  long calls = 0;
  const double wall0 = Seconds(CLOCK_MONOTONIC);
  while (Seconds(CLOCK_MONOTONIC) - wall0 < idleSeconds)
  {
    const double c0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
    idle->idle(h);
    inIdle += Seconds(CLOCK_THREAD_CPUTIME_ID) - c0;
    ++calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(1000 / 60));
  }
  const double wall = Seconds(CLOCK_MONOTONIC) - wall0;
  std::printf(
      "LV2 UI idle at 60 Hz: %ld idle() calls in %.2f s, host thread CPU inside idle %.3f ms "
      "= %.4f %% of one core\n",
      calls, wall, inIdle * 1e3, 100.0 * inIdle / wall);
  d->cleanup(h);
  return 0;
}

// Two editors on their own GUI threads loading the same pictures and fonts
// while a host thread pushes parameter values (run under ThreadSanitizer).
#include "gui_test_support.h"

#include <atomic>
#include <thread>

namespace
{
struct EditorThread
{
  GuiTestPlug plug;
  IGraphicsHeadless* gui = nullptr;
  ISwitchControl* swap = nullptr;
  std::atomic<bool> ready{false};

  void Run(const std::atomic<bool>& stop)
  {
    gui = new IGraphicsHeadless(&plug, 60, 40);
    gui->SetResourceFolder(PictureFolder().c_str());
    int parent = 0;
    gui->OpenWindow(&parent);
    gui->AttachBackground(5001, "mt_bg.png");
    IBitmap btn = gui->LoadIBitmap(5002, "mt_btn.png", 2);
    swap = new ISwitchControl(&plug, 0, 0, kSwap, &btn);
    gui->AttachControl(swap);
    gui->AttachControl(new ISwitchControl(&plug, 10, 0, kMode, &btn));
    IText style(11, &COLOR_BLACK);
    gui->AttachControl(new ITextControl(&plug, IRECT(0, 20, 60, 40), &style, "Swap Mono"));
    plug.AttachGraphics(gui);
    ready = true;
    while (!stop.load())
    {
      IRECT r;
      if (gui->IsDirty(r)) gui->Draw(r);
      std::this_thread::yield();
    }
    gui->CloseWindow();
  }
};
} // namespace

TEST(GuiThreads, HostPushesReachTwoEditorsDrawingOnTheirOwnThreads)
{
  WriteFrames("mt_bg.png", 60, 40, {0xff202020});
  WriteFrames("mt_btn.png", 8, 8, {0xff000000, 0xffffffff});
  EditorThread a, b;
  std::atomic<bool> stop{false};
  std::thread ta([&] { a.Run(stop); });
  std::thread tb([&] { b.Run(stop); });
  while (!a.ready || !b.ready) std::this_thread::yield();

  // The host thread: the plug-in mutex held, as the wrapper's update does.
  std::thread host([&] {
    for (int i = 0; i < 2000; ++i)
      for (EditorThread* e : {&a, &b})
      {
        IPlugBase::IMutexLock lock(&e->plug);
        const double v = (i & 1) ? 1.0 : 0.0;
        e->plug.GetParam(kSwap)->SetNormalized(v);
        e->gui->SetParameterFromPlug(kSwap, v, true);
        e->gui->SetParameterFromPlug(kGain, 0.25, true);
      }
    // Last word: on.
    for (EditorThread* e : {&a, &b})
    {
      IPlugBase::IMutexLock lock(&e->plug);
      e->gui->SetParameterFromPlug(kSwap, 1.0, true);
    }
  });
  host.join();
  // Let each editor poll at least once more after the last push.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  stop = true;
  ta.join();
  tb.join();
  EXPECT_EQ(a.swap->GetValue(), 1.0);
  EXPECT_EQ(b.swap->GetValue(), 1.0);
  EXPECT_EQ(a.gui->GetPoint(0, 0).Pixel(), 0xffffffffu);
}

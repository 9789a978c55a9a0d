// Microseconds for a full redraw of the product's 190 x 120 editor
// (background and two picture switches) and of a busier 400 x 300 one
// (background, 8 knobs drawn by rotation, 8 text captions, 4 faders), and
// the cost of one idle poll (IsDirty with nothing dirty) over 100 controls.
// Pictures are made in memory, so no file is read.

#include "IControl.h"
#include "IGraphicsHeadless.h"
#include "IPlugBase.h"
#include "lice.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
class BenchPlug : public IPlugBase
{
public:
  explicit BenchPlug(int nParams)
      : IPlugBase(nParams, "2-2", 1, "Bench", "", "Maker", 0x10000, 1, 2, 0, false, false, false,
                  kAPIAAX)
  {
    for (int i = 0; i < nParams; ++i)
    {
      char name[16];
      snprintf(name, sizeof(name), "P%d", i);
      GetParam(i)->InitDouble(name, 0.3, 0.0, 10.0, 0.01, "dB");
    }
  }
  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSig(int* n, int* d) override { *n = 4, *d = 4; }
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }
};

// Pictures by resource id: a w x h gradient with some translucency.
class BenchGraphics : public IGraphicsHeadless
{
public:
  using IGraphicsHeadless::IGraphicsHeadless;
  LICE_IBitmap* OSLoadBitmap(int ID, const char*) override
  {
    int w = 0, h = 0;
    switch (ID)
    {
    case 101:
      w = 190, h = 120;
      break;
    case 102:
      w = 60, h = 60;
      break; // two 60 x 30 frames
    case 201:
      w = 400, h = 300;
      break;
    case 202:
      w = 48, h = 48;
      break;
    case 203:
      w = 20, h = 10;
      break;
    default:
      return nullptr;
    }
    auto* bm = new LICE_MemBitmap(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        bm->getBits()[y * bm->getRowSpan() + x] =
            LICE_RGBA(x * 255 / w, y * 255 / h, 128, (x + y) % 3 ? 255 : 160);
    return bm;
  }
  using IGraphicsHeadless::Draw;
};

void FullRedraw(benchmark::State& state, BenchGraphics* gui)
{
  IRECT all(0, 0, gui->Width(), gui->Height());
  for (auto _ : state)
  {
    gui->SetAllControlsDirty();
    gui->Draw(all);
    benchmark::DoNotOptimize(gui->GetBits());
  }
}

void BM_ProductEditorFullRedraw(benchmark::State& state)
{
  BenchPlug plug(2);
  auto* gui = new BenchGraphics(&plug, 190, 120);
  gui->AttachBackground(101, "Background.png");
  IBitmap btn = gui->LoadIBitmap(102, "swapBtn.png", 2);
  gui->AttachControl(new ISwitchControl(&plug, 20, 45, 0, &btn));
  gui->AttachControl(new ISwitchControl(&plug, 110, 45, 1, &btn));
  plug.AttachGraphics(gui);
  FullRedraw(state, gui);
}

void BM_BusyEditorFullRedraw(benchmark::State& state)
{
  BenchPlug plug(12);
  auto* gui = new BenchGraphics(&plug, 400, 300);
  gui->AttachBackground(201, "big.png");
  IBitmap knob = gui->LoadIBitmap(202, "knob.png");
  IBitmap handle = gui->LoadIBitmap(203, "handle.png");
  IText style(11, &COLOR_BLACK);
  for (int i = 0; i < 8; ++i)
  {
    const int x = 10 + (i % 4) * 70, y = 10 + (i / 4) * 110;
    gui->AttachControl(new IKnobRotaterControl(&plug, x, y, i, &knob));
    gui->AttachControl(new ICaptionControl(&plug, IRECT(x - 5, y + 55, x + 60, y + 70), i, &style));
  }
  for (int i = 0; i < 4; ++i)
    gui->AttachControl(new IFaderControl(&plug, 300 + i * 24, 20, 200, 8 + i, &handle));
  plug.AttachGraphics(gui);
  FullRedraw(state, gui);
}

void BM_IdlePoll100Controls(benchmark::State& state)
{
  BenchPlug plug(100);
  auto* gui = new BenchGraphics(&plug, 400, 300);
  IColor grey(255, 80, 80, 80);
  for (int i = 0; i < 100; ++i)
    gui->AttachControl(new IPanelControl(
        &plug, IRECT((i % 10) * 40, (i / 10) * 30, (i % 10) * 40 + 40, (i / 10) * 30 + 30), &grey));
  plug.AttachGraphics(gui);
  IRECT r;
  for (int pass = 0; pass < 2; ++pass) // draw the creation pass so nothing is dirty
    if (gui->IsDirty(r)) gui->Draw(r);
  for (auto _ : state)
  {
    IRECT none;
    benchmark::DoNotOptimize(gui->IsDirty(none));
  }
}

BENCHMARK(BM_ProductEditorFullRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusyEditorFullRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdlePoll100Controls)->Unit(benchmark::kNanosecond);
} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  benchmark::AddCustomContext("compile flags", QV_BENCH_FLAGS);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

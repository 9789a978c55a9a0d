#pragma once
// A plug-in on the real IPlugBase that records what the editor tells the
// host, small PNG pictures written with libpng, and an editor fixture on the
// headless platform.

#include "IControl.h"
#include "IGraphicsHeadless.h"
#include "IPlugBase.h"
#include "lice.h"
#include "png_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

enum EGuiTestParams
{
  kSwap = 0, // bool, display texts "off" / "on"
  kMode,     // enum of three: "Alpha", "Beta", "Gamma"
  kGain,     // double -12..12 dB, step 0.1
  kNumGuiTestParams
};

// Begin, inform and end calls in the order they arrived.
class GuiTestPlug : public IPlugBase
{
public:
  // reversedModeTexts: the enum's texts are added from the highest value down.
  explicit GuiTestPlug(bool reversedModeTexts = false)
      : IPlugBase(kNumGuiTestParams, "2-2", 1, "GuiTest", "", "Maker", 0x10000, 1, 2, 0, false,
                  false, false, kAPIAAX)
  {
    GetParam(kSwap)->InitBool("Swap", false);
    GetParam(kMode)->InitEnum("Mode", 0, 3);
    const char* modes[] = {"Alpha", "Beta", "Gamma"};
    for (int i = 0; i < 3; ++i)
    {
      const int v = reversedModeTexts ? 2 - i : i;
      GetParam(kMode)->SetDisplayText(v, modes[v]);
    }
    GetParam(kGain)->InitDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  }

  void BeginInformHostOfParamChange(int idx) override { events.push_back("begin " + Num(idx)); }
  void InformHostOfParamChange(int idx, double v) override
  {
    events.push_back("inform " + Num(idx) + " " + Num(v));
  }
  void EndInformHostOfParamChange(int idx) override { events.push_back("end " + Num(idx)); }
  void InformHostOfProgramChange() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSig(int* n, int* d) override { *n = 4, *d = 4; }
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int w, int h) override { events.push_back("resize " + Num(w) + "x" + Num(h)); }
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  static std::string Num(double v)
  {
    char buf[32];
    snprintf(buf, sizeof(buf), "%g", v);
    return buf;
  }

  std::vector<std::string> events;
};

// A folder under /tmp for the pictures of one test program.
inline const std::string& PictureFolder()
{
  static std::string dir = [] {
    char tmpl[] = "/tmp/qv_gui_XXXXXX";
    const char* d = mkdtemp(tmpl);
    return std::string(d ? d : "/tmp");
  }();
  return dir;
}

// Writes an RGBA PNG named name into PictureFolder; pixels are 0xAARRGGBB, row by row.
inline void WritePicture(const std::string& name, int w, int h, const std::vector<LICE_pixel>& px)
{
  PngPicture pic;
  pic.width = w;
  pic.height = h;
  pic.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  for (LICE_pixel p : px)
  {
    pic.data.push_back((unsigned char)LICE_GETR(p));
    pic.data.push_back((unsigned char)LICE_GETG(p));
    pic.data.push_back((unsigned char)LICE_GETB(p));
    pic.data.push_back((unsigned char)LICE_GETA(p));
  }
  const std::vector<unsigned char> bytes = MakePng(pic);
  FILE* f = fopen((PictureFolder() + "/" + name).c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

// A w x h picture of n stacked frames, frame i filled with colours[i].
inline void WriteFrames(const std::string& name, int w, int frameH,
                        const std::vector<LICE_pixel>& colours)
{
  std::vector<LICE_pixel> px;
  for (LICE_pixel c : colours)
    for (int i = 0; i < w * frameH; ++i) px.push_back(c);
  WritePicture(name, w, frameH * (int)colours.size(), px);
}

// A plug-in with a headless editor whose pictures come from PictureFolder.
// Add controls, then Attach() (which pushes the parameters and prepares the bitmap).
class EditorTest : public ::testing::Test
{
protected:
  void MakeEditor(int w, int h)
  {
    gui = new IGraphicsHeadless(&plug, w, h, 0);
    gui->SetResourceFolder(PictureFolder().c_str());
  }
  void SetUp() override { MakeEditor(40, 30); }
  void TearDown() override
  {
    if (!attached) delete gui;
  }
  void Attach()
  {
    plug.AttachGraphics(gui);
    attached = true;
  }
  // One full redraw cycle, as the platform's timer runs it.
  bool Cycle()
  {
    IRECT r;
    if (!gui->IsDirty(r)) return false;
    gui->Draw(r);
    return true;
  }
  LICE_pixel Px(int x, int y) { return gui->GetPoint(x, y).Pixel(); }

  GuiTestPlug plug;
  IGraphicsHeadless* gui = nullptr;
  bool attached = false;
  IMouseMod left{true};
  IMouseMod right{false, true};
};

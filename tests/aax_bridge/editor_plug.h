#pragma once
// A two-switch plug-in whose editor is headless (pictures from the GUI
// tests' picture folder), logging the bridge's steps in one list so tests
// can check their order.

#include "bridge_plugs.h"
#include "gui_test_support.h"

#include "AAX_CEffectGUI_IPLUG.h"

#include <mutex>
#include <string>

class EditorPlug : public IPlugAAX
{
public:
  static constexpr int kSwitchX[2] = {13, 154};
  static constexpr int kSwitchY = 36;

  EditorPlug()
      : IPlugAAX(IPlugInstanceInfo(), 2, "2-2", 1, "Editor", "", "Maker", 0x10000, 0x65446974, 1, 0,
                 false, false, false, 0)
  {
    WriteFrames("switch.png", 20, 20, {0xFF000000, 0xFFFFFFFF});
    gui = new IGraphicsHeadless(this, 190, 120, 0);
    gui->SetResourceFolder(PictureFolder().c_str());
    GetParam(0)->InitBool("Swap", false);
    GetParam(1)->InitBool("Mono", false);
    IBitmap bmp = gui->LoadIBitmap(1, "switch.png", 2, false);
    for (int i = 0; i < 2; ++i)
      gui->AttachControl(new ISwitchControl(this, kSwitchX[i], kSwitchY, i, &bmp));
    AttachGraphics(gui);
  }

  void Log(const std::string& s)
  {
    if (!logging) return;
    std::lock_guard<std::mutex> lock(logMutex);
    log.push_back(s);
  }
  void BeginInformHostOfParamChange(int i) override
  {
    Log("touch " + std::to_string(i));
    IPlugAAX::BeginInformHostOfParamChange(i);
  }
  void InformHostOfParamChange(int i, double v) override
  {
    Log("inform " + std::to_string(i) + " " + std::to_string(v));
    IPlugAAX::InformHostOfParamChange(i, v);
  }
  void EndInformHostOfParamChange(int i) override
  {
    Log("release " + std::to_string(i));
    IPlugAAX::EndInformHostOfParamChange(i);
  }
  AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double v,
                                            AAX_EUpdateSource s) override
  {
    Log(std::string("update ") + id);
    return IPlugAAX::UpdateParameterNormalizedValue(id, v, s);
  }
  void OnParamChange(int i) override
  {
    IMutexLock lock(this);
    if (i == 0) swap = GetParam(0)->Value() != 0.0;
    if (i == 1) mono = GetParam(1)->Value() != 0.0;
    if (!logging) return;
    // The editor already shows the value the plug-in now has.
    IControl* c = gui->GetControl(i);
    Log("change " + std::to_string(i) + (c && c->GetValue() == GetParam(i)->GetNormalized() ? " shown" : ""));
  }
  // Quorvane's switches: swap, then mono (the float average).
  void ProcessDoubleReplacing(double** in, double** out, int n) override
  {
    for (int s = 0; s < n; ++s)
    {
      const float l = static_cast<float>(in[0][s]), r = static_cast<float>(in[1][s]);
      float ol = swap ? r : l, orr = swap ? l : r;
      if (mono) ol = orr = 0.5f * (l + r);
      out[0][s] = ol;
      out[1][s] = orr;
    }
  }
  void OnWindowResize() override { Log("resized"); }

  static AAX_CEffectParameters* Create() { return static_cast<AAX_CIPlugParameters*>(new EditorPlug); }

  IGraphicsHeadless* gui;
  bool logging = true; // off for long runs
  bool swap = false, mono = false;
  std::mutex logMutex;
  std::vector<std::string> log;
};

inline aaxhost::CreationProc EditorCreationProc()
{
  return reinterpret_cast<aaxhost::CreationProc>(&AAX_CEffectGUI_IPLUG::Create);
}

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
    // The editor already shows the value the plug-in now has.
    IControl* c = gui->GetControl(i);
    Log("change " + std::to_string(i) + (c && c->GetValue() == GetParam(i)->GetNormalized() ? " shown" : ""));
  }
  void OnWindowResize() override { Log("resized"); }

  static AAX_CEffectParameters* Create() { return static_cast<AAX_CIPlugParameters*>(new EditorPlug); }

  IGraphicsHeadless* gui;
  std::mutex logMutex;
  std::vector<std::string> log;
};

inline aaxhost::CreationProc EditorCreationProc()
{
  return reinterpret_cast<aaxhost::CreationProc>(&AAX_CEffectGUI_IPLUG::Create);
}

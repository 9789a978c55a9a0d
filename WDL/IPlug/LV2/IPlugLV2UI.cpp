#include "IPlugLV2UI.h"
#include "IPlugLV2Time.h"

#include "IGraphicsLinux.h"
#include "IParam.h"

#include <cmath>
#include <cstring>
#include <string>

namespace
{
const void* Feature(const LV2_Feature* const* features, const char* uri)
{
  for (const LV2_Feature* const* f = features; f && *f; ++f)
    if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  return nullptr;
}

bool Offered(const LV2_Feature* const* features, const char* uri)
{
  for (const LV2_Feature* const* f = features; f && *f; ++f)
    if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return true;
  return false;
}

IPlugLV2UI* UI(LV2UI_Handle h) { return static_cast<IPlugLV2UI*>(h); }

LV2UI_Handle UiInstantiate(const LV2UI_Descriptor*, const char*, const char* bundlePath,
                           LV2UI_Write_Function write, LV2UI_Controller controller,
                           LV2UI_Widget* widget, const LV2_Feature* const* features)
{
  IPlugLV2UI* ui = nullptr;
  try
  {
    {
      // The editor's pictures are in the bundle the host found us in.
      IGraphicsLinux::ResourceFolderScope pictures(bundlePath);
      ui = MakePlug();
    }
    if (ui && ui->Open(write, controller, features, widget)) return ui;
  }
  catch (...)
  {
  }
  delete ui;
  return nullptr;
}

void UiCleanup(LV2UI_Handle h)
{
  IPlugLV2UI* ui = UI(h);
  ui->Close();
  delete ui;
}

void UiPortEvent(LV2UI_Handle h, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
  UI(h)->PortEvent(port, size, format, buffer);
}

int UiIdle(LV2UI_Handle h) { return UI(h)->Idle(); }
int UiShow(LV2UI_Handle h) { return UI(h)->Show() ? 0 : 1; }
int UiHide(LV2UI_Handle h)
{
  UI(h)->Close();
  return 0;
}

const void* UiExtensionData(const char* uri)
{
  static const LV2UI_Idle_Interface idle = {UiIdle};
  static const LV2UI_Show_Interface show = {UiShow, UiHide};
  if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &idle;
  if (uri && std::strcmp(uri, LV2_UI__showInterface) == 0) return &show;
  return nullptr;
}
} // namespace

IPlugLV2UI::IPlugLV2UI(IPlugInstanceInfo /*instanceInfo*/, int nParams, const char* channelIOStr,
                       int nPresets, const char* effectName, const char* productName,
                       const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency,
                       bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, int /*plugScChans*/)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion,
                uniqueID, mfrID, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPILV2)
{
  // A click sends at most a grab, a value and a release per parameter; the
  // queue never grows on the host's thread in ordinary use.
  mQueue.reserve(64);
  mSending.reserve(64);
}

IPlugLV2UI::~IPlugLV2UI() { Close(); }

IGraphicsLinux* IPlugLV2UI::Editor() const
{
  return dynamic_cast<IGraphicsLinux*>(const_cast<IPlugLV2UI*>(this)->GetGUI());
}

bool IPlugLV2UI::Open(LV2UI_Write_Function write, LV2UI_Controller controller,
                      const LV2_Feature* const* features, LV2UI_Widget* pWidget)
{
  IGraphicsLinux* editor = Editor();
  if (!editor || !pWidget || !Offered(features, LV2_UI__idleInterface)) return false;
  mWrite = write;
  mController = controller;
  mTouch = static_cast<const LV2UI_Touch*>(Feature(features, LV2_UI__touch));
  editor->SetPumpedByHost(true);
  void* parent = const_cast<void*>(Feature(features, LV2_UI__parent));
  *pWidget = nullptr;
  if (!parent) return true; // a host without embedding: Show opens a window
  void* window = editor->OpenWindow(parent);
  if (!window) return false;
  mClosed = false;
  *pWidget = window;
  if (auto* resize = static_cast<const LV2UI_Resize*>(Feature(features, LV2_UI__resize)))
    if (resize->ui_resize) resize->ui_resize(resize->handle, editor->Width(), editor->Height());
  return true;
}

void IPlugLV2UI::PortEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer)
{
  Flush();
  if (format != 0 || bufferSize != sizeof(float) || !buffer ||
      port >= static_cast<uint32_t>(NParams()))
    return;
  float v;
  std::memcpy(&v, buffer, sizeof v);
  if (std::isnan(v)) return;
  const int idx = static_cast<int>(port);
  IParam* param = GetParam(idx);
  // The same path a host's change takes in the AAX bridge: the parameter
  // under the plug-in mutex, then the editor's parked value, which its GUI
  // thread (here: Idle) applies and redraws.
  IMutexLock lock(this);
  param->Set(v);
  if (IGraphics* gui = GetGUI()) gui->SetParameterFromPlug(idx, param->GetNormalized(), true);
  OnParamChange(idx);
}

int IPlugLV2UI::Idle()
{
  if (!mClosed)
  {
    IGraphicsLinux* editor = Editor();
    if (!editor || !editor->PumpWindow()) mClosed = true;
  }
  Flush();
  return mClosed ? 1 : 0;
}

bool IPlugLV2UI::Show()
{
  IGraphicsLinux* editor = Editor();
  if (!editor) return false;
  if (!mClosed) return true;
  // A window of its own (a child of the screen's root window), named after
  // the plug-in. WM_CLASS is the plug-in's name as both instance and class:
  // the window is the plug-in's, not the host's, so window-manager rules and
  // taskbar grouping find it by the same name in whatever host shows it
  // (the ICCCM's usual instance, the program's argv[0], would be the host's).
  const char* name = GetEffectName();
  if (!editor->OpenTopLevelWindow(name, name, name)) return false;
  mClosed = false;
  return true;
}

void IPlugLV2UI::Close()
{
  if (IGraphicsLinux* editor = Editor()) editor->CloseWindow();
  mClosed = true;
}

void IPlugLV2UI::Queue(Message::Kind kind, int paramIdx, float value)
{
  if (paramIdx < 0 || paramIdx >= NParams()) return;
  std::lock_guard<std::mutex> lock(mQueueMutex);
  mQueue.push_back({kind, static_cast<uint32_t>(paramIdx), value});
}

void IPlugLV2UI::BeginInformHostOfParamChange(int paramIdx)
{
  Queue(Message::kGrab, paramIdx, 0.f);
}

void IPlugLV2UI::InformHostOfParamChange(int paramIdx, double normalizedValue)
{
  if (IParam* param = GetParam(paramIdx))
    Queue(Message::kValue, paramIdx, static_cast<float>(param->GetNonNormalized(normalizedValue)));
}

void IPlugLV2UI::EndInformHostOfParamChange(int paramIdx)
{
  Queue(Message::kRelease, paramIdx, 0.f);
}

void IPlugLV2UI::Flush()
{
  {
    std::lock_guard<std::mutex> lock(mQueueMutex);
    if (mQueue.empty()) return;
    mSending.swap(mQueue);
  }
  // Outside the lock: the host may answer with a port_event at once.
  for (const Message& m : mSending)
  {
    switch (m.kind)
    {
    case Message::kValue:
      if (mWrite) mWrite(mController, m.port, sizeof(float), 0, &m.value);
      break;
    case Message::kGrab:
    case Message::kRelease:
      if (mTouch && mTouch->touch) mTouch->touch(mTouch->handle, m.port, m.kind == Message::kGrab);
      break;
    }
  }
  mSending.clear();
}

void IPlugLV2UI::GetTimeSig(int* pNum, int* pDenom) { IPlugLV2_StoppedTimeSig(pNum, pDenom); }

void IPlugLV2UI::GetTime(ITimeInfo* pTimeInfo) { IPlugLV2_StoppedTime(pTimeInfo); }

const LV2UI_Descriptor* IPlugLV2UI::Descriptor(const char* pluginURI)
{
  static const std::string uri = std::string(pluginURI ? pluginURI : "") + "#ui";
  static const LV2UI_Descriptor descriptor = {uri.c_str(), UiInstantiate, UiCleanup, UiPortEvent,
                                              UiExtensionData};
  return &descriptor;
}

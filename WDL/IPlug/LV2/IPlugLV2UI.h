#pragma once
// IPlugLV2UI: the product's own editor as an LV2 X11 UI, in a binary of its
// own. The UI side keeps an instance of the product of its own (this base:
// parameters and editor, never any audio) as the editor's parameter model.
// It shares nothing with the plug-in's binary: values arrive through
// port_event and leave through the host's write_function, so the UI works
// in hosts that run it in another process. Ports are laid out as IPlugLV2
// lays them out: parameter i is control port i, in its real value.
//
// Threads: LV2 calls every UI function on the host's UI thread, where the
// host uses Xlib itself. The editor's window is therefore driven from that
// thread (IGraphicsLinux::SetPumpedByHost): events, the redraw timer and
// drawing happen inside idle. [ui] marks that thread.

#include "IPlugBase.h"

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <mutex>
#include <vector>

// Per-instance information a wrapper hands to the plug-in's constructor;
// the UI's comes through the UI functions instead. (Empty, as IPlugLV2's:
// the two are never compiled into one binary.)
struct IPlugInstanceInfo
{
};

class IGraphicsLinux;

class IPlugLV2UI : public IPlugBase
{
public:
  IPlugLV2UI(IPlugInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
             const char* effectName, const char* productName, const char* mfrName,
             int vendorVersion, int uniqueID, int mfrID, int latency, bool plugDoesMidi,
             bool plugDoesChunks, bool plugIsInst, int plugScChans);
  ~IPlugLV2UI() override;

  // ---- The LV2 UI life cycle (the descriptor's functions call these) ----

  // [ui] Opens the editor inside the host's ui:parent window and tells the
  // host its size (ui:resize, when offered); remembers write_function and
  // ui:touch. *pWidget becomes the editor's X11 window. Without a parent
  // nothing opens (*pWidget null) until Show. False without the host's idle
  // interface, or when the editor cannot open in the parent.
  bool Open(LV2UI_Write_Function write, LV2UI_Controller controller,
            const LV2_Feature* const* features, LV2UI_Widget* pWidget);
  // [ui] A control port's value from the host (format 0, one float): the
  // parameter takes it (clamped to its range; NaN ignored) and the editor
  // redraws its controls on its next tick. Other ports and formats are
  // ignored. Changes the editor made are sent to the host first.
  void PortEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
  // [ui] The editor's events, redraw timer and drawing, then the changes it
  // made sent to the host. 0 while the editor is open, 1 once it was closed
  // (also when the host destroyed its window).
  int Idle();
  // [ui] ui:showInterface: opens the editor in a window of its own (a
  // top-level window of the default display) unless it is open. The window
  // manager sees the effect name as its title and WM_CLASS, and a fixed
  // size; its close ends the editor as hide does (Idle then returns 1).
  // False when it cannot open.
  bool Show();
  // [ui] Closes the editor window (also ui:showInterface's hide); again is
  // harmless. Safe when the host destroyed the parent window first.
  void Close();

  // The editor, or null.
  IGraphicsLinux* Editor() const;

  // ---- The base's host operations: queued, sent on the next Idle or PortEvent ----

  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfProgramChange() override {}
  // A UI runs no audio: no transport.
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int* pNum, int* pDenom) override;
  void GetTime(ITimeInfo* pTimeInfo) override;
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  // The descriptor of the UI whose plug-in is pluginURI; its URI is
  // pluginURI with "#ui".
  static const LV2UI_Descriptor* Descriptor(const char* pluginURI);

private:
  struct Message
  {
    enum Kind
    {
      kGrab,
      kValue,
      kRelease
    } kind;
    uint32_t port;
    float value;
  };
  void Queue(Message::Kind kind, int paramIdx, float value);
  void Flush();

  LV2UI_Write_Function mWrite = nullptr;
  LV2UI_Controller mController = nullptr;
  const LV2UI_Touch* mTouch = nullptr;
  bool mClosed = true;
  std::mutex mQueueMutex;
  std::vector<Message> mQueue, mSending;
};

// The product's factory, defined by the product: a new instance the caller owns.
IPlugLV2UI* MakePlug();
// The plug-in's URI, defined by the product.
const char* IPlugLV2UI_PluginURI();

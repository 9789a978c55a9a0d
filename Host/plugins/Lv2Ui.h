// An LV2 plug-in's UIs as the tool hosts them: which UIs the plug-in has,
// and one X11 UI embedded through suil in a parent window the caller owns,
// fed the instance's controls as port events, its writes going back to the
// instance's input controls, as jalv wires a UI. The validator's UI checks
// and the editor's snapshot both host UIs this way.
#pragma once

#include "Lv2Plugin.h"

#include <memory>
#include <string>
#include <vector>

namespace aaxtool
{
struct Lv2UiInfo
{
  std::string uri, type; // type: the UI's class (ui:X11UI for X11 UIs)
  std::string bundle, binary;
  std::vector<std::string> required; // features the UI requires
};

// [host] The plug-in's UIs in lilv's order; its X11 UIs alone when x11Only.
std::vector<Lv2UiInfo> Lv2Uis(Lv2World& w, bool x11Only);
// [any] The first feature ui requires that the tool does not offer, or empty.
std::string Lv2UiMissingFeature(const Lv2UiInfo& ui);

class Lv2X11Ui
{
public:
  // [host] Instantiates ui (an X11 UI) as a child of the X11 window parent,
  // on the display DISPLAY names (the UI opens its own connection). plug
  // must outlive the UI. Ok() is false when the UI refuses.
  Lv2X11Ui(Lv2World& w, Lv2Instance& plug, const Lv2UiInfo& ui, unsigned long parent);
  // [host] Frees the UI; its window goes with it.
  ~Lv2X11Ui();
  Lv2X11Ui(const Lv2X11Ui&) = delete;
  Lv2X11Ui& operator=(const Lv2X11Ui&) = delete;

  bool Ok() const;
  // [host] A port event for every control port: an input's current value
  // in plug, an output's default.
  void SendControls();
  // [host] One call of the UI's idle interface, where UIs that the host
  // drives draw; false once the UI asked to be closed.
  bool Idle();
  // [host] The UI's own window (its widget), 0 when it gave none.
  unsigned long Window() const;

private:
  struct Impl;
  std::unique_ptr<Impl> m;
};
} // namespace aaxtool

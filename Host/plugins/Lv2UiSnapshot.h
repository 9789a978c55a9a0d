// A PNG of an LV2 plug-in's X11 UI, hosted through suil.
#pragma once

#include "Lv2Plugin.h"

#include <string>

namespace aaxtool
{
// [host] Opens the plug-in's X11 UI through suil on the X display the tool started (an Xvfb of its
// own, Host/x11/Xvfb.h, as `aaxhost editor --snapshot` does for AAX), with inst's current control
// values sent to it as port events, lets it draw, and writes a PNG of exactly the UI's window to
// pngPath (written beside and renamed). Fails with one line when the plug-in has no X11 UI ("URI
// has no X11 UI (its UIs: ...)"), or the UI fails to instantiate.
void SnapshotLv2Ui(Lv2World& w, Lv2Instance& inst, const std::string& pngPath);
} // namespace aaxtool

// LV2 state folders as lilv writes them (jalv, Ardour and the tool share the
// format): the control port values and what the plug-in's state interface
// saves, in a manifest.ttl, a state.ttl and any files the plug-in makes.
#pragma once

#include "Lv2Plugin.h"

#include <string>

namespace aaxtool
{
// [host] Saves inst's whole state (control port values and what its state interface saves) as a
// state folder at dir, as jalv writes it (lilv's state: manifest.ttl, state.ttl and any files),
// made in a temporary folder beside dir and renamed into place; an existing dir is replaced only
// when the save succeeded. Fails with one line naming dir.
void SaveLv2StateDir(Lv2World& w, Lv2Instance& inst, const std::string& dir);
// [host] Loads a state folder that aaxhost, jalv or Ardour saved into inst: port values into its
// controls, the rest through its state interface. Refuses (one line naming dir and why) a folder
// that is missing, damaged, or the state of another plug-in; inst is unchanged then.
void LoadLv2StateDir(Lv2World& w, Lv2Instance& inst, const std::string& dir);
} // namespace aaxtool

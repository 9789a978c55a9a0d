// Printing parameter lists (params, state show/load) as text or JSON.
#pragma once

#include "Plugin.h"

#include <nlohmann/json.hpp>

#include <iosfwd>

namespace aaxtool
{
// Each parameter with its display texts: every step of a discrete parameter
// (at most 64), five points from 0 to 1 of a continuous one.
nlohmann::json ParamsJSON(const PluginInstance& plug, bool withTexts);
// One line per parameter: identifier, name, value text, normalised value,
// and with withTexts type, steps, default, automatable and texts.
void PrintParams(std::ostream& os, const PluginInstance& plug, bool withTexts);
} // namespace aaxtool

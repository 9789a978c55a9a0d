// Printing parameter lists (params, state save, show and load) as text or
// JSON, the same for every format.
#pragma once

#include "HostedPlugin.h"

#include <nlohmann/json.hpp>

#include <iosfwd>

namespace aaxtool
{
// Each parameter with its display texts: the plug-in's own (AAX: every step
// of a discrete parameter, at most 64; LV2: the scale points), else every
// step of a stepped one (at most 64), else five points from 0 to 1.
nlohmann::json ParamsJSON(const HostedPlugin& plug, bool withTexts);
// One line per parameter: identifier, name, value text, normalised value,
// and with withTexts kind, steps, default, automatable, range and texts.
void PrintParams(std::ostream& os, const HostedPlugin& plug, bool withTexts);
} // namespace aaxtool

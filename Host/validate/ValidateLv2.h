// The validate checks for LV2 plug-ins (a bundle folder or a plug-in URI on
// LV2_PATH), run by the same runner, levels and options as for modules.
#pragma once

#include "Lv2Plugin.h"
#include "Validate.h"

#include <string>
#include <vector>

namespace aaxtool
{
// A bundle folder or a plug-in URI (IsLv2Target); the target is loaded once
// in the tool's process, so every check's child inherits the world instead
// of reading every bundle again.
CheckFormat Lv2CheckFormat();
std::vector<Check> Lv2UiChecks(); // levels 4 and 5, in ValidateLv2Ui.cpp
// Level 1, what the data declares against the LV2 vocabulary installed on
// LV2_PATH and what the binary does (ValidateLv2Declarations.cpp).
std::vector<Check> Lv2DeclarationChecks();
// Level 1, metadata no rule requires but hosts and package tools show
// (ValidateLv2Notes.cpp).
std::vector<Check> Lv2NoteChecks();
Lv2World* LoadedLv2Target(); // null before the format loaded it
// Names of the dynamic symbols the binary at path exports besides the
// descriptor functions. [any]
std::vector<std::string> ExtraExports(const std::string& path);
} // namespace aaxtool

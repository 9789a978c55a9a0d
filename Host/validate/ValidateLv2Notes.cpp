// The metadata notes of validate for LV2 plug-ins (level 1): what no LV2
// rule requires but hosts and package tools show a user.
#include "ValidateLv2.h"

namespace aaxtool
{
std::vector<Check> Lv2NoteChecks() { return {}; }
} // namespace aaxtool

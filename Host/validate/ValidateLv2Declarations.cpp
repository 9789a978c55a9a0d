// The declaration checks of validate for LV2 plug-ins (level 1): what the
// data declares, held against the vocabulary of the installed LV2
// specification and against what the binary answers.
#include "ValidateLv2.h"

namespace aaxtool
{
std::vector<Check> Lv2DeclarationChecks() { return {}; }
} // namespace aaxtool

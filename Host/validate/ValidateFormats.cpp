// The formats validate checks. The runner asks them in this order, so the
// AAX format, which takes any path no other format claims (and names a path
// that is not there), comes last.
#include "Validate.h"
#include "ValidateAax.h"
#include "ValidateLv2.h"

namespace aaxtool
{
const std::vector<CheckFormat>& CheckFormats()
{
  static const std::vector<CheckFormat> formats = {Lv2CheckFormat(), AaxCheckFormat()};
  return formats;
}
} // namespace aaxtool

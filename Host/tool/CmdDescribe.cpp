// aaxhost describe: everything the plug-in describes of itself (AAX: the
// module's registration, its SDK version and whether it unloads cleanly
// once the host lets go; LV2: what lilv reads of it).

#include "Commands.h"
#include "HostedPlugin.h"

#include <iostream>

namespace aaxtool
{
int RunDescribe(const DescribeOptions& o)
{
  return OpenPlugin(o.bundle)->Describe(std::cout, o.json);
}
} // namespace aaxtool

// describe and params for LV2 targets (a bundle folder or a plug-in URI).
#pragma once

#include "Commands.h"

namespace aaxtool
{
int RunDescribeLv2(const DescribeOptions& o);
int RunParamsLv2(const ParamsOptions& o);
} // namespace aaxtool

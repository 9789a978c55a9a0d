// aaxhost diff: are two renders the same, and if not, how far apart.

#include "Commands.h"
#include "Diff.h"
#include "ToolError.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>

namespace aaxtool
{
int RunDiff(const DiffOptions& o)
{
  const DiffResult r = DiffFiles(o.a, o.b);
  const bool same = r.Within(o.tolerance);
  if (o.json)
  {
    nlohmann::json j{{"a", o.a},
                     {"b", o.b},
                     {"frames_compared", r.framesCompared},
                     {"frames", {r.framesA, r.framesB}},
                     {"channels", {r.channelsA, r.channelsB}},
                     {"sample_rates", {r.rateA, r.rateB}},
                     {"max_abs_difference", r.maxAbs},
                     {"max_at_frame", r.maxFrame},
                     {"max_at_channel", r.maxChannel},
                     {"rms_difference", r.rms},
                     {"first_differing_frame", r.firstDiffer},
                     {"mismatches", r.mismatches},
                     {"tolerance", o.tolerance},
                     {"within_tolerance", same}};
    std::cout << j.dump(2) << "\n";
    return same ? kExitOK : kExitFailure;
  }
  std::printf("frames compared: %lld\n", static_cast<long long>(r.framesCompared));
  for (const std::string& m : r.mismatches)
    std::printf("difference: %s\n", m.c_str());
  if (r.maxFrame >= 0)
  {
    std::printf("max abs difference: %.9g at frame %lld, channel %d\n", r.maxAbs,
                static_cast<long long>(r.maxFrame), r.maxChannel);
    std::printf("rms of difference: %.9g\n", r.rms);
    std::printf("first differing frame: %lld\n", static_cast<long long>(r.firstDiffer));
  }
  else
    std::printf("samples: identical\n");
  std::printf("%s\n", same ? (r.maxAbs == 0 ? "identical" : "within_tolerance") : "different");
  return same ? kExitOK : kExitFailure;
}
} // namespace aaxtool

// What an LV2 instance's ports hold before the plug-in first runs.
#include "Lv2Plugin.h"

#include <gtest/gtest.h>

using namespace aaxtool;

// Some plug-ins read an output control port before they write it (Calf's
// 30-band equaliser takes it as a gain): one without a default starts at 0,
// as lilv's tools start it, never at its minimum. x42's dpl declares its
// "level" output with the range -10..30 and no default.
TEST(Lv2Instance, OutputsWithoutADefaultStartAtZero)
{
  Lv2World w("http://gareus.org/oss/lv2/dpl#stereo");
  Lv2Instance inst(w, 48000.0, 64);
  ASSERT_TRUE(inst.Ok());
  bool seen = false;
  for (const Lv2Port& p : w.Ports())
    if (p.control && p.output && !p.hasDef && p.min < 0.0f)
    {
      EXPECT_EQ(inst.Control(p.index), 0.0f) << p.symbol;
      seen = true;
    }
  EXPECT_TRUE(seen) << "dpl no longer has such a port; pick another plug-in";
}

// One rendered label compared exactly with a stored picture. The picture
// belongs to one font file, so the test runs only when "DejaVu Sans"
// resolves to the file fonts-dejavu-core installs.

#include "swell.h"
#include "swell-font.h"
#include "text_test_util.h"

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
const char kPinnedFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char kGolden[] = QV_TEST_DATA_DIR "/golden_swap_12.pgm";
constexpr int kW = 36, kH = 16;

// Coverage of the label "Swap", 12 pixels per em, white on transparent black.
std::string Render()
{
  TestContext c(kW, kH, 0);
  HFONT f = MakeFont(12, 0, "DejaVu Sans");
  SelectObject(c.dc, f);
  SetTextColor(c.dc, 0xFFFFFF);
  RECT r = {1, 0, kW, kH};
  SWELL_DrawText(c.dc, "Swap", -1, &r, DT_SINGLELINE);
  std::ostringstream out;
  out << "P2\n" << kW << " " << kH << "\n255\n";
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) out << (c.at(x, y) & 0xFF) << (x + 1 < kW ? " " : "\n");
  DeleteObject(f);
  return out.str();
}
} // namespace

TEST(GoldenText, LabelMatchesTheStoredPictureExactly)
{
  std::string file;
  int index = -1;
  if (!SWELL_ResolveFontName("DejaVu Sans", &file, &index) || file != kPinnedFont || index != 0)
    GTEST_SKIP() << "DejaVu Sans is not " << kPinnedFont;
  std::ifstream in(kGolden);
  ASSERT_TRUE(in) << kGolden;
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(Render(), golden.str());
}

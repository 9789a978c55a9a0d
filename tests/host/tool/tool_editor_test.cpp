// aaxhost editor --snapshot on its own Xvfb: the switches' pictures at their
// places, for both states, whether set by --param or by real clicks.

#include "tool_run.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

namespace
{
struct Picture
{
  int w = 0, h = 0;
  std::vector<unsigned char> rgba;
  const unsigned char* At(int x, int y) const { return &rgba[size_t(y * w + x) * 4]; }
};

Picture Load(const std::string& path)
{
  Picture p;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return p;
  img.format = PNG_FORMAT_RGBA;
  p.w = int(img.width);
  p.h = int(img.height);
  p.rgba.resize(PNG_IMAGE_SIZE(img));
  png_image_finish_read(&img, nullptr, p.rgba.data(), 0, nullptr);
  return p;
}

// Opaque pixels of frame `frame` of a two-frame picture at (x0, y0) of shot.
int Mismatches(const Picture& shot, const Picture& button, int frame, int x0, int y0)
{
  const int fh = button.h / 2;
  int bad = 0;
  for (int y = 0; y < fh; ++y)
    for (int x = 0; x < button.w; ++x)
    {
      const unsigned char* b = button.At(x, frame * fh + y);
      if (b[3] != 255) continue;
      const unsigned char* s = shot.At(x0 + x, y0 + y);
      bad += s[0] != b[0] || s[1] != b[1] || s[2] != b[2];
    }
  return bad;
}
} // namespace

TEST(AaxhostEditor, SnapshotShowsEachSwitchPictureInBothStates)
{
  const std::string dir = TempFolder();
  const Picture swap = Load(kBundle + "/Contents/Resources/swapBtn.png");
  const Picture mono = Load(kBundle + "/Contents/Resources/monoBtn.png");
  ASSERT_GT(swap.w, 0);
  const RunResult off = Aaxhost({"editor", kBundle, "--snapshot", dir + "/off.png"});
  ASSERT_EQ(off.status, 0) << off.err;
  const RunResult on = Aaxhost({"editor", kBundle, "--param", "Swap=on", "--param", "Mono=on",
                                "--snapshot", dir + "/on.png"});
  ASSERT_EQ(on.status, 0) << on.err;
  // Clicking each switch's centre turns it on as --param does.
  const RunResult clicked = Aaxhost({"editor", kBundle, "--click", "24,50", "--click", "165,50",
                                     "--snapshot", dir + "/clicked.png"});
  ASSERT_EQ(clicked.status, 0) << clicked.err;
  EXPECT_NE(clicked.out.find("1 = on"), std::string::npos) << clicked.out;

  const Picture shotOff = Load(dir + "/off.png"), shotOn = Load(dir + "/on.png");
  ASSERT_EQ(shotOff.w, 190);
  ASSERT_EQ(shotOff.h, 120);
  EXPECT_EQ(Mismatches(shotOff, swap, 0, 13, 30), 0);
  EXPECT_EQ(Mismatches(shotOff, mono, 0, 154, 36), 0);
  EXPECT_EQ(Mismatches(shotOn, swap, 1, 13, 30), 0);
  EXPECT_EQ(Mismatches(shotOn, mono, 1, 154, 36), 0);
  EXPECT_GT(Mismatches(shotOn, swap, 0, 13, 30), 0); // the two states differ
  EXPECT_EQ(Load(dir + "/clicked.png").rgba, shotOn.rgba);
}

TEST(AaxhostEditor, SnapshotWarnsOfPicturesTheBundleLacks)
{
#ifndef QV_MISSING_FILES_HOOK
  GTEST_SKIP() << "sanitizer builds do not watch the module's file opens";
#endif
  const std::string dir = TempFolder();
  const std::string bundle = dir + "/Bare.aaxplugin";
  ASSERT_EQ(std::system(("cp -r '" + kBundle + "' '" + bundle + "' && rm '" + bundle +
                         "/Contents/Resources/swapBtn.png'")
                            .c_str()),
            0);
  const RunResult r = Aaxhost({"editor", bundle, "--snapshot", dir + "/bare.png"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("warning: the editor asked for 1 picture the bundle does not have (" +
                       bundle + "/Contents/Resources/swapBtn.png)"),
            std::string::npos)
      << r.err;
  const RunResult whole = Aaxhost({"editor", kBundle, "--snapshot", dir + "/whole.png"});
  EXPECT_EQ(whole.err, "");
}

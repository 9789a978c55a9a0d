// aaxhost editor --snapshot on an LV2 plug-in's X11 UI, on its own Xvfb:
// Quorvane's UI draws what its AAX editor draws, other makers' UIs are
// taken too, and what cannot be shown is refused in one line.

#include "tool_run.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace
{
const std::string kLv2Bundle = QV_QUORVANE_LV2;

struct Pixels
{
  png_uint_32 w = 0, h = 0;
  std::vector<unsigned char> rgb;
};

Pixels Decode(const std::string& path)
{
  Pixels p;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return p;
  img.format = PNG_FORMAT_RGB;
  p.rgb.resize(PNG_IMAGE_SIZE(img));
  if (png_image_finish_read(&img, nullptr, p.rgb.data(), 0, nullptr))
  {
    p.w = img.width;
    p.h = img.height;
  }
  return p;
}
} // namespace

TEST(AaxhostLv2Editor, QuorvaneUiSnapshotEqualsTheAaxEditorsPixelForPixel)
{
  const std::string dir = TempFolder();
  // The URI form finds the bundle on LV2_PATH: a folder holding only it.
  ASSERT_EQ(symlink(kLv2Bundle.c_str(), (dir + "/Quorvane.lv2").c_str()), 0);
  setenv("LV2_PATH", dir.c_str(), 1);
  const RunResult aax =
      Aaxhost({"editor", kBundle, "--snapshot", dir + "/aax.png", "--param", "Swap=on"});
  const RunResult lv2 =
      Aaxhost({"editor", kLv2Bundle, "--snapshot", dir + "/lv2.png", "--param", "swap=1"});
  const RunResult uri = Aaxhost(
      {"editor", "urn:orvantine:quorvane", "--snapshot", dir + "/uri.png", "--param", "SWAP=on"});
  unsetenv("LV2_PATH");
  ASSERT_EQ(aax.status, 0) << aax.err;
  ASSERT_EQ(lv2.status, 0) << lv2.err;
  ASSERT_EQ(uri.status, 0) << uri.err;
  const Pixels a = Decode(dir + "/aax.png");
  ASSERT_GT(a.w, 0u);
  for (const char* name : {"/lv2.png", "/uri.png"})
  {
    const Pixels l = Decode(dir + name);
    EXPECT_EQ(l.w, a.w) << name;
    EXPECT_EQ(l.h, a.h) << name;
    EXPECT_TRUE(l.rgb == a.rgb) << name << " differs from the AAX editor's snapshot";
  }
}

TEST(AaxhostLv2Editor, SnapshotsOtherMakersX11Uis)
{
#ifdef __SANITIZE_THREAD__
  GTEST_SKIP() << "other makers' UIs thread through libraries built without ThreadSanitizer "
                  "(fontconfig, GLib), which it cannot follow";
#endif
#ifdef __SANITIZE_ADDRESS__
  // Other makers' UIs leak in their own libraries (fontconfig through
  // x42's GL UIs); the leak checker would fail the tool's exit for them.
  setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
  struct Restore
  {
    ~Restore() { unsetenv("ASAN_OPTIONS"); }
  } restore;
#endif
  const std::string dir = TempFolder();
  for (const char* uri :
       {"http://gareus.org/oss/lv2/fil4#stereo", "http://gareus.org/oss/lv2/dpl#stereo"})
  {
    const RunResult r = Aaxhost({"editor", uri, "--snapshot", dir + "/ui.png"});
    ASSERT_EQ(r.status, 0) << uri << ": " << r.err;
    const Pixels p = Decode(dir + "/ui.png");
    EXPECT_GT(p.w * p.h, 100u * 100u) << uri;
  }
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"ui.png"});
}

TEST(AaxhostLv2Editor, RefusesWhatItCannotShowInOneLine)
{
  const std::string dir = TempFolder();
  const RunResult none =
      Aaxhost({"editor", "http://lv2plug.in/plugins/eg-amp", "--snapshot", dir + "/x.png"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "aaxhost: http://lv2plug.in/plugins/eg-amp has no X11 UI (its UIs: none)\n");
  const RunResult click =
      Aaxhost({"editor", kLv2Bundle, "--snapshot", dir + "/x.png", "--click", "10,10"});
  EXPECT_EQ(click.status, 2) << click.err;
  EXPECT_EQ(std::count(click.err.begin(), click.err.end(), '\n'), 1) << click.err;
  EXPECT_TRUE(Entries(dir).empty());
}

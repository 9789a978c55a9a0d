// Quorvane's editor and preset as the constructor builds them.

#include "x11_fixture.h" // GoogleTest and the project's headers before Xlib's macros

#include <memory>

#include "IControl.h"
#include "IGraphicsLinux.h"
#include "Quorvane.h"
#include "lice.h"
#include "resource.h"

#include <X11/Xlib.h>

namespace
{
struct OpenQuorvane : Quorvane
{
  OpenQuorvane() : Quorvane(IPlugInstanceInfo()) {}
  IPreset* Preset(int i) { return mPresets.Get(i); }
};

// Background and one frame of a switch picture at (x, y), as the editor
// composites them.
std::unique_ptr<LICE_MemBitmap> Composite(const char* picture, int x, int y, int frame)
{
  std::unique_ptr<LICE_IBitmap> bg(LICE_LoadPNGFromNamedResource("Background.png"));
  std::unique_ptr<LICE_IBitmap> sw(LICE_LoadPNGFromNamedResource(picture));
  if (!bg || !sw) return nullptr;
  const int w = sw->getWidth(), h = sw->getHeight() / 2;
  auto out = std::make_unique<LICE_MemBitmap>(w, h);
  LICE_Blit(out.get(), bg.get(), 0, 0, x, y, w, h, 1.0f, LICE_BLIT_MODE_COPY);
  LICE_Blit(out.get(), sw.get(), 0, 0, 0, frame * h, w, h, 1.0f,
            LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA);
  return out;
}

bool ScreenShows(Display* dpy, Window win, int x, int y, LICE_IBitmap* expect)
{
  std::vector<unsigned> px;
  const int w = expect->getWidth(), h = expect->getHeight();
  if (!GrabPixels(dpy, win, x, y, w, h, &px)) return false;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c)
      if (px[static_cast<size_t>(r * w + c)] != (LICE_GetPixel(expect, c, r) & 0xffffffu))
        return false;
  return true;
}
} // namespace

TEST(QuorvaneEditor, TheOnePresetIsQuorvaneHoldingTwoOffValues)
{
  OpenQuorvane plug;
  ASSERT_EQ(plug.NPresets(), 1);
  IPreset* p = plug.Preset(0);
  EXPECT_STREQ(p->mName, "Quorvane");
  EXPECT_TRUE(p->mInitialized);
  ASSERT_EQ(p->mChunk.Size(), 2 * static_cast<int>(sizeof(double)));
  double v[2] = {-1, -1};
  EXPECT_EQ(p->mChunk.Get(&v[0], 0), 8);
  EXPECT_EQ(p->mChunk.Get(&v[1], 8), 16);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[1], 0.0);
}

TEST(QuorvaneEditor, LayoutIs190By120WithTheSwitchesAtTheirPicturesSizes)
{
  OpenQuorvane plug;
  IGraphics* g = plug.GetGUI();
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->Width(), 190);
  EXPECT_EQ(g->Height(), 120);
  EXPECT_EQ(g->FPS(), 25);
  EXPECT_STREQ(static_cast<IGraphicsLinux*>(g)->GetBundleID(), BUNDLE_ID);
  ASSERT_EQ(g->NControls(), 3);
  EXPECT_EQ(*g->GetControl(0)->GetRECT(), IRECT(0, 0, 190, 120));
  // Pictures 23 x 80 and 23 x 56, two frames each.
  EXPECT_EQ(*g->GetControl(1)->GetRECT(), IRECT(13, 30, 36, 70));
  EXPECT_EQ(g->GetControl(1)->ParamIdx(), Quorvane::kSwap);
  EXPECT_EQ(*g->GetControl(2)->GetRECT(), IRECT(154, 36, 177, 64));
  EXPECT_EQ(g->GetControl(2)->ParamIdx(), Quorvane::kMono);
}

TEST_F(X11Test, QuorvanesMonoSwitchShowsTheMonoPictureAndFollowsItsParameter)
{
  HostWindow host;
  OpenQuorvane plug;
  auto* g = static_cast<IGraphicsLinux*>(plug.GetGUI());
  ASSERT_NE(g->OpenWindow(host.AsParent()), nullptr);
  const Window child = host.WaitForChild(3000);
  auto monoOff = Composite("monoBtn.png", 154, 36, 0);
  auto monoOn = Composite("monoBtn.png", 154, 36, 1);
  auto swapOff = Composite("swapBtn.png", 13, 30, 0);
  ASSERT_TRUE(monoOff && monoOn && swapOff);
  EXPECT_TRUE(WaitUntil([&] { return ScreenShows(host.Dpy(), child, 154, 36, monoOff.get()); }));
  EXPECT_TRUE(ScreenShows(host.Dpy(), child, 13, 30, swapOff.get()));
  // A host change reaches the switch on the next ticks (initialised without
  // a host, so the bridge has its host parameters).
  plug.Initialize(nullptr);
  plug.UpdateParameterNormalizedValue("2", 1.0, AAX_EUpdateSource(0));
  EXPECT_TRUE(WaitUntil([&] { return ScreenShows(host.Dpy(), child, 154, 36, monoOn.get()); }));
  g->CloseWindow();
}

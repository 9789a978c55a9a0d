// Text drawing and measuring through the font cache.
#include "gui_test_support.h"

#include "lice_text.h"

namespace
{
// The text's extent as the cached font itself measures it.
void FontExtent(IGraphics* g, IText* txt, const char* str, int* w, int* h)
{
  RECT r = {0, 0, 0, 0};
  g->CacheFont(txt)->DrawText(nullptr, str, -1, &r, DT_NOCLIP | DT_CALCRECT);
  *w = r.right;
  *h = r.bottom;
}

// Pixels inside r that differ from the first pixel of the bitmap.
int Changed(EditorTest* t, IGraphics* g, const IRECT& r)
{
  (void)t;
  const IColor ref = g->GetPoint(0, 0);
  int n = 0;
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x) n += g->GetPoint(x, y) != ref;
  return n;
}
} // namespace

TEST_F(EditorTest, OneFontPerSizeOrientationStyleAndName)
{
  IText a(14), b(14), bold(14, nullptr, nullptr, IText::kStyleBold), big(15);
  LICE_IFont* fa = gui->CacheFont(&a);
  ASSERT_NE(fa, nullptr);
  EXPECT_EQ(a.mCached, fa);
  EXPECT_EQ(gui->CacheFont(&b), fa);
  EXPECT_NE(gui->CacheFont(&bold), fa);
  EXPECT_NE(gui->CacheFont(&big), fa);
  IGraphicsHeadless other(&plug, 10, 10);
  IText c(14);
  EXPECT_EQ(other.CacheFont(&c), fa); // shared across editors
}

TEST_F(EditorTest, TheFontsLineHeightComesCloseToTheRequestedSize)
{
  for (int size : {10, 16, 24})
  {
    IText t(size);
    EXPECT_NEAR(gui->CacheFont(&t)->GetLineHeight(), size, 1) << size;
  }
}

TEST_F(EditorTest, MeasuringPlacesTheExtentByAlignmentAndDrawsNothing)
{
  Attach();
  IText near(12, nullptr, nullptr, IText::kStyleNormal, IText::kAlignNear);
  IText centre(12), far(12, nullptr, nullptr, IText::kStyleNormal, IText::kAlignFar);
  int w = 0, h = 0;
  FontExtent(gui, &near, "Quorvane", &w, &h);
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);
  IRECT r(10, 10, 0, 0);
  EXPECT_TRUE(gui->MeasureIText(&near, "Quorvane", &r));
  EXPECT_EQ(r, IRECT(10, 10, 10 + w, 10 + h));
  IRECT c(0, 0, 31, 5); // MW 15.5 truncates to 15
  gui->MeasureIText(&centre, "Quorvane", &c);
  EXPECT_EQ(c, IRECT(15 - w / 2, 0, 15 - w / 2 + w, h));
  IRECT f(0, 2, 40, 2);
  gui->MeasureIText(&far, "Quorvane", &f);
  EXPECT_EQ(f, IRECT(40 - w, 2, 40, 2 + h));
  EXPECT_EQ(Changed(this, gui, IRECT(0, 0, 40, 30)), 0);
}

TEST_F(EditorTest, EmptyTextIsDrawnAsNothing)
{
  Attach();
  IText t(12);
  IRECT r(0, 0, 40, 30);
  EXPECT_TRUE(gui->DrawIText(&t, "", &r));
  EXPECT_TRUE(gui->DrawIText(&t, nullptr, &r));
  EXPECT_EQ(t.mCached, nullptr);
}

TEST_F(EditorTest, OpaqueAndTranslucentTextBothDrawInsideTheirBox)
{
  const IColor white(255, 255, 255, 255);
  gui->AttachPanelBackground(&white);
  IText opaque(14, &COLOR_BLACK, nullptr, IText::kStyleNormal, IText::kAlignNear);
  const IColor halfBlack(128, 0, 0, 0);
  IText translucent(14, &halfBlack, nullptr, IText::kStyleNormal, IText::kAlignNear);
  gui->AttachControl(new ITextControl(&plug, IRECT(0, 0, 40, 15), &opaque, "Mm"));
  gui->AttachControl(new ITextControl(&plug, IRECT(0, 15, 40, 30), &translucent, "Mm"));
  Attach();
  Cycle();
  int w = 0, h = 0;
  FontExtent(gui, &opaque, "Mm", &w, &h);
  EXPECT_GT(Changed(this, gui, IRECT(0, 0, w, 15)), 10);
  EXPECT_GT(Changed(this, gui, IRECT(0, 15, w, 30)), 10);
  EXPECT_EQ(Changed(this, gui, IRECT(w + 2, 0, 40, 30)), 0);
  // Translucent ink never gets darker than half black.
  int darkest = 255;
  for (int y = 15; y < 30; ++y)
    for (int x = 0; x < w; ++x) darkest = std::min(darkest, gui->GetPoint(x, y).R);
  EXPECT_GE(darkest, 126);
  EXPECT_LT(darkest, 255);
}

TEST_F(EditorTest, CaptionShowsTheDisplayTextAndLabel)
{
  const IColor white(255, 255, 255, 255);
  gui->AttachPanelBackground(&white);
  IText style(12, &COLOR_BLACK);
  auto* caption = new ICaptionControl(&plug, IRECT(0, 0, 40, 30), kGain, &style);
  gui->AttachControl(caption);
  Attach();
  Cycle();
  EXPECT_STREQ(caption->GetTextString(), "0.0 dB");
  EXPECT_GT(Changed(this, gui, IRECT(0, 0, 40, 30)), 10);
}

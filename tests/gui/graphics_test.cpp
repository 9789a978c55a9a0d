// The graphics container: pictures, blending, frames, clipping and redraw passes.
#include "gui_test_support.h"

namespace
{
const LICE_pixel kRed = 0xffff0000, kBlue = 0xff0000ff, kGreen = 0xff00ff00;
const IColor kBackground(255, 100, 100, 100);

// A control that counts its draws and fills its rectangle.
class CountingControl : public IControl
{
public:
  CountingControl(IPlugBase* plug, IRECT r, IColor c = COLOR_WHITE) : IControl(plug, r), mColor(c) {}
  bool Draw(IGraphics* g) override
  {
    ++draws;
    return g->FillIRect(&mColor, &mRECT);
  }
  int draws = 0;
  IColor mColor;
};
} // namespace

TEST_F(EditorTest, ConstructionDefaultsTheFrameRateTo25)
{
  EXPECT_EQ(gui->FPS(), 25);
  IGraphicsHeadless other(&plug, 10, 10, 60);
  EXPECT_EQ(other.FPS(), 60);
  EXPECT_EQ(gui->GetBits(), nullptr); // no bitmap before the plug-in attaches it
  Attach();
  ASSERT_NE(gui->GetDrawBitmap(), nullptr);
  EXPECT_EQ(gui->GetDrawBitmap()->getWidth(), 40);
  EXPECT_EQ(gui->GetDrawBitmap()->getHeight(), 30);
}

TEST_F(EditorTest, PicturesAreDecodedOncePerProcessAndShared)
{
  WriteFrames("shared.png", 2, 2, {kRed});
  IBitmap a = gui->LoadIBitmap(1001, "resources/img/shared.png");
  IGraphicsHeadless other(&plug, 10, 10);
  other.SetResourceFolder("/nonexistent");
  IBitmap b = other.LoadIBitmap(1001, "whatever.png", 2);
  ASSERT_NE(a.mData, nullptr);
  EXPECT_EQ(a.mData, b.mData);
  EXPECT_EQ(b.W, 2);
  EXPECT_EQ(b.H, 2);
  EXPECT_EQ(b.N, 2);
}

#ifdef NDEBUG
TEST_F(EditorTest, AMissingOrNonPngPictureGivesANullBitmapThatDrawsNothing)
{
  WriteFrames("notpng.bmp", 2, 2, {kRed});
  IBitmap missing = gui->LoadIBitmap(1002, "missing.png");
  IBitmap wrongKind = gui->LoadIBitmap(1003, "notpng.bmp");
  EXPECT_EQ(missing.mData, nullptr);
  EXPECT_EQ(wrongKind.mData, nullptr);
  gui->AttachBackground(1004, "also-missing.png");
  gui->AttachControl(new IBitmapControl(&plug, 0, 0, kSwap, &missing));
  Attach();
  EXPECT_TRUE(Cycle());
  EXPECT_EQ(Px(0, 0), 0u);
}
#endif

TEST_F(EditorTest, BlendMethodsMapToTheBitmapLayersCombiners)
{
  // Source pixel: alpha 128, (200, 40, 0) over an opaque (100, 100, 100).
  WriteFrames("half.png", 1, 1, {0x80c82800});
  IBitmap pic = gui->LoadIBitmap(1010, "half.png");
  gui->AttachPanelBackground(&kBackground);
  IChannelBlend::EBlendMethod methods[] = {IChannelBlend::kBlendNone, IChannelBlend::kBlendClobber,
                                           IChannelBlend::kBlendAdd,
                                           IChannelBlend::kBlendColorDodge};
  for (int i = 0; i < 4; ++i) gui->AttachControl(new IBitmapControl(&plug, i, 0, &pic, methods[i]));
  Attach();
  Cycle();
  // Copy with source alpha at full weight: d = s + (d - s) * (255 - 128) / 256.
  EXPECT_EQ(Px(0, 0), LICE_RGBA(151, 69, 49, 255));
  // Clobber: the source replaces the pixel.
  EXPECT_EQ(Px(1, 0), 0x80c82800u);
  // Add with W' = 256 * 129 / 256 = 129: d + s * 129 / 256, clamped.
  EXPECT_EQ(Px(2, 0), LICE_RGBA(200, 120, 100, 255));
  // Dodge, t = s * 129 / 256: d * 256 / (256 - t).
  EXPECT_EQ(Px(3, 0), LICE_RGBA(164, 108, 100, 255));
}

TEST_F(EditorTest, GrayedControlsDrawAtAQuarterOfTheirWeight)
{
  WriteFrames("opaque.png", 1, 1, {0xffc82800});
  IBitmap pic = gui->LoadIBitmap(1011, "opaque.png");
  gui->AttachPanelBackground(&kBackground);
  auto* c = new IBitmapControl(&plug, 0, 0, &pic);
  c->GrayOut(true);
  gui->AttachControl(c);
  Attach();
  Cycle();
  // W = 64, W' = 64 * 256 / 256 = 64: d = s + (d - s) * 192 / 256; alpha min(64 + 255, 255).
  EXPECT_EQ(Px(0, 0), LICE_RGBA(125, 85, 75, 255));
}

TEST_F(EditorTest, StackedAndSideBySideFramesStartWhereTheirShareOfThePictureDoes)
{
  WriteFrames("two.png", 2, 20, {kRed, kBlue}); // 2 x 40, two stacked frames
  // Side by side: 6 x 1 in three frames; frame 3 starts at (int)(0.5 + 6 * 2 / 3) = 4.
  WritePicture("across.png", 6, 1, {kRed, kRed, kGreen, kGreen, kBlue, kBlue});
  IBitmap two = gui->LoadIBitmap(1020, "two.png", 2);
  IBitmap across = gui->LoadIBitmap(1021, "across.png", 3, true);
  gui->AttachControl(new ISwitchControl(&plug, 0, 0, kSwap, &two));
  gui->AttachControl(new IBitmapControl(&plug, 10, 0, kMode, &across));
  Attach();
  Cycle();
  EXPECT_EQ(Px(0, 0), kRed);
  EXPECT_EQ(Px(1, 19), kRed);
  EXPECT_EQ(Px(10, 0), kRed);
  gui->SetParameterFromPlug(kSwap, 1.0, true);
  gui->SetParameterFromPlug(kMode, 2.0, false);
  Cycle();
  EXPECT_EQ(Px(0, 0), kBlue);
  EXPECT_EQ(Px(1, 19), kBlue);
  EXPECT_EQ(Px(10, 0), kBlue);
  EXPECT_EQ(Px(11, 0), kBlue);
  gui->SetParameterFromPlug(kMode, 1.0, false);
  Cycle();
  EXPECT_EQ(Px(10, 0), kGreen);
}

TEST_F(EditorTest, PictureDrawsClipToTheRepaintRectangle)
{
  WriteFrames("block.png", 4, 4, {kRed});
  IBitmap pic = gui->LoadIBitmap(1030, "block.png");
  gui->AttachControl(new IBitmapControl(&plug, 0, 0, &pic));
  Attach();
  IRECT part(1, 1, 3, 3);
  gui->Draw(part);
  EXPECT_EQ(Px(0, 0), 0u);
  EXPECT_EQ(Px(1, 1), kRed);
  EXPECT_EQ(Px(2, 2), kRed);
  EXPECT_EQ(Px(3, 3), 0u);
  EXPECT_EQ(Px(3, 1), 0u);
}

TEST_F(EditorTest, WithoutControlsDrawTouchesNothing)
{
  Attach();
  IRECT r(0, 0, 40, 30);
  EXPECT_TRUE(gui->Draw(r));
  EXPECT_EQ(gui->DrawScreenCalls(), 0);
  EXPECT_FALSE(gui->IsDirty(r));
}

TEST_F(EditorTest, AValueChangeIsDrawnOnTwoConsecutivePasses)
{
  auto* c = new CountingControl(&plug, IRECT(0, 0, 5, 5));
  gui->AttachControl(c);
  Attach();
  EXPECT_TRUE(Cycle()); // new controls are dirty once
  EXPECT_FALSE(Cycle());
  EXPECT_EQ(c->draws, 1);
  c->SetValueFromPlug(0.5); // first push: remembered as default, nothing to draw
  EXPECT_FALSE(Cycle());
  c->SetValueFromPlug(0.7);
  EXPECT_TRUE(Cycle());
  EXPECT_TRUE(Cycle());
  EXPECT_FALSE(Cycle());
  EXPECT_EQ(c->draws, 3);
  EXPECT_EQ(gui->DrawScreenCalls(), 3);
}

TEST_F(EditorTest, DirtyRectangleIsTheUnionOfDirtyControls)
{
  auto* a = new CountingControl(&plug, IRECT(2, 2, 5, 5));
  auto* b = new CountingControl(&plug, IRECT(10, 1, 12, 20));
  auto* c = new CountingControl(&plug, IRECT(30, 25, 40, 30));
  gui->AttachControl(a);
  gui->AttachControl(b);
  gui->AttachControl(c);
  Attach();
  Cycle();
  a->SetDirty(false);
  b->SetDirty(false);
  IRECT r;
  EXPECT_TRUE(gui->IsDirty(r));
  EXPECT_EQ(r, IRECT(2, 1, 12, 20));
  gui->ShowControlBounds(true);
  IRECT any(1, 1, 2, 2);
  EXPECT_TRUE(gui->IsDirty(any)); // bounds mode: the last draw rectangle
  EXPECT_EQ(any, IRECT(2, 1, 40, 30)); // what the last pass drew
}

TEST_F(EditorTest, StrictDrawingSkipsHiddenAndOutsideControlsButCleansThemAll)
{
  auto* inside = new CountingControl(&plug, IRECT(0, 0, 5, 5));
  auto* hidden = new CountingControl(&plug, IRECT(0, 0, 5, 5));
  auto* outside = new CountingControl(&plug, IRECT(20, 20, 25, 25));
  gui->AttachControl(inside);
  gui->AttachControl(hidden);
  gui->AttachControl(outside);
  hidden->Hide(true);
  Attach();
  IRECT r(0, 0, 10, 10);
  gui->Draw(r);
  EXPECT_EQ(inside->draws, 1);
  EXPECT_EQ(hidden->draws, 0);
  EXPECT_EQ(outside->draws, 0);
  EXPECT_FALSE(outside->IsDirty());
  EXPECT_TRUE(hidden->IsDirty()); // hiding asked for a second pass
  gui->Draw(r);
  EXPECT_FALSE(hidden->IsDirty());
}

TEST_F(EditorTest, NonStrictDrawingRedrawsADirtyControlWithWhatOverlapsIt)
{
  gui->SetStrictDrawing(false);
  auto* bg = new CountingControl(&plug, IRECT(0, 0, 40, 30), kBackground);
  auto* a = new CountingControl(&plug, IRECT(0, 0, 10, 10), COLOR_RED);
  auto* b = new CountingControl(&plug, IRECT(5, 5, 15, 15), COLOR_BLUE);
  auto* far = new CountingControl(&plug, IRECT(30, 20, 35, 25));
  gui->AttachControl(bg);
  gui->AttachControl(a);
  gui->AttachControl(b);
  gui->AttachControl(far);
  Attach();
  IRECT all(0, 0, 40, 30);
  gui->Draw(all); // background dirty: everything once
  EXPECT_EQ(bg->draws + a->draws + b->draws + far->draws, 4);
  a->SetDirty(false);
  gui->Draw(all);
  // Only a's rectangle: background, a and the overlapping b, clipped to a.
  EXPECT_EQ(bg->draws, 2);
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(b->draws, 2);
  EXPECT_EQ(far->draws, 1);
  EXPECT_FALSE(a->IsDirty());
}

TEST_F(EditorTest, ControlBoundsAreOutlinedInGreen)
{
  gui->AttachControl(new CountingControl(&plug, IRECT(0, 0, 40, 30), COLOR_BLACK));
  gui->AttachControl(new CountingControl(&plug, IRECT(2, 2, 6, 6), COLOR_BLACK));
  gui->ShowControlBounds(true);
  Attach();
  IRECT all(0, 0, 40, 30);
  gui->Draw(all);
  EXPECT_EQ(Px(2, 2), COLOR_GREEN.Pixel());
  EXPECT_EQ(Px(6, 4), COLOR_GREEN.Pixel());
  EXPECT_EQ(Px(4, 4), COLOR_BLACK.Pixel());
  EXPECT_EQ(Px(0, 0), COLOR_BLACK.Pixel()); // the background is not outlined
}

TEST_F(EditorTest, ScaledAndCroppedPicturesAreNewRetainedBitmaps)
{
  WritePicture("quad.png", 2, 2, {kRed, kGreen, kBlue, kRed});
  IBitmap pic = gui->LoadIBitmap(1040, "quad.png", 2);
  IRECT bottomRight(1, 1, 2, 2);
  IBitmap crop = gui->CropBitmap(&pic, &bottomRight);
  ASSERT_NE(crop.mData, nullptr);
  EXPECT_EQ(crop.W, 1);
  EXPECT_EQ(crop.N, 2);
  EXPECT_EQ(LICE_GetPixel(crop.mData, 0, 0), kRed);
  IBitmap scaled = gui->ScaleBitmap(&pic, 4, 4);
  ASSERT_NE(scaled.mData, nullptr);
  EXPECT_EQ(scaled.mData->getWidth(), 4);
  EXPECT_EQ(scaled.H, 4);
  gui->ReleaseBitmap(&crop);
  gui->ReleaseBitmap(&scaled);
}

TEST_F(EditorTest, RotatedPictureTurnsAboutItsCentre)
{
  // A 3 x 3 picture with a red top row; turned by 180 degrees the red row is at the bottom.
  WritePicture("arrow.png", 3, 3,
               {kRed, kRed, kRed, kBlue, kBlue, kBlue, kBlue, kBlue, kBlue});
  IBitmap pic = gui->LoadIBitmap(1050, "arrow.png");
  gui->AttachControl(new IKnobRotaterControl(&plug, 0, 0, kGain, &pic, 0.0, 2 * 3.14159265358979));
  Attach();
  gui->SetParameterFromPlug(kGain, 0.5, true);
  Cycle();
  EXPECT_EQ(Px(1, 2), kRed);
  EXPECT_EQ(Px(1, 0), kBlue);
}

TEST_F(EditorTest, ResizeDropsControlsAndTellsThePlugIn)
{
  gui->AttachControl(new CountingControl(&plug, IRECT(0, 0, 5, 5)));
  Attach();
  gui->Resize(50, 60);
  EXPECT_EQ(gui->NControls(), 0);
  EXPECT_EQ(gui->GetDrawBitmap()->getWidth(), 50);
  ASSERT_FALSE(plug.events.empty());
  EXPECT_EQ(plug.events.back(), "resize 50x60");
}

TEST_F(EditorTest, FillRoundRectLeavesTheCornerPixelsOut)
{
  Attach();
  IRECT r(0, 0, 10, 8);
  gui->FillRoundRect(&COLOR_RED, &r, nullptr, 3, false);
  EXPECT_EQ(Px(0, 0), 0u);
  EXPECT_EQ(Px(5, 0), kRed);
  EXPECT_EQ(Px(0, 4), kRed);
  EXPECT_EQ(Px(9, 4), kRed);
  EXPECT_EQ(Px(9, 7), 0u);
  gui->ForcePixel(&COLOR_TRANSPARENT, 5, 0);
  gui->ForcePixel(&COLOR_RED, 100, 100); // outside: ignored
  EXPECT_EQ(Px(5, 0), 0u);
}

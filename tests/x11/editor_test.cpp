// The Linux editor on a real X server, driven by real input (XTEST): the
// window shows the drawing bitmap exactly, clicks reach parameters through
// the plug-in base, menus and text entry work, and windows come and go
// without leaks.

#include "x11_fixture.h" // GoogleTest and the project's headers before Xlib's macros

#include <memory>
#include <string>

#include "IControl.h"
#include "IGraphicsLinux.h"
#include "lice.h"
#include "test_plugs.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace
{
enum
{
  kSwapParam,
  kMonoParam,
  kGainParam,
  kNParams
};

// A plug-in with the product's editor layout plus two prompting captions:
// one for a bool parameter (menu) and one for an int parameter (text entry).
struct Editor
{
  TestPlug plug{kNParams, "2-2"};
  IGraphicsLinux* gfx;
  IBitmap swap, mono;
  IRECT monoCaption{60, 90, 100, 110}, gainCaption{110, 90, 150, 110};

  Editor()
  {
    plug.GetParam(kSwapParam)->InitBool("Swap", false);
    plug.GetParam(kMonoParam)->InitBool("Mono", false);
    plug.GetParam(kGainParam)->InitInt("Gain", 0, 0, 100);
    gfx = new IGraphicsLinux(&plug, 190, 120, 25);
    gfx->AttachBackground(101, "resources/img/Background.png");
    swap = gfx->LoadIBitmap(102, "resources/img/swapBtn.png", 2);
    gfx->AttachControl(new ISwitchControl(&plug, 13, 30, kSwapParam, &swap));
    mono = gfx->LoadIBitmap(103, "resources/img/monoBtn.png", 2);
    gfx->AttachControl(new ISwitchControl(&plug, 154, 36, kMonoParam, &mono));
    IText text(10);
    auto* caption = new ICaptionControl(&plug, monoCaption, kMonoParam, &text, false);
    caption->DisablePrompt(false);
    gfx->AttachControl(caption);
    auto* gain = new ICaptionControl(&plug, gainCaption, kGainParam, &text, false);
    gain->DisablePrompt(false);
    gfx->AttachControl(gain);
    plug.AttachGraphics(gfx);
  }
  ~Editor() { gfx->CloseWindow(); }

  // Waits until the editor has copied more than `after` frames; the atomic
  // count also makes everything the GUI thread did before visible here.
  bool WaitForCopy(int after) const
  {
    return WaitUntil([&] { return gfx->ScreenCopies() > after; });
  }
  // Waits until nothing is left to redraw: no copy for three ticks.
  void Settle() const
  {
    int copies = -1, ticks = 0;
    WaitUntil([&] {
      if (gfx->ScreenCopies() != copies)
      {
        copies = gfx->ScreenCopies();
        ticks = gfx->TimerTicks();
      }
      return copies > 0 && gfx->TimerTicks() - ticks >= 3;
    });
  }
};

bool ScreenMatchesBitmap(Display* dpy, Window w, IGraphicsLinux* gfx, const IRECT& r)
{
  std::vector<unsigned> px;
  if (!GrabPixels(dpy, w, r.L, r.T, r.W(), r.H(), &px)) return false;
  LICE_IBitmap* bm = gfx->GetDrawBitmap();
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x)
      if (px[static_cast<size_t>((y - r.T) * r.W() + (x - r.L))] !=
          (LICE_GetPixel(bm, x, y) & 0xffffffu))
        return false;
  return true;
}

class EditorTest : public X11Test
{
protected:
  void SetUp() override
  {
    X11Test::SetUp();
    if (IsSkipped()) return;
    host = std::make_unique<HostWindow>();
    editor = std::make_unique<Editor>();
    ASSERT_NE(editor->swap.mData, nullptr) << "pictures missing from build/tests/Resources";
    ASSERT_NE(editor->gfx->OpenWindow(host->AsParent()), nullptr);
    child = host->WaitForChild(3000);
    ASSERT_NE(child, 0u);
    editor->Settle();
  }
  void TearDown() override
  {
    editor.reset();
    host.reset();
  }

  std::unique_ptr<HostWindow> host;
  std::unique_ptr<Editor> editor;
  Window child = 0;
};
} // namespace

TEST_F(EditorTest, TheWindowShowsTheDrawingBitmapPixelForPixel)
{
  XWindowAttributes wa;
  ASSERT_TRUE(XGetWindowAttributes(host->Dpy(), child, &wa));
  EXPECT_EQ(wa.width, 190);
  EXPECT_EQ(wa.height, 120);
  EXPECT_TRUE(ScreenMatchesBitmap(host->Dpy(), child, editor->gfx, IRECT(0, 0, 190, 120)));
  EXPECT_STREQ(editor->gfx->GetGUIAPI(), "X11 GUI");
}

TEST_F(EditorTest, ARealClickOnTheSwapSwitchTogglesItThroughThePlugBaseAndShowsFrameTwo)
{
  const int copies = editor->gfx->ScreenCopies(), ticks = editor->gfx->TimerTicks();
  ASSERT_TRUE(FakeClick(host->Dpy(), child, 20, 40, Button1));
  ASSERT_TRUE(editor->WaitForCopy(copies));
  // The first copy after the click comes within two ticks of it.
  EXPECT_LE(editor->gfx->LastCopyTick() - ticks, 2);
  // The switch's second frame over the background, composited as the
  // container draws it.
  LICE_MemBitmap expect(23, 40);
  LICE_IBitmap* background = LICE_LoadPNGFromNamedResource("Background.png");
  ASSERT_NE(background, nullptr);
  LICE_Blit(&expect, background, 0, 0, 13, 30, 23, 40, 1.0f, LICE_BLIT_MODE_COPY);
  LICE_Blit(&expect, editor->swap.mData, 0, 0, 0, 40, 23, 40, 1.0f,
            LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA);
  delete background;
  std::vector<unsigned> px;
  ASSERT_TRUE(GrabPixels(host->Dpy(), child, 13, 30, 23, 40, &px));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 23; ++x)
      ASSERT_EQ(px[static_cast<size_t>(y * 23 + x)], LICE_GetPixel(&expect, x, y) & 0xffffffu)
          << x << "," << y;

  editor->Settle();
  TestPlug& p = editor->plug;
  ASSERT_EQ(p.events.size(), 2u);
  EXPECT_STREQ(p.events[0].first, "begin");
  EXPECT_EQ(p.events[0].second, kSwapParam);
  ASSERT_EQ(p.informed.size(), 1u);
  EXPECT_EQ(p.informed[0].first, kSwapParam);
  EXPECT_EQ(p.informed[0].second, 1.0);
  EXPECT_STREQ(p.events[1].first, "end");
  EXPECT_EQ(p.GetParam(kSwapParam)->Value(), 1.0);
}

TEST_F(EditorTest, ARightClickShowsTheMenuOfABoolParameterAndAClickOnAnItemSetsIt)
{
  const IRECT& r = editor->monoCaption;
  ASSERT_TRUE(FakeClick(host->Dpy(), child, r.L + 5, r.T + 5, Button3));
  int x = 0, y = 0, w = 0, h = 0;
  const Window menu = WaitForPopup(host->Dpy(), 3000, &x, &y, &w, &h);
  ASSERT_NE(menu, 0u);
  // Two items ("off", "on") of 20 pixels under a 3-pixel margin.
  EXPECT_EQ(h, 3 + 2 * 20 + 3);
  const int copies = editor->gfx->ScreenCopies();
  ASSERT_TRUE(FakeClick(host->Dpy(), menu, w / 2, 3 + 20 + 10, Button1));
  ASSERT_TRUE(editor->WaitForCopy(copies));
  editor->Settle();
  EXPECT_EQ(editor->plug.GetParam(kMonoParam)->Value(), 1.0);
  EXPECT_EQ(WaitForPopup(host->Dpy(), 0, &x, &y, &w, &h), 0u);
  // The menu took the right button's release; the gesture still ends.
  const auto& ev = editor->plug.events;
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_STREQ(ev[0].first, "begin");
  EXPECT_STREQ(ev[1].first, "end");
  EXPECT_EQ(ev[1].second, kMonoParam);
}

TEST_F(EditorTest, EscapeDismissesTheMenuAndChangesNothing)
{
  const IRECT& r = editor->monoCaption;
  ASSERT_TRUE(FakeClick(host->Dpy(), child, r.L + 5, r.T + 5, Button3));
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_NE(WaitForPopup(host->Dpy(), 3000, &x, &y, &w, &h), 0u);
  ASSERT_TRUE(FakeKey(host->Dpy(), XK_Escape));
  EXPECT_TRUE(WaitUntil([&] { return WaitForPopup(host->Dpy(), 0, &x, &y, &w, &h) == 0; }));
  editor->Settle();
  EXPECT_EQ(editor->plug.GetParam(kMonoParam)->Value(), 0.0);
  EXPECT_TRUE(editor->plug.informed.empty());
}

TEST_F(EditorTest, TextEntryTakesDigitsAndRefusesLettersForAnIntParameter)
{
  const IRECT& r = editor->gainCaption;
  ASSERT_TRUE(FakeClick(host->Dpy(), child, r.L + 5, r.T + 5, Button1));
  // The field opens as a child of the editor; its initial text is "0".
  ASSERT_TRUE(WaitUntil([&] {
    Window root = 0, parent = 0, *kids = nullptr;
    unsigned n = 0;
    XQueryTree(host->Dpy(), child, &root, &parent, &kids, &n);
    if (kids) XFree(kids);
    return n == 1;
  }));
  for (unsigned long key : {XK_BackSpace, XK_4, XK_x, XK_2, XK_Q, XK_Return})
    ASSERT_TRUE(FakeKey(host->Dpy(), key));
  ASSERT_TRUE(WaitUntil([&] { return editor->plug.GetParam(kGainParam)->Int() != 0; }));
  editor->Settle();
  EXPECT_EQ(editor->plug.GetParam(kGainParam)->Int(), 42);
}

TEST_F(EditorTest, KeysTheEditorDoesNotTakeReachTheHostWindow)
{
  ASSERT_TRUE(FakeMotion(host->Dpy(), child, 100, 60));
  XSetInputFocus(host->Dpy(), child, RevertToParent, CurrentTime);
  ASSERT_TRUE(FakeKey(host->Dpy(), XK_q));
  EXPECT_EQ(host->WaitForKeyPress(3000), XKeysymToKeycode(host->Dpy(), XK_q));
}

TEST_F(EditorTest, DestroyingTheHostWindowFirstClosesTheEditorWithoutErrors)
{
  host->Destroy();
  EXPECT_TRUE(WaitUntil([&] { return !editor->gfx->WindowIsOpen(); }));
  EXPECT_EQ(editor->gfx->X11Window().ErrorCount(), 0);
  EXPECT_EQ(editor->gfx->GetWindow(), nullptr);
  editor->gfx->CloseWindow();
}

TEST_F(EditorTest, TwoEditorsOfTwoInstancesRunAtOnce)
{
  HostWindow host2(200, 150, 420, 0);
  Editor second;
  ASSERT_NE(second.gfx->OpenWindow(host2.AsParent()), nullptr);
  second.Settle();
  const Window child2 = host2.WaitForChild(3000);
  EXPECT_TRUE(ScreenMatchesBitmap(host2.Dpy(), child2, second.gfx, IRECT(0, 0, 190, 120)));
  EXPECT_TRUE(ScreenMatchesBitmap(host->Dpy(), child, editor->gfx, IRECT(0, 0, 190, 120)));
}

TEST_F(EditorTest, OpeningAndClosingFiftyTimesLeaksNoThreadsWindowsOrConnections)
{
  editor->gfx->CloseWindow();
  editor->gfx->CloseWindow();
  const int threads = CountThreads(), fds = CountOpenFileDescriptors();
  const int windows = CountWindowsUnderRoot(host->Dpy());
  for (int i = 0; i < 50; ++i)
  {
    ASSERT_NE(editor->gfx->OpenWindow(host->AsParent()), nullptr) << i;
    if (i % 10 == 0) editor->WaitForCopy(0);
    editor->gfx->CloseWindow();
  }
  EXPECT_EQ(CountThreads(), threads);
  EXPECT_EQ(CountOpenFileDescriptors(), fds);
  EXPECT_EQ(CountWindowsUnderRoot(host->Dpy()), windows);
  EXPECT_FALSE(editor->gfx->WindowIsOpen());
}

TEST(IGraphicsLinux, SystemVersionFromTheKernelRelease)
{
  EXPECT_EQ(IGraphicsLinux::VersionFromRelease("6.1.0-13-amd64"), 0x610);
  EXPECT_EQ(IGraphicsLinux::VersionFromRelease("5.15.167.4-microsoft"), 0x515167);
  EXPECT_EQ(IGraphicsLinux::VersionFromRelease("6.7"), 0x670);
}

TEST(IGraphicsLinux, OnlyPngPicturesFromTheBundleLoad)
{
  TestPlug plug(1, "2-2");
  IGraphicsLinux gfx(&plug, 10, 10);
  std::unique_ptr<LICE_IBitmap> bm(gfx.OSLoadBitmap(102, "resources/img/swapBtn.png"));
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(bm->getWidth(), 23);
  EXPECT_EQ(bm->getHeight(), 80);
  EXPECT_EQ(gfx.OSLoadBitmap(102, "resources/img/swapBtn.bmp"), nullptr);
  EXPECT_EQ(gfx.OSLoadBitmap(102, "png"), nullptr);
  EXPECT_EQ(gfx.OSLoadBitmap(102, "resources/img/missing.png"), nullptr);
  EXPECT_EQ(gfx.OSLoadBitmap(102, nullptr), nullptr);
  std::unique_ptr<LICE_IBitmap> upper(gfx.OSLoadBitmap(102, "swapBtn.PNG"));
  EXPECT_NE(upper, nullptr);
}

// The editor thread: the host's user-interface thread. It opens the
// plug-in's editor in an X11 window of its own, clicks the switches with
// real pointer events (XTEST), and closes and reopens the editor now and
// then, sometimes destroying its window before the editor is told. With two
// editors a second such thread does the same with the second instance, in a
// host window beside the first.
#include "soak.h"

#include "xvfb_harness.h"

#include "AAX_Errors.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace stress
{
namespace
{
struct Rect
{
  int x, y, w, h;
};
// Quorvane's switches: top-left corners from the product's layout, sizes
// from its pictures (one frame of swapBtn.png and monoBtn.png).
constexpr Rect kSwitches[] = {{13, 30, 23, 40}, {154, 36, 23, 28}};

class EditorSession
{
public:
  EditorSession(Soak& soak, int editor)
      : mSoak(soak), mInstance(soak.EditorInstance(editor)), mEditor(editor)
  {
  }
  ~EditorSession() { Close(false); }

  bool IsOpen() const { return mOpen; }

  // Opens the editor into the host window (a new one when there is none);
  // false with a failure recorded when it does not show.
  bool Open()
  {
    aaxhost::HostInstance& inst = mInstance;
    if (const AAX_Result r = inst.OpenEditor(mSoak.EditorProc()))
      return Fail(aaxhost::WithCode("the editor did not open", r));
    AAX_Point size{0, 0};
    inst.Editor()->GetViewSize(&size);
    mWidth = static_cast<int>(size.horz);
    mHeight = static_cast<int>(size.vert);
    if (mWidth < 20 || mHeight < 20 || mWidth > 4096 || mHeight > 4096)
      return Fail("the editor reports a size of " + std::to_string(mWidth) + "x" +
                  std::to_string(mHeight));
    if (!mWindow)
    {
      // Side by side: a click meant for one editor must not land on the other.
      mWindow = std::make_unique<HostWindow>(mWidth, mHeight, 200 * mEditor, 0);
      if (!mWindow->Ok()) return Fail("the host window could not be made on the X server");
    }
    if (const AAX_Result r = inst.AttachView(mWindow->AsParent()))
      return Fail(aaxhost::WithCode("the editor refused the host window", r));
    mOpen = true;
    if (!mWindow->WaitForChild(10000)) return Fail("the editor showed no window within 10 s");
    mSoak.Count().editorOpens.fetch_add(1);
    if (mEditor) mSoak.Count().secondEditorOpens.fetch_add(1);
    return true;
  }

  // Closes the editor; with destroyWindowFirst the host's window goes
  // before the editor hears of it, as when a workstation closes a session.
  void Close(bool destroyWindowFirst)
  {
    if (destroyWindowFirst && mWindow)
    {
      mWindow.reset();
      mSoak.Count().windowsDestroyedFirst.fetch_add(1);
    }
    if (mOpen) mInstance.CloseEditor();
    mOpen = false;
  }

  // One click: mostly on a switch, sometimes anywhere in the editor.
  bool Click(Rng& rng)
  {
    int x = 0, y = 0;
    if (rng() % 5 != 0)
    {
      const Rect& r = kSwitches[rng() % 2];
      x = r.x + 1 + static_cast<int>(rng() % static_cast<unsigned>(r.w - 2));
      y = r.y + 1 + static_cast<int>(rng() % static_cast<unsigned>(r.h - 2));
      mSoak.Count().switchClicks.fetch_add(1);
    }
    else
    {
      x = static_cast<int>(rng() % static_cast<unsigned>(mWidth));
      y = static_cast<int>(rng() % static_cast<unsigned>(mHeight));
    }
    if (!FakeClick(mWindow->Dpy(), mWindow->Id(), x, y, 1))
      return Fail("the click at " + std::to_string(x) + "," + std::to_string(y) +
                  " could not be sent");
    mSoak.Count().clicks.fetch_add(1);
    // The host window's own events (its child coming and going) are not
    // needed; drop them so they do not pile up over a long run.
    while (XPending(mWindow->Dpy()))
    {
      XEvent ev;
      XNextEvent(mWindow->Dpy(), &ev);
    }
    return true;
  }

  // What a workstation's user-interface thread does besides.
  void HostDuties(Rng& rng)
  {
    AAX_IACFEffectGUI* gui = mInstance.Editor();
    if (!gui) return;
    gui->TimerWakeup();
    const std::vector<std::string>& ids = mSoak.ParamIDs();
    gui->ParameterUpdated(ids[rng() % ids.size()].c_str());
  }

private:
  bool Fail(const std::string& why)
  {
    mSoak.Result().Fail(why);
    return false;
  }

  Soak& mSoak;
  aaxhost::HostInstance& mInstance;
  const int mEditor;
  std::unique_ptr<HostWindow> mWindow;
  bool mOpen = false;
  int mWidth = 0, mHeight = 0;
};
} // namespace

void RunEditor(Soak& soak, int which)
{
  const int thread = which ? kSecondEditorThread : kEditorThread;
  Rng rng(soak.Seed() * 0x9E3779B97F4A7C15ull + static_cast<uint64_t>(thread));
  EditorSession editor(soak, which);
  int clicksLeft = 0;
  while (!soak.Result().Stopping())
  {
    soak.Heartbeat(thread).fetch_add(1);
    if (soak.Checkpoints().Requested())
    {
      // A checkpoint needs the instance quiet: no editor thread of its own.
      editor.Close(rng() % 5 == 0);
      soak.Checkpoints().Park(soak.Result(), soak.Heartbeat(thread));
      continue;
    }
    if (!editor.IsOpen())
    {
      if (!editor.Open()) return;
      clicksLeft = 5 + static_cast<int>(rng() % 60);
    }
    if (!editor.Click(rng)) return;
    if (rng() % 8 == 0) editor.HostDuties(rng);
    if (--clicksLeft <= 0) editor.Close(rng() % 5 == 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + rng() % 12));
  }
}
} // namespace stress

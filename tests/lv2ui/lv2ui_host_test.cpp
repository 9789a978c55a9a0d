// Quorvane's LV2 UI in a small host of our own, written on the LV2 UI
// headers: the UI binary is opened as a host opens it, embedded into an X11
// window of this program's Xvfb and driven through port_event and idle.

#include "x11_fixture.h" // GoogleTest and the project's headers before Xlib's macros

#include <dlfcn.h>
#include <lv2/ui/ui.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "lice.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{
const std::string kBundle = QV_QUORVANE_LV2;
constexpr int kW = 190, kH = 120;

// What the UI sent the host, and on which thread.
struct Sent
{
  uint32_t port;
  float value;
  std::thread::id thread;
};

struct Host
{
  std::vector<Sent> writes;
  std::vector<std::pair<uint32_t, bool>> touches;
  int resizedW = 0, resizedH = 0;

  static void Write(LV2UI_Controller c, uint32_t port, uint32_t size, uint32_t format,
                    const void* buf)
  {
    float v = 0.f;
    if (format == 0 && size == sizeof v) std::memcpy(&v, buf, sizeof v);
    static_cast<Host*>(c)->writes.push_back({port, v, std::this_thread::get_id()});
  }
  static void Touch(LV2UI_Feature_Handle h, uint32_t port, bool grabbed)
  {
    static_cast<Host*>(h)->touches.emplace_back(port, grabbed);
  }
  static int Resize(LV2UI_Feature_Handle h, int w, int hgt)
  {
    static_cast<Host*>(h)->resizedW = w;
    static_cast<Host*>(h)->resizedH = hgt;
    return 0;
  }
};

// The UI binary, loaded once as a host would.
const LV2UI_Descriptor* Descriptor()
{
  static void* lib = dlopen((kBundle + "/Quorvane_ui.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib) return nullptr;
  auto fn = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(lib, "lv2ui_descriptor"));
  return fn ? fn(0) : nullptr;
}

// One UI instance inside parent, with every feature this host offers.
class Ui
{
public:
  Ui(Host* host, Window parent)
  {
    mTouch = {host, Host::Touch};
    mResize = {host, Host::Resize};
    mParentF = {LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))};
    mIdleF = {LV2_UI__idleInterface, nullptr};
    mTouchF = {LV2_UI__touch, &mTouch};
    mResizeF = {LV2_UI__resize, &mResize};
    const LV2_Feature* features[] = {&mParentF, &mIdleF, &mTouchF, &mResizeF, nullptr};
    d = Descriptor();
    if (d)
      h = d->instantiate(d, "urn:orvantine:quorvane", kBundle.c_str(), Host::Write, host, &widget,
                         features);
    if (d)
      idle = static_cast<const LV2UI_Idle_Interface*>(d->extension_data(LV2_UI__idleInterface));
  }
  ~Ui()
  {
    if (h) d->cleanup(h);
  }
  void Port(uint32_t port, float v) { d->port_event(h, port, sizeof v, 0, &v); }
  // Calls idle as a host does, every 10 ms for ms milliseconds, or until
  // done says yes; idle's last answer.
  template <class Done> int IdleUntil(int ms, Done done)
  {
    int r = 0;
    for (int t = 0; t < ms; t += 10)
    {
      r = idle->idle(h);
      if (r || done()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return r;
  }
  int IdleFor(int ms)
  {
    return IdleUntil(ms, [] { return false; });
  }

  const LV2UI_Descriptor* d = nullptr;
  const LV2UI_Idle_Interface* idle = nullptr;
  LV2UI_Handle h = nullptr;
  LV2UI_Widget widget = nullptr;

private:
  LV2UI_Touch mTouch;
  LV2UI_Resize mResize;
  LV2_Feature mParentF, mIdleF, mTouchF, mResizeF;
};

// The editor as the AAX host shows it: the background, and each switch's
// frame for its value, from the pictures in the bundle.
std::unique_ptr<LICE_MemBitmap> Expected(bool swap, bool mono)
{
  std::unique_ptr<LICE_IBitmap> bg(LICE_LoadPNG((kBundle + "/Background.png").c_str()));
  std::unique_ptr<LICE_IBitmap> sw(LICE_LoadPNG((kBundle + "/swapBtn.png").c_str()));
  std::unique_ptr<LICE_IBitmap> mo(LICE_LoadPNG((kBundle + "/monoBtn.png").c_str()));
  if (!bg || !sw || !mo) return nullptr;
  auto out = std::make_unique<LICE_MemBitmap>(kW, kH);
  LICE_Blit(out.get(), bg.get(), 0, 0, 0, 0, kW, kH, 1.0f, LICE_BLIT_MODE_COPY);
  const int sh = sw->getHeight() / 2, mh = mo->getHeight() / 2;
  LICE_Blit(out.get(), sw.get(), 13, 30, 0, swap ? sh : 0, sw->getWidth(), sh, 1.0f,
            LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA);
  LICE_Blit(out.get(), mo.get(), 154, 36, 0, mono ? mh : 0, mo->getWidth(), mh, 1.0f,
            LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA);
  return out;
}

bool Shows(Display* dpy, Window win, LICE_IBitmap* expect)
{
  std::vector<unsigned> px;
  if (!expect || !GrabPixels(dpy, win, 0, 0, kW, kH, &px)) return false;
  for (int r = 0; r < kH; ++r)
    for (int c = 0; c < kW; ++c)
      if (px[static_cast<size_t>(r * kW + c)] != (LICE_GetPixel(expect, c, r) & 0xffffffu))
        return false;
  return true;
}

Window AsWindow(LV2UI_Widget w) { return static_cast<Window>(reinterpret_cast<uintptr_t>(w)); }

// The root's children (top-level windows, no window manager runs here).
std::vector<Window> TopLevels(Display* dpy)
{
  Window root = 0, parent = 0, *children = nullptr;
  unsigned n = 0;
  std::vector<Window> out;
  if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &n))
    out.assign(children, children + n);
  if (children) XFree(children);
  return out;
}

// Property name of win as text, with its type's name; "" (and type "")
// when it is not set.
std::string Property(Display* dpy, Window win, const char* name, std::string* type = nullptr)
{
  Atom actual = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  std::string out;
  if (XGetWindowProperty(dpy, win, XInternAtom(dpy, name, False), 0, 1024, False, AnyPropertyType,
                         &actual, &format, &n, &after, &data) == Success &&
      actual != None && data)
    out.assign(reinterpret_cast<char*>(data), format == 8 ? n : n * (format / 8));
  if (data) XFree(data);
  if (type)
  {
    char* t = actual != None ? XGetAtomName(dpy, actual) : nullptr;
    *type = t ? t : "";
    if (t) XFree(t);
  }
  return out;
}

using Lv2UiHost = X11Test;
} // namespace

TEST_F(Lv2UiHost, OpensInTheParentAtItsFixedSizeAndShowsEveryPortValue)
{
  Host host;
  HostWindow parent(300, 200);
  Ui ui(&host, parent.Id());
  ASSERT_TRUE(ui.h) << "the UI did not instantiate";
  ASSERT_TRUE(ui.idle);
  EXPECT_STREQ(ui.d->URI, "urn:orvantine:quorvane#ui");
  EXPECT_EQ(host.resizedW, kW);
  EXPECT_EQ(host.resizedH, kH);
  const Window editor = AsWindow(ui.widget);
  ASSERT_EQ(parent.WaitForChild(2000), editor);
  XWindowAttributes wa;
  ASSERT_TRUE(XGetWindowAttributes(parent.Dpy(), editor, &wa));
  EXPECT_EQ(wa.width, kW);
  EXPECT_EQ(wa.height, kH);

  for (int state = 0; state < 4; ++state)
  {
    const bool swap = state & 1, mono = state & 2;
    ui.Port(0, swap ? 1.f : 0.f);
    ui.Port(1, mono ? 1.f : 0.f);
    auto expect = Expected(swap, mono);
    ASSERT_TRUE(expect);
    EXPECT_EQ(ui.IdleUntil(2000, [&] { return Shows(parent.Dpy(), editor, expect.get()); }), 0);
    EXPECT_TRUE(Shows(parent.Dpy(), editor, expect.get())) << "swap " << swap << " mono " << mono;
  }
  // Values the host cannot mean: another format, a short buffer, NaN, a
  // port that is no control. None changes the picture or reaches the host.
  const float nan = std::nanf("");
  ui.d->port_event(ui.h, 0, sizeof nan, 0, &nan);
  ui.d->port_event(ui.h, 0, 2, 0, &nan);
  ui.d->port_event(ui.h, 0, sizeof nan, 7, &nan);
  ui.Port(6, 0.f);
  ui.IdleFor(100);
  EXPECT_TRUE(Shows(parent.Dpy(), editor, Expected(true, true).get()));
  EXPECT_TRUE(host.writes.empty());
}

TEST_F(Lv2UiHost, AClickReachesTheHostOnTheThreadThatCallsIdle)
{
  Host host;
  HostWindow parent(300, 200);
  Ui ui(&host, parent.Id());
  ASSERT_TRUE(ui.h);
  const Window editor = AsWindow(ui.widget);
  ASSERT_EQ(parent.WaitForChild(2000), editor);
  ui.Port(0, 0.f);
  ui.IdleFor(100);
  ASSERT_TRUE(host.writes.empty());

  // The click is delivered while nobody calls idle: nothing may reach the
  // host until the host's thread calls idle again.
  ASSERT_TRUE(FakeClick(parent.Dpy(), editor, 13 + 5, 30 + 5, 1));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(host.writes.empty());
  ui.IdleUntil(2000, [&] { return !host.touches.empty() && !host.touches.back().second; });
  ASSERT_EQ(host.writes.size(), 1u);
  EXPECT_EQ(host.writes[0].port, 0u);
  EXPECT_EQ(host.writes[0].value, 1.f);
  EXPECT_EQ(host.writes[0].thread, std::this_thread::get_id());
  const std::vector<std::pair<uint32_t, bool>> gesture = {{0u, true}, {0u, false}};
  EXPECT_EQ(host.touches, gesture);
  EXPECT_TRUE(Shows(parent.Dpy(), editor, Expected(true, false).get()));
}

TEST_F(Lv2UiHost, OpensAndClosesFiftyTimesAlsoAfterTheParentIsGone)
{
  Host host;
  HostWindow probe(10, 10, 500, 500);
  const int fds = CountOpenFileDescriptors();
  const int windows = CountWindowsUnderRoot(probe.Dpy());
  for (int i = 0; i < 50; ++i)
  {
    HostWindow parent(300, 200);
    auto ui = std::make_unique<Ui>(&host, parent.Id());
    ASSERT_TRUE(ui->h) << "open " << i;
    ui->Port(0, static_cast<float>(i & 1));
    EXPECT_EQ(ui->IdleFor(30), 0);
    if (i % 2)
    {
      // The host destroys its window first: idle says the UI is closed,
      // and cleanup still frees everything.
      parent.Destroy();
      XSync(parent.Dpy(), False);
      EXPECT_EQ(ui->IdleFor(1000), 1) << "open " << i;
      EXPECT_EQ(ui->idle->idle(ui->h), 1);
    }
    ui.reset();
  }
  EXPECT_EQ(CountOpenFileDescriptors(), fds);
  EXPECT_EQ(CountWindowsUnderRoot(probe.Dpy()), windows);
  EXPECT_TRUE(host.writes.empty());
}

TEST_F(Lv2UiHost, WithoutAParentTheShowInterfaceOpensAWindowOfItsOwn)
{
  Host host;
  const LV2UI_Descriptor* d = Descriptor();
  ASSERT_TRUE(d);
  HostWindow probe(10, 10, 500, 400);
  LV2_Feature idleF = {LV2_UI__idleInterface, nullptr};
  const LV2_Feature* onlyIdle[] = {&idleF, nullptr};
  const LV2_Feature* none[] = {nullptr};
  LV2UI_Widget w = &host;
  EXPECT_EQ(
      d->instantiate(d, "urn:orvantine:quorvane", kBundle.c_str(), Host::Write, &host, &w, none),
      nullptr)
      << "the idle interface is required";
  LV2UI_Handle h = d->instantiate(d, "urn:orvantine:quorvane", kBundle.c_str(), Host::Write, &host,
                                  &w, onlyIdle);
  ASSERT_TRUE(h);
  EXPECT_EQ(w, nullptr);
  auto* show = static_cast<const LV2UI_Show_Interface*>(d->extension_data(LV2_UI__showInterface));
  auto* idle = static_cast<const LV2UI_Idle_Interface*>(d->extension_data(LV2_UI__idleInterface));
  ASSERT_TRUE(show && idle);
  const int windows = CountWindowsUnderRoot(probe.Dpy());
  ASSERT_EQ(show->show(h), 0);
  EXPECT_EQ(show->show(h), 0) << "showing again keeps the one window";
  EXPECT_EQ(CountWindowsUnderRoot(probe.Dpy()), windows + 1);
  // The window is the root's child at (0, 0), so the screen shows it there.
  auto expect = Expected(false, false);
  const Window root = DefaultRootWindow(probe.Dpy());
  for (int i = 0; i < 200 && !Shows(probe.Dpy(), root, expect.get()); ++i)
  {
    EXPECT_EQ(idle->idle(h), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(Shows(probe.Dpy(), root, expect.get()));
  EXPECT_EQ(show->hide(h), 0);
  EXPECT_EQ(idle->idle(h), 1);
  EXPECT_EQ(CountWindowsUnderRoot(probe.Dpy()), windows);
  d->cleanup(h);
}

TEST_F(Lv2UiHost, TheShownWindowTellsTheWindowManagerItsNameClassFixedSizeAndClose)
{
  Host host;
  HostWindow probe(10, 10, 500, 400);
  Display* dpy = probe.Dpy();
  const char* wmProps[] = {"WM_NAME", "_NET_WM_NAME", "WM_CLASS", "WM_NORMAL_HINTS",
                           "WM_PROTOCOLS"};
  {
    // Embedded in a host's window, the editor is no top-level window and
    // carries none of them.
    HostWindow parent(300, 200);
    Ui ui(&host, parent.Id());
    ASSERT_TRUE(ui.h);
    const Window editor = AsWindow(ui.widget);
    ASSERT_EQ(parent.WaitForChild(2000), editor);
    for (const char* prop : wmProps)
    {
      std::string type;
      Property(dpy, editor, prop, &type);
      EXPECT_EQ(type, "") << prop << " on the embedded editor";
    }
  }

  const LV2UI_Descriptor* d = Descriptor();
  ASSERT_TRUE(d);
  LV2_Feature idleF = {LV2_UI__idleInterface, nullptr};
  const LV2_Feature* onlyIdle[] = {&idleF, nullptr};
  LV2UI_Widget w = nullptr;
  LV2UI_Handle h = d->instantiate(d, "urn:orvantine:quorvane", kBundle.c_str(), Host::Write, &host,
                                  &w, onlyIdle);
  ASSERT_TRUE(h);
  auto* show = static_cast<const LV2UI_Show_Interface*>(d->extension_data(LV2_UI__showInterface));
  auto* idle = static_cast<const LV2UI_Idle_Interface*>(d->extension_data(LV2_UI__idleInterface));
  ASSERT_TRUE(show && idle);
  const std::vector<Window> before = TopLevels(dpy);
  ASSERT_EQ(show->show(h), 0);
  Window top = 0;
  for (Window c : TopLevels(dpy))
    if (std::find(before.begin(), before.end(), c) == before.end()) top = c;
  ASSERT_NE(top, 0u) << "show made no top-level window";

  std::string type;
  EXPECT_EQ(Property(dpy, top, "WM_NAME", &type), "Quorvane");
  EXPECT_EQ(type, "STRING");
  EXPECT_EQ(Property(dpy, top, "_NET_WM_NAME", &type), "Quorvane");
  EXPECT_EQ(type, "UTF8_STRING");
  XClassHint cls{nullptr, nullptr};
  ASSERT_TRUE(XGetClassHint(dpy, top, &cls));
  EXPECT_STREQ(cls.res_name, "Quorvane");
  EXPECT_STREQ(cls.res_class, "Quorvane");
  XFree(cls.res_name);
  XFree(cls.res_class);
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(dpy, top, &hints, &supplied));
  EXPECT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
  EXPECT_EQ(hints.min_width, kW);
  EXPECT_EQ(hints.min_height, kH);
  EXPECT_EQ(hints.max_width, kW);
  EXPECT_EQ(hints.max_height, kH);
  Atom* protocols = nullptr;
  int nProtocols = 0;
  const Atom wmDelete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
  ASSERT_TRUE(XGetWMProtocols(dpy, top, &protocols, &nProtocols));
  EXPECT_NE(std::find(protocols, protocols + nProtocols, wmDelete), protocols + nProtocols);
  XFree(protocols);

  // The window manager's close, as a window manager sends it: the editor
  // closes as hide closes it, and idle says so.
  EXPECT_EQ(idle->idle(h), 0);
  XEvent ev;
  std::memset(&ev, 0, sizeof ev);
  ev.xclient.type = ClientMessage;
  ev.xclient.window = top;
  ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(wmDelete);
  ev.xclient.data.l[1] = CurrentTime;
  ASSERT_TRUE(XSendEvent(dpy, top, False, NoEventMask, &ev));
  XSync(dpy, False);
  int r = 0;
  for (int i = 0; i < 200 && (r = idle->idle(h)) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(r, 1);
  EXPECT_EQ(TopLevels(dpy), before) << "the window is gone";
  EXPECT_EQ(show->hide(h), 0) << "the host's hide afterwards is harmless";
  // Shown again, it opens anew.
  ASSERT_EQ(show->show(h), 0);
  EXPECT_EQ(idle->idle(h), 0);
  EXPECT_EQ(TopLevels(dpy).size(), before.size() + 1);
  d->cleanup(h);
  EXPECT_EQ(TopLevels(dpy), before);
  EXPECT_TRUE(host.writes.empty());
}

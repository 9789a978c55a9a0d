// The snapshot takes the UI's own window, not the parent it sits in: the
// parent is as large as the screen, since an X11 UI sizes itself and a
// window clipped by its parent cannot be read whole.
#include "Lv2UiSnapshot.h"

#include "Lv2Ui.h"
#include "Signals.h"
#include "Snapshot.h"
#include "ToolError.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace aaxtool
{
namespace
{
// Xlib's default ends the process on a protocol error, the UI's own
// connection included; the snapshot names the first one instead.
std::string gXError;
int RecordXError(Display* d, XErrorEvent* e)
{
  if (gXError.empty())
  {
    char text[128] = "";
    XGetErrorText(d, e->error_code, text, sizeof text);
    gXError = std::string(text) + " in request " + std::to_string(e->request_code);
  }
  return 0;
}

struct DisplayClose
{
  Display* d;
  unsigned long parent;
  XErrorHandler previous;
  ~DisplayClose()
  {
    if (parent) XDestroyWindow(d, parent);
    XCloseDisplay(d);
    XSetErrorHandler(previous);
  }
};

long NowMs()
{
  using namespace std::chrono;
  return static_cast<long>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Idles the UI and drains the parent's events for ms: a UI the host drives
// draws only from idle, and a toolkit's own thread needs a few frames.
void Settle(Display* d, Lv2X11Ui& ui, int ms)
{
  for (const long end = NowMs() + ms; NowMs() < end;)
  {
    ui.Idle();
    while (XPending(d))
    {
      XEvent e;
      XNextEvent(d, &e);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool Viewable(Display* d, Window w)
{
  XWindowAttributes a;
  return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

// The UI's window: its widget, else the parent's first child.
Window UiWindow(Display* d, Lv2X11Ui& ui, Window parent)
{
  if (ui.Window()) return ui.Window();
  Window root = 0, up = 0, *children = nullptr;
  unsigned n = 0;
  Window found = 0;
  if (XQueryTree(d, parent, &root, &up, &children, &n) && n > 0) found = children[0];
  if (children) XFree(children);
  return found;
}

std::string UiList(const std::vector<Lv2UiInfo>& uis)
{
  if (uis.empty()) return "none";
  std::string list;
  for (const Lv2UiInfo& u : uis)
  {
    const size_t hash = u.type.find('#');
    list += (list.empty() ? "" : ", ") + u.uri + " (" +
            (hash == std::string::npos ? u.type : u.type.substr(hash + 1)) + ")";
  }
  return list;
}

void WritePng(const std::string& path, int w, int h, const std::vector<unsigned char>& rgb)
{
  std::string temp;
  const int fd = CreateTemporaryFile(path, &temp);
  if (fd < 0) Fail(path + ": cannot write (" + std::strerror(errno) + ")");
  FILE* f = fdopen(fd, "wb");
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(w);
  img.height = static_cast<png_uint_32>(h);
  img.format = PNG_FORMAT_RGB;
  bool ok = f && png_image_write_to_stdio(&img, f, 0, rgb.data(), 0, nullptr);
  ok = (f ? std::fclose(f) == 0 : close(fd) == 0) && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0)
  {
    const int err = errno;
    std::remove(temp.c_str());
    ForgetTemporaryFile(temp);
    Fail(path + ": writing the PNG failed (" + (img.message[0] ? img.message : std::strerror(err)) +
         ")");
  }
  ForgetTemporaryFile(temp);
}
} // namespace

void SnapshotLv2Ui(Lv2World& w, Lv2Instance& inst, const std::string& pngPath)
{
  const std::vector<Lv2UiInfo> uis = Lv2Uis(w, true);
  if (uis.empty()) Fail(w.Uri() + " has no X11 UI (its UIs: " + UiList(Lv2Uis(w, false)) + ")");
  const Lv2UiInfo& info = uis[0];
  const std::string unoffered = Lv2UiMissingFeature(info);
  if (!unoffered.empty())
    Fail(w.Uri() + ": its UI " + info.uri + " requires " + unoffered +
         ", which the tool does not offer");

  XSession session; // the user's display, else an Xvfb of the run's own
  Display* d = XOpenDisplay(nullptr);
  if (!d) Fail("cannot open the X display for " + w.Uri() + "'s UI");
  gXError.clear();
  DisplayClose closer{d, 0, XSetErrorHandler(RecordXError)};
  const int screen = DefaultScreen(d);
  closer.parent = XCreateSimpleWindow(
      d, RootWindow(d, screen), 0, 0, static_cast<unsigned>(DisplayWidth(d, screen)),
      static_cast<unsigned>(DisplayHeight(d, screen)), 0, 0, BlackPixel(d, screen));
  XStoreName(d, closer.parent, w.Name().c_str());
  XMapRaised(d, closer.parent);
  XSync(d, False);

  Lv2X11Ui ui(w, inst, info, closer.parent);
  if (!ui.Ok()) Fail(w.Uri() + ": its UI " + info.uri + " did not instantiate");
  ui.SendControls();
  Window win = 0;
  for (const long end = NowMs() + 5000; NowMs() < end && !(win && Viewable(d, win));)
  {
    Settle(d, ui, 20);
    win = UiWindow(d, ui, closer.parent);
  }
  if (!win || !Viewable(d, win))
    Fail(w.Uri() + ": its UI " + info.uri + " showed no window within 5 s");
  // The values again once the window is up: some UIs drop what arrives
  // before their widgets exist.
  ui.SendControls();
  Settle(d, ui, 400);

  XSync(d, False);
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, win, &a) || a.width <= 0 || a.height <= 0)
    Fail(pngPath + ": the UI's window has no size");
  XImage* img = XGetImage(d, win, 0, 0, static_cast<unsigned>(a.width),
                          static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
  if (!img)
    Fail(pngPath + ": the UI's window could not be read" +
         (gXError.empty() ? "" : " (" + gXError + ")"));
  std::vector<unsigned char> rgb(static_cast<size_t>(a.width) * a.height * 3);
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
    {
      const unsigned long p = XGetPixel(img, x, y);
      unsigned char* o = &rgb[(static_cast<size_t>(y) * a.width + x) * 3];
      o[0] = static_cast<unsigned char>((p & img->red_mask) >> __builtin_ctzl(img->red_mask));
      o[1] = static_cast<unsigned char>((p & img->green_mask) >> __builtin_ctzl(img->green_mask));
      o[2] = static_cast<unsigned char>((p & img->blue_mask) >> __builtin_ctzl(img->blue_mask));
    }
  XDestroyImage(img);
  WritePng(pngPath, a.width, a.height, rgb);
}
} // namespace aaxtool

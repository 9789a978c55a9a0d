// What the editor command needs of X11: a display (the user's, or an Xvfb of
// its own for the run), a top-level host window, real pointer clicks through
// XTEST, and the window's pixels written as a PNG.
#pragma once

#include <string>

namespace aaxtool
{
class XSession
{
public:
  // Uses DISPLAY when set; otherwise starts Xvfb and points DISPLAY at it
  // for this process (the editor opens its own connection from it). Fails
  // with a line naming what is missing.
  XSession();
  // Closes the connection and stops the Xvfb it started.
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool OwnServer() const { return mXvfb > 0; }

  // A mapped top-level window of w x h pixels titled title. [host]
  void OpenWindow(int w, int h, const std::string& title);
  void* NativeView() const; // the window id as the view container's native view
  // Waits until the editor's child window is viewable; false after timeoutMs.
  bool WaitForEditor(int timeoutMs);
  // Pointer press and release at (x, y) of the host window, as real events.
  void Click(int x, int y);
  // Writes the host window's pixels (editor included) to path through a
  // temporary file. Fails naming path.
  void Snapshot(const std::string& path);
  // Pumps the host window's events for up to ms; false once the user closed
  // the window (window manager's close, or destroyed).
  bool Pump(int ms);

private:
  int mXvfb = -1; // pid
  void* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mDeleteAtom = 0;
  int mWidth = 0, mHeight = 0;
};
} // namespace aaxtool

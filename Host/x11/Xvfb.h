// A private X server for a run without a display: Xvfb on a display number
// it picks itself (-displayfd), so parallel runs never collide, and tied to
// the process that started it, so it never outlives that process, however
// the process ends (an exit, a crash, SIGKILL).
#pragma once

#include <string>

namespace aaxtool
{
struct XvfbProcess
{
  int pid = -1;
  std::string display; // ":N"
};

// Starts Xvfb with one screen of screen ("1280x1024x24") and waits up to
// 10 s until it accepts clients. The server gets SIGTERM when this process
// ends. False with the reason in *why. [any]
bool StartXvfb(const std::string& screen, XvfbProcess* out, std::string* why);
// Terminates the server and waits for it; nothing when it is not running. [any]
void StopXvfb(XvfbProcess* x);
} // namespace aaxtool

#pragma once
// Window tests run against the test program's own Xvfb and are skipped,
// saying why, only when that server cannot start.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "xvfb_harness.h"

class X11Test : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string why;
    if (!SharedXvfb(&why)) GTEST_SKIP() << "no X server for window tests: " << why;
  }
};

// Polls cond every millisecond for up to timeoutMs.
inline bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = 3000)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end)
  {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return cond();
}

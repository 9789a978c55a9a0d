#include "Progress.h"

#include "Signals.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

namespace aaxtool
{
Progress::Progress(int64_t totalFrames, double sampleRate, bool show, int files)
    : mTotal(totalFrames), mRate(sampleRate > 0 ? sampleRate : 1.0), mShow(show), mFiles(files),
      mStart(std::chrono::steady_clock::now()), mLastDraw(mStart)
{
}

void Progress::Advance(int64_t frames)
{
  mDone.fetch_add(frames, std::memory_order_relaxed);
  if (mShow) Draw(false);
}

void Progress::Started(const std::string& name)
{
  std::lock_guard<std::mutex> lock(mNamesMutex);
  mActive.push_back(name);
}

void Progress::Ended(const std::string& name)
{
  std::lock_guard<std::mutex> lock(mNamesMutex);
  for (auto it = mActive.begin(); it != mActive.end(); ++it)
    if (*it == name)
    {
      mActive.erase(it);
      break;
    }
  ++mFinished;
}

std::string Progress::Duration(double seconds)
{
  if (!std::isfinite(seconds) || seconds < 0) return "?";
  const long s = std::lround(seconds);
  char buf[32];
  if (s >= 3600)
    std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
  return buf;
}

void Progress::Draw(bool force)
{
  std::unique_lock<std::mutex> lock(mMutex, std::try_to_lock);
  if (!lock.owns_lock()) return;
  const auto now = std::chrono::steady_clock::now();
  if (!force && now - mLastDraw < std::chrono::milliseconds(100)) return;
  mLastDraw = now;
  const int64_t done = mDone.load(std::memory_order_relaxed);
  const double frac = mTotal > 0 ? double(done) / double(mTotal) : 1.0;
  const double wall = std::chrono::duration<double>(now - mStart).count();
  const double audio = double(done) / mRate;
  const double speed = wall > 0 ? audio / wall : 0.0;
  const double left = speed > 0 ? (double(mTotal - done) / mRate) / speed : NAN;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(frac * kWidth);
  std::string bar(static_cast<size_t>(filled), '#');
  bar.resize(kWidth, '.');
  std::string files;
  if (mFiles > 1)
  {
    std::lock_guard<std::mutex> names(mNamesMutex);
    files = std::to_string(mFinished) + "/" + std::to_string(mFiles) + " done";
    for (const std::string& n : mActive)
      files += (&n == &mActive.front() ? ", now " : " ") + n;
    // One terminal line: the names are cut, the numbers never.
    constexpr size_t kNamesWidth = 40;
    if (files.size() > kNamesWidth) files = files.substr(0, kNamesWidth - 3) + "...";
  }
  std::fprintf(stderr, "\r\033[K[%s] %3d%%  %6.1fx real time  %s left  %s", bar.c_str(),
               static_cast<int>(frac * 100), speed, Duration(left).c_str(), files.c_str());
  std::fflush(stderr);
  mDrawn = true;
  SetProgressLineShown(true);
}

std::string Progress::Finish()
{
  if (mShow && mDrawn)
  {
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    SetProgressLineShown(false);
  }
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - mStart).count();
  const int64_t done = mDone.load();
  const double audio = double(done) / mRate;
  char buf[160];
  std::snprintf(buf, sizeof buf, "%lld frames, %.2f s of audio in %.2f s (%.1fx real time)",
                static_cast<long long>(done), audio, wall, wall > 0 ? audio / wall : 0.0);
  return buf;
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }
} // namespace aaxtool

// The render progress bar (on stderr, only when it is a terminal) and the
// one-line summary. Several render threads may report into one bar.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace aaxtool
{
class Progress
{
public:
  // totalFrames over every file; sampleRate for the speed (the first file's).
  // show: draw the bar (the caller checks the terminal and --quiet).
  Progress(int64_t totalFrames, double sampleRate, bool show, int files = 1);

  // [any] frames more are done; redraws at most ten times a second.
  void Advance(int64_t frames);
  // [any] A file's render began or ended; the bar names the files being
  // rendered (a batch only: files > 1).
  void Started(const std::string& name);
  void Ended(const std::string& name);
  // [host] Clears the bar; the summary line of the whole run.
  std::string Finish();

  // "12.3x" style speed text and "1:05" style durations, for tests and the bar.
  static std::string Duration(double seconds);

private:
  void Draw(bool force);

  const int64_t mTotal;
  const double mRate;
  const bool mShow;
  const int mFiles;
  std::atomic<int64_t> mDone{0};
  std::mutex mMutex;
  std::chrono::steady_clock::time_point mStart, mLastDraw;
  bool mDrawn = false;
  std::mutex mNamesMutex;
  std::vector<std::string> mActive; // under mNamesMutex
  int mFinished = 0;                // under mNamesMutex
};

// True when standard error is a terminal.
bool StderrIsTerminal();
} // namespace aaxtool

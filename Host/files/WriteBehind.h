// Writes an output file's blocks on a thread of its own, so reading and
// rendering the next block overlaps writing the last: a long render costs
// about the larger of the two instead of their sum. A few buffers circulate;
// the render waits only when all of them are still being written.
#pragma once

#include "AudioFile.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace aaxtool
{
class WriteBehind
{
public:
  // Buffers of blockFrames interleaved frames of channels channels. [host]
  WriteBehind(AudioWriter& out, int channels, int64_t blockFrames, int buffers = 3);
  // Stops the thread; blocks not yet written are dropped (a failed render's
  // output is removed anyway).
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // [host] A free buffer; waits while every buffer is queued. Throws the
  // write error of an earlier block.
  float* Next();
  // [host] Queues frames frames of the buffer Next gave, from frame first.
  void Submit(int64_t first, int64_t frames);
  // [host] Waits until everything queued is written; throws a write error.
  void Finish();

private:
  struct Block
  {
    int index;
    int64_t first, frames;
  };
  void Loop();
  void ThrowIfFailed();

  AudioWriter& mOut;
  const int mChannels;
  std::vector<std::vector<float>> mBuffers;
  std::vector<int> mFree;
  std::deque<Block> mQueue;
  int mCurrent = -1;
  bool mWriting = false, mStop = false;
  std::exception_ptr mError;
  std::mutex mMutex;
  std::condition_variable mChanged;
  std::thread mThread;
};
} // namespace aaxtool

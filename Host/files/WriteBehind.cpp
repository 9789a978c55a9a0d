#include "WriteBehind.h"

namespace aaxtool
{
WriteBehind::WriteBehind(AudioWriter& out, int channels, int64_t blockFrames, int buffers)
    : mOut(out), mChannels(channels)
{
  for (int i = 0; i < buffers; ++i)
  {
    mBuffers.emplace_back(static_cast<size_t>(blockFrames * channels));
    mFree.push_back(i);
  }
  mThread = std::thread([this] { Loop(); });
}

WriteBehind::~WriteBehind()
{
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mStop = true;
  }
  mChanged.notify_all();
  mThread.join();
}

void WriteBehind::ThrowIfFailed()
{
  if (mError) std::rethrow_exception(mError);
}

float* WriteBehind::Next()
{
  std::unique_lock<std::mutex> lock(mMutex);
  mChanged.wait(lock, [this] { return !mFree.empty() || mError; });
  ThrowIfFailed();
  mCurrent = mFree.back();
  mFree.pop_back();
  return mBuffers[static_cast<size_t>(mCurrent)].data();
}

void WriteBehind::Submit(int64_t first, int64_t frames)
{
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mQueue.push_back({mCurrent, first, frames});
    mCurrent = -1;
  }
  mChanged.notify_all();
}

void WriteBehind::Finish()
{
  std::unique_lock<std::mutex> lock(mMutex);
  mChanged.wait(lock, [this] { return (mQueue.empty() && !mWriting) || mError; });
  ThrowIfFailed();
}

void WriteBehind::Loop()
{
  std::unique_lock<std::mutex> lock(mMutex);
  for (;;)
  {
    mChanged.wait(lock, [this] { return mStop || !mQueue.empty(); });
    if (mStop) return;
    const Block b = mQueue.front();
    mQueue.pop_front();
    mWriting = true;
    lock.unlock();
    std::exception_ptr error;
    try
    {
      mOut.Write(mBuffers[static_cast<size_t>(b.index)].data() + b.first * mChannels, b.frames);
    }
    catch (...)
    {
      error = std::current_exception();
    }
    lock.lock();
    mWriting = false;
    mFree.push_back(b.index);
    if (error && !mError) mError = error;
    mChanged.notify_all();
  }
}
} // namespace aaxtool

#include "IScratchBlock.h"

#include <cstdint>

void IScratchBlock::Resize(int nBuffers, int frames)
{
  const size_t n = nBuffers > 0 ? static_cast<size_t>(nBuffers) : 0u;
  const size_t nFrames = frames > 0 ? static_cast<size_t>(frames) : 0u;
  std::vector<double*> buffers(n, nullptr);
  std::vector<unsigned char> storage;
  if (n && nFrames)
  {
    const size_t bytes = (nFrames * sizeof(double) + kLineBytes - 1) / kLineBytes * kLineBytes;
    size_t spread = kPageBytes / n / kLineBytes * kLineBytes;
    if (spread < kLineBytes) spread = kLineBytes;
    // Offsets from a page-aligned origin: buffer k starts at the first
    // address past buffer k - 1 whose offset in its page is k * spread.
    std::vector<size_t> offsets(n);
    size_t end = 0;
    for (size_t k = 0; k < n; ++k)
    {
      const size_t want = (k * spread) % kPageBytes;
      offsets[k] = end + (want + kPageBytes - end % kPageBytes) % kPageBytes;
      end = offsets[k] + bytes;
    }
    storage.assign(end + kPageBytes, 0); // a page of room to align the origin
    const uintptr_t at = reinterpret_cast<uintptr_t>(storage.data());
    unsigned char* origin = storage.data() + (kPageBytes - at % kPageBytes) % kPageBytes;
    for (size_t k = 0; k < n; ++k)
      buffers[k] = reinterpret_cast<double*>(origin + offsets[k]);
  }
  mStorage.swap(storage);
  mBuffers.swap(buffers);
  mFrames = n ? static_cast<int>(nFrames) : 0;
}

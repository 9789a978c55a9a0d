#pragma once
// Growable buffers: WDL_HeapBuf holds bytes, WDL_TypedBuf<T> an array of plain
// values. Resize keeps the existing contents; new bytes are zero. Growing may
// allocate, so audio code sizes its buffers ahead of time and never resizes.

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

class WDL_HeapBuf
{
public:
  WDL_HeapBuf() = default;

  void* Get() { return mBytes.empty() ? nullptr : mBytes.data(); }
  const void* Get() const { return mBytes.empty() ? nullptr : mBytes.data(); }
  int GetSize() const { return static_cast<int>(mBytes.size()); }

  // Resizes to n bytes (n < 0 counts as 0); returns the new storage, or null
  // when the size is 0.
  void* Resize(int n)
  {
    mBytes.resize(n > 0 ? static_cast<size_t>(n) : 0u);
    return Get();
  }

  // Appends n bytes (zeros when data is null); returns a pointer to them.
  void* Add(const void* data, int n)
  {
    if (n <= 0) return nullptr;
    const size_t at = mBytes.size();
    mBytes.resize(at + static_cast<size_t>(n));
    if (data) std::memcpy(mBytes.data() + at, data, static_cast<size_t>(n));
    return mBytes.data() + at;
  }

private:
  std::vector<unsigned char> mBytes;
};

template <class T> class WDL_TypedBuf
{
  static_assert(std::is_trivially_copyable<T>::value, "WDL_TypedBuf holds plain values");

public:
  WDL_TypedBuf() = default;

  T* Get() { return mItems.empty() ? nullptr : mItems.data(); }
  const T* Get() const { return mItems.empty() ? nullptr : mItems.data(); }
  int GetSize() const { return static_cast<int>(mItems.size()); }

  // Resizes to n values (n < 0 counts as 0), keeping the first ones; values
  // added at the end are zero. Returns the storage (null when empty).
  T* Resize(int n)
  {
    mItems.resize(n > 0 ? static_cast<size_t>(n) : 0u, T());
    return Get();
  }

  // Appends one value; returns a pointer to it.
  T* Add(const T& v)
  {
    mItems.push_back(v);
    return &mItems.back();
  }

private:
  std::vector<T> mItems;
};

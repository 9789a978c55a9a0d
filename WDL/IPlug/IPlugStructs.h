#pragma once
// Plain records shared by the plug-in base and its wrappers: the state byte
// buffer, presets, MIDI events and host time information.

#include "wdlstring.h"

#include <cstdint>
#include <cstring>
#include <vector>

// A growable byte buffer in native (little-endian) order with no padding.
// Readers take a start position and return the position after what they
// read, or -1 when the data is too short or the start is negative; a reader
// given -1 returns -1, so a chain of reads is checked once at the end.
class ByteChunk
{
public:
  ByteChunk() = default;

  // Appends bytes; returns the new size.
  int PutBytes(const void* pSrc, int nBytesToCopy)
  {
    if (nBytesToCopy > 0)
    {
      const auto* p = static_cast<const unsigned char*>(pSrc);
      mBytes.insert(mBytes.end(), p, p + nBytesToCopy);
    }
    return Size();
  }

  // Copies length bytes from start into pDest; -1 when start < 0 or the
  // chunk holds fewer bytes (pDest is then untouched).
  int GetBytes(void* pDest, int nBytesToCopy, int startPos) const
  {
    if (startPos < 0 || nBytesToCopy < 0 ||
        static_cast<int64_t>(startPos) + nBytesToCopy > static_cast<int64_t>(Size()))
      return -1;
    if (nBytesToCopy) std::memcpy(pDest, mBytes.data() + startPos, static_cast<size_t>(nBytesToCopy));
    return startPos + nBytesToCopy;
  }

  // 4- or 8-byte numbers (int, unsigned, double) in native order.
  template <class T> int Put(const T* pVal) { return PutBytes(pVal, static_cast<int>(sizeof(T))); }
  template <class T> int Get(T* pVal, int startPos) const
  {
    return GetBytes(pVal, static_cast<int>(sizeof(T)), startPos);
  }

  // A 32-bit length, then the text's bytes without a terminator.
  int PutStr(const char* str)
  {
    const int slen = static_cast<int>(std::strlen(str));
    Put(&slen);
    return PutBytes(str, slen);
  }

  // Reads a string written by PutStr. When the text does not fit in the
  // chunk, *pStr is left unchanged and the returned position lies past the
  // end, so the next read fails. A negative stored length is malformed and
  // gives -1.
  int GetStr(WDL_String* pStr, int startPos) const
  {
    int len = 0;
    const int strStartPos = Get(&len, startPos);
    if (strStartPos < 0) return -1;
    if (len < 0) return -1;
    const int64_t end = static_cast<int64_t>(strStartPos) + len;
    if (end > INT32_MAX) return -1;
    if (end <= Size())
    {
      if (len == 0)
        pStr->Set("");
      else
        pStr->Set(reinterpret_cast<const char*>(mBytes.data() + strStartPos), len);
    }
    return static_cast<int>(end);
  }

  // One byte, 1 or 0; any non-zero byte reads as true.
  int PutBool(bool b)
  {
    const unsigned char c = b ? 1 : 0;
    return PutBytes(&c, 1);
  }
  int GetBool(bool* pVal, int startPos) const
  {
    if (startPos < 0 || startPos >= Size()) return -1;
    *pVal = mBytes[static_cast<size_t>(startPos)] != 0;
    return startPos + 1;
  }

  // Appends another chunk's bytes, no length prefix; returns the new size.
  int PutChunk(const ByteChunk* pRHS) { return PutBytes(pRHS->GetBytes(), pRHS->Size()); }

  void Clear() { mBytes.clear(); }
  int Size() const { return static_cast<int>(mBytes.size()); }

  // Resizes (new bytes are zero); returns the old size.
  int Resize(int newSize)
  {
    const int n = Size();
    mBytes.resize(newSize > 0 ? static_cast<size_t>(newSize) : 0u, 0);
    return n;
  }

  unsigned char* GetBytes() { return mBytes.empty() ? nullptr : mBytes.data(); }
  const unsigned char* GetBytes() const { return mBytes.empty() ? nullptr : mBytes.data(); }

  bool IsEqual(const ByteChunk* pRHS) const { return pRHS && pRHS->mBytes == mBytes; }

private:
  std::vector<unsigned char> mBytes;
};

// One preset: a name and the state it holds, written by SerializeState.
struct IPreset
{
  static constexpr int kMaxPresetNameLen = 256;

  bool mInitialized = false;
  char mName[kMaxPresetNameLen];
  ByteChunk mChunk;

  // The index is accepted for symmetry with the preset list and not used.
  explicit IPreset(int /*idx*/) { std::strcpy(mName, "empty"); }
};

// A MIDI event; the offset counts frames from the start of the current block.
struct IMidiMsg
{
  int mOffset = 0;
  uint8_t mStatus = 0, mData1 = 0, mData2 = 0;

  IMidiMsg() = default;
  IMidiMsg(int offset, uint8_t status, uint8_t data1, uint8_t data2)
      : mOffset(offset), mStatus(status), mData1(data1), mData2(data2)
  {
  }
};

// A system-exclusive message; the bytes belong to whoever built the record.
struct ISysEx
{
  int mOffset = 0;
  int mSize = 0;
  const uint8_t* mData = nullptr;
};

// Host time information; positions in quarter notes unless stated.
struct ITimeInfo
{
  double mTempo = 120.0;
  double mSamplePos = -1.0;
  double mPPQPos = -1.0;
  double mLastBar = -1.0;
  double mCycleStart = -1.0;
  double mCycleEnd = -1.0;
  int mNumerator = 4;
  int mDenominator = 4;
  bool mTransportIsRunning = false;
  bool mTransportLoopEnabled = false;
};

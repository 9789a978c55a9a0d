// AAX_CPacket: the coefficient packet of one data port of the algorithm.
#pragma once

#include "AAX.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

// Filled by a packet handler and posted by the packet dispatcher, both under
// the dispatcher's lock. Not safe for concurrent use on its own. [host]
class AAX_CPacket
{
public:
  // Owns the packet's bytes; starts with room for 8 (a double).
  class SPacketData
  {
  public:
    SPacketData() : mData(8, 0) {}
    // The start of the buffer.
    const void* Get() const { return mData.data(); }
    // Resizes the buffer to maxSize bytes and returns its start.
    void* Get(size_t maxSize)
    {
      mData.resize(maxSize);
      return mData.data();
    }

  private:
    std::vector<uint8_t> mData;
  };

  // A new packet is dirty and empty (size 0).
  explicit AAX_CPacket(AAX_CFieldIndex inPortID)
      : mID(inPortID), mDirty(true), mDataSize(0), mPacketData()
  {
  }

  // For int32_t, float or double: the size becomes sizeof(T) and the buffer is
  // resized to it; the typed start is returned for the handler to write. For
  // const void: the buffer as it is, nothing changed.
  template <typename T> T* GetPtr()
  {
    if constexpr (std::is_same_v<T, const void>)
    {
      return mPacketData.Get();
    }
    else
    {
      static_assert(std::is_same_v<T, int32_t> || std::is_same_v<T, float> ||
                        std::is_same_v<T, double>,
                    "packets hold an int32_t, a float or a double");
      mDataSize = sizeof(T);
      return static_cast<T*>(mPacketData.Get(sizeof(T)));
    }
  }

  AAX_CFieldIndex GetID() const { return mID; }
  uint32_t GetSize() const { return mDataSize; }
  bool IsDirty() const { return mDirty; }
  void SetDirty(bool inDirty) { mDirty = inDirty; }

private:
  AAX_CFieldIndex mID;
  bool mDirty;
  uint32_t mDataSize;
  SPacketData mPacketData;
};

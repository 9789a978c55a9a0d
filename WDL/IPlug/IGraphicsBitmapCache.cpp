// The process-wide picture cache shared by every editor of the module, and
// the IGraphics operations on it.
#include "IGraphics.h"

#include "lice.h"

#include <cassert>
#include <mutex>
#include <utility>
#include <vector>

namespace
{
// Entries (key, bitmap); the cache owns the bitmaps and deletes them when the
// module unloads (static destruction).
class BitmapStorage
{
public:
  ~BitmapStorage()
  {
    for (auto& e : mEntries) delete e.second;
  }

  LICE_IBitmap* Find(int key)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    return FindLocked(key);
  }

  // Adds bitmap under key unless another thread added that key first (for
  // keys other than -1); returns the bitmap now cached, deleting the loser.
  LICE_IBitmap* AddOrFind(LICE_IBitmap* bitmap, int key)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (key != -1)
      if (LICE_IBitmap* existing = FindLocked(key))
      {
        if (existing != bitmap) delete bitmap;
        return existing;
      }
    mEntries.emplace_back(key, bitmap);
    return bitmap;
  }

  // Deletes the first entry holding bitmap and the bitmap itself.
  void Remove(LICE_IBitmap* bitmap)
  {
    std::lock_guard<std::mutex> lock(mMutex);
    for (auto it = mEntries.begin(); it != mEntries.end(); ++it)
      if (it->second == bitmap)
      {
        mEntries.erase(it);
        delete bitmap;
        return;
      }
  }

private:
  LICE_IBitmap* FindLocked(int key)
  {
    for (auto& e : mEntries)
      if (e.first == key) return e.second;
    return nullptr;
  }

  std::mutex mMutex;
  std::vector<std::pair<int, LICE_IBitmap*>> mEntries;
};

BitmapStorage s_bitmapCache;
} // namespace

IBitmap IGraphics::LoadIBitmap(int ID, const char* name, int nStates, bool framesAreHorizontal)
{
  LICE_IBitmap* lb = s_bitmapCache.Find(ID);
  if (!lb)
  {
    // Decoded outside the lock so that editors do not wait on each other's
    // files; a racing load of the same id keeps the first one cached.
    lb = OSLoadBitmap(ID, name);
    const bool imgResourceFound = lb != nullptr;
    assert(imgResourceFound);
    if (!imgResourceFound) return IBitmap(nullptr, 0, 0, nStates, framesAreHorizontal);
    lb = s_bitmapCache.AddOrFind(lb, ID);
  }
  return IBitmap(lb, lb->getWidth(), lb->getHeight(), nStates, framesAreHorizontal);
}

void IGraphics::RetainBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData) s_bitmapCache.AddOrFind(pBitmap->mData, -1);
}

void IGraphics::ReleaseBitmap(IBitmap* pBitmap)
{
  if (pBitmap && pBitmap->mData) s_bitmapCache.Remove(pBitmap->mData);
}

IBitmap IGraphics::ScaleBitmap(IBitmap* pIBitmap, int destW, int destH)
{
  LICE_IBitmap* pSrc = pIBitmap ? pIBitmap->mData : nullptr;
  if (!pSrc || destW < 1 || destH < 1) return IBitmap();
  auto* pDest = new LICE_MemBitmap(destW, destH);
  LICE_ScaledBlit(pDest, pSrc, 0, 0, destW, destH, 0.0f, 0.0f, (float)pSrc->getWidth(),
                  (float)pSrc->getHeight(), 1.0f, LICE_BLIT_MODE_COPY | LICE_BLIT_FILTER_BILINEAR);
  IBitmap bm(pDest, destW, destH, pIBitmap->N);
  RetainBitmap(&bm);
  return bm;
}

IBitmap IGraphics::CropBitmap(IBitmap* pIBitmap, IRECT* pR)
{
  LICE_IBitmap* pSrc = pIBitmap ? pIBitmap->mData : nullptr;
  if (!pSrc || !pR || pR->W() < 1 || pR->H() < 1) return IBitmap();
  const int w = pR->W(), h = pR->H();
  auto* pDest = new LICE_MemBitmap(w, h);
  LICE_Blit(pDest, pSrc, 0, 0, pR->L, pR->T, w, h, 1.0f, LICE_BLIT_MODE_COPY);
  IBitmap bm(pDest, w, h, pIBitmap->N);
  RetainBitmap(&bm);
  return bm;
}

#pragma once
// WDL_PtrList<T>: a list of pointers. The list never deletes its items by
// itself; owners call Empty(true) or Delete(i, true) (or use
// WDL_PtrList_DeleteOnDestroy) so that ownership is visible at the call site.

#include <cstddef>
#include <vector>

template <class T> class WDL_PtrList
{
public:
  WDL_PtrList() = default;
  WDL_PtrList(const WDL_PtrList&) = delete;
  WDL_PtrList& operator=(const WDL_PtrList&) = delete;

  int GetSize() const { return static_cast<int>(mItems.size()); }

  // The item at index, or null when the index is out of range.
  T* Get(int index) const
  {
    return (index >= 0 && index < GetSize()) ? mItems[static_cast<size_t>(index)] : nullptr;
  }
  T** GetList() { return mItems.empty() ? nullptr : mItems.data(); }

  T* Add(T* item)
  {
    mItems.push_back(item);
    return item;
  }

  // Inserts before index; an index past the end (or negative) appends.
  T* Insert(int index, T* item)
  {
    if (index < 0 || index >= GetSize())
      mItems.push_back(item);
    else
      mItems.insert(mItems.begin() + index, item);
    return item;
  }

  // Replaces the item at an existing index; returns the new item or null.
  T* Set(int index, T* item)
  {
    if (index < 0 || index >= GetSize()) return nullptr;
    mItems[static_cast<size_t>(index)] = item;
    return item;
  }

  int Find(const T* item) const
  {
    for (size_t i = 0; i < mItems.size(); ++i)
      if (mItems[i] == item) return static_cast<int>(i);
    return -1;
  }

  // Removes the item at index, deleting it when wantDelete is set.
  void Delete(int index, bool wantDelete = false)
  {
    if (index < 0 || index >= GetSize()) return;
    T* item = mItems[static_cast<size_t>(index)];
    mItems.erase(mItems.begin() + index);
    if (wantDelete) delete item;
  }

  // Removes every item, deleting them (last to first) when wantDelete is set.
  void Empty(bool wantDelete = false)
  {
    if (wantDelete)
      for (size_t i = mItems.size(); i-- > 0;) delete mItems[i];
    mItems.clear();
  }

private:
  std::vector<T*> mItems;
};

// A WDL_PtrList that deletes its items when it is destroyed.
template <class T> class WDL_PtrList_DeleteOnDestroy : public WDL_PtrList<T>
{
public:
  WDL_PtrList_DeleteOnDestroy() = default;
  ~WDL_PtrList_DeleteOnDestroy() { this->Empty(true); }
};

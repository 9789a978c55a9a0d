// ACFPtr: a counted reference to a component interface.
#pragma once

#include "acfunknown.h"

#include <utility>

// Holds one reference to a T (an IACFUnknown-derived interface) and releases it
// when destroyed or reset. Each way in says whether it adds a reference:
//   ACFPtr<T>(src, iid)      QueryInterface on src; the answer carries the reference
//   ACFPtr<T>::Adopt(p)      takes over a reference the caller already owns
//   ACFPtr<T>::Share(p)      adds a reference of its own
// A failed query leaves the pointer null.
template <class T> class ACFPtr
{
public:
  ACFPtr() = default;

  ACFPtr(IACFUnknown* src, const acfIID& iid)
  {
    if (src)
    {
      void* p = nullptr;
      if (src->QueryInterface(iid, &p) == 0 && p) mPtr = static_cast<T*>(p);
    }
  }

  static ACFPtr Adopt(T* p)
  {
    ACFPtr r;
    r.mPtr = p;
    return r;
  }

  static ACFPtr Share(T* p)
  {
    if (p) p->AddRef();
    return Adopt(p);
  }

  ACFPtr(const ACFPtr& other) : mPtr(other.mPtr)
  {
    if (mPtr) mPtr->AddRef();
  }
  ACFPtr(ACFPtr&& other) noexcept : mPtr(other.mPtr) { other.mPtr = nullptr; }
  ACFPtr& operator=(ACFPtr other) noexcept
  {
    std::swap(mPtr, other.mPtr);
    return *this;
  }
  ~ACFPtr() { Reset(); }

  void Reset()
  {
    T* p = mPtr;
    mPtr = nullptr;
    if (p) p->Release();
  }

  // Hands the reference to the caller, who must release it.
  T* Detach()
  {
    T* p = mPtr;
    mPtr = nullptr;
    return p;
  }

  T* get() const { return mPtr; }
  T* operator->() const { return mPtr; }
  explicit operator bool() const { return mPtr != nullptr; }

private:
  T* mPtr = nullptr;
};

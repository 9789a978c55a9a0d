// Reference counting, interface answers and call recording shared by the
// stand-in host's components.
#pragma once

#include "ACF/acfunknown.h"

#include <atomic>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace aaxhost
{
// One recorded call of a host operation: its name and its arguments as text
// (numbers in default stream form, texts quoted, null pointers as "null").
struct Call
{
  std::string op;
  std::string args;
};

// A thread-safe list of the calls a component received.
class CallLog
{
public:
  void Add(const std::string& op, const std::string& args);
  std::vector<Call> All() const;
  Call Last() const; // empty op when nothing was recorded
  size_t Count(const std::string& op) const;
  size_t Size() const;
  void Clear();

private:
  mutable std::mutex mMutex;
  std::vector<Call> mCalls;
};

namespace detail
{
inline void Put(std::ostream& os, const char* s)
{
  if (s)
    os << '"' << s << '"';
  else
    os << "null";
}
inline void Put(std::ostream& os, char* s) { Put(os, static_cast<const char*>(s)); }
inline void Put(std::ostream& os, const void* p)
{
  if (p)
    os << p;
  else
    os << "null";
}
inline void Put(std::ostream& os, void* p) { Put(os, static_cast<const void*>(p)); }
inline void Put(std::ostream& os, unsigned char v) { os << static_cast<unsigned>(v); }
inline void Put(std::ostream& os, bool v) { os << (v ? 1 : 0); }
template <class T> void Put(std::ostream& os, const T& v) { os << v; }
} // namespace detail

// "a, b, c" for recording.
template <class... A> std::string Args(const A&... args)
{
  std::ostringstream os;
  int n = 0;
  ((os << (n++ ? ", " : ""), detail::Put(os, args)), ...);
  return os.str();
}

// Host-private identifier: every stand-in component answers it with its own
// Component*, so the host recognises its own components when a module hands
// them back (never given to a module as something to ask for).
extern const acfIID IID_AAXHostComponent;

class Component;
// The host component behind unk as a T (borrowed: the caller holds unk), or
// null when unk is not one of ours or not a T. [any]
template <class T> T* HostComponentOf(IACFUnknown* unk);

// Base of every host component: an atomic reference count that starts at 1
// (the creator's reference) and deletes the object at 0, and QueryInterface
// over the interfaces the component answers (Answer). Counts live components
// so tests can see that every reference was released.
class Component
{
public:
  static int LiveComponents();
  acfUInt32 RefCount() const { return mRefs.load(); }
  // The calls this component received, in order. [any]
  CallLog& Calls() { return mCalls; }

protected:
  Component();
  virtual ~Component();

  // The interface named by iid as this component's pointer, or null. Versions
  // the component is configured not to offer give null.
  virtual void* Answer(const acfIID& iid) = 0;

  ACFRESULT QueryImpl(const acfIID& iid, void** ppOut);
  acfUInt32 AddRefImpl() { return ++mRefs; }
  acfUInt32 ReleaseImpl();

  CallLog mCalls;

private:
  std::atomic<acfUInt32> mRefs{1};
  static std::atomic<int> sLive;
};

// Smart reference for host code: adopts the creator's reference.
template <class T> class Ref
{
public:
  Ref() = default;
  explicit Ref(T* adopted) : mPtr(adopted) {}
  Ref(const Ref& o) : mPtr(o.mPtr)
  {
    if (mPtr) mPtr->AddRef();
  }
  Ref& operator=(Ref o) noexcept
  {
    std::swap(mPtr, o.mPtr);
    return *this;
  }
  ~Ref()
  {
    if (mPtr) mPtr->Release();
  }
  T* get() const { return mPtr; }
  T* operator->() const { return mPtr; }
  T& operator*() const { return *mPtr; }
  explicit operator bool() const { return mPtr != nullptr; }

private:
  T* mPtr = nullptr;
};

template <class T> T* HostComponentOf(IACFUnknown* unk)
{
  void* p = nullptr;
  if (!unk || unk->QueryInterface(IID_AAXHostComponent, &p) != 0 || !p) return nullptr;
  T* t = dynamic_cast<T*>(static_cast<Component*>(p));
  unk->Release(); // the query's reference; the caller's keeps the object alive
  return t;
}

template <class T, class... A> Ref<T> Make(A&&... args)
{
  return Ref<T>(new T(std::forward<A>(args)...));
}
} // namespace aaxhost

// The three IACFUnknown operations of a host component (final overriders for
// every IACFUnknown base of the class).
#define AAXHOST_DECLARE_UNKNOWN()                                                                  \
  ACFRESULT QueryInterface(const acfIID& iid, void** ppOut) override                               \
  {                                                                                                \
    return QueryImpl(iid, ppOut);                                                                  \
  }                                                                                                \
  acfUInt32 AddRef() override { return AddRefImpl(); }                                             \
  acfUInt32 Release() override { return ReleaseImpl(); }

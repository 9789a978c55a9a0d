#include "HostComponent.h"

#include "ACF/acfuids.h"

namespace aaxhost
{
void CallLog::Add(const std::string& op, const std::string& args)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mCalls.push_back({op, args});
}

std::vector<Call> CallLog::All() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mCalls;
}

Call CallLog::Last() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mCalls.empty() ? Call{} : mCalls.back();
}

size_t CallLog::Count(const std::string& op) const
{
  std::lock_guard<std::mutex> lock(mMutex);
  size_t n = 0;
  for (const Call& c : mCalls)
    n += (c.op == op);
  return n;
}

size_t CallLog::Size() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mCalls.size();
}

void CallLog::Clear()
{
  std::lock_guard<std::mutex> lock(mMutex);
  mCalls.clear();
}

const acfIID IID_AAXHostComponent = {
    0x71766873, 0x6F73, 0x7421, {'a', 'a', 'x', 'h', 'o', 's', 't', '1'}};

std::atomic<int> Component::sLive{0};

Component::Component() { ++sLive; }
Component::~Component() { --sLive; }

int Component::LiveComponents() { return sLive.load(); }

ACFRESULT Component::QueryImpl(const acfIID& iid, void** ppOut)
{
  if (!ppOut) return ACF_E_UNEXPECTED;
  *ppOut = nullptr;
  void* p = iid == IID_AAXHostComponent ? static_cast<Component*>(this) : Answer(iid);
  if (!p) return ACF_E_NOINTERFACE;
  AddRefImpl();
  *ppOut = p;
  return ACF_OK;
}

acfUInt32 Component::ReleaseImpl()
{
  const acfUInt32 n = --mRefs;
  if (n == 0) delete this;
  return n;
}
} // namespace aaxhost

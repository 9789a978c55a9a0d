#include "HostObject.h"

#include "ACF/acfuids.h"

namespace aaxhost
{
HostObject::~HostObject() { WithdrawAll(); }

void HostObject::Offer(const acfIID& iid, IACFUnknown* provider)
{
  if (provider) provider->AddRef();
  IACFUnknown* old = nullptr;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mProviders.find(iid);
    if (it != mProviders.end()) old = it->second;
    if (provider)
      mProviders[iid] = provider;
    else if (it != mProviders.end())
      mProviders.erase(it);
  }
  if (old) old->Release();
}

void HostObject::Withdraw(const acfIID& iid) { Offer(iid, nullptr); }

void HostObject::WithdrawAll()
{
  std::map<acfIID, IACFUnknown*, acfUIDLess> providers;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    providers.swap(mProviders);
  }
  for (auto& p : providers)
    p.second->Release();
}

std::vector<acfIID> HostObject::Queries() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mQueries;
}

void* HostObject::Answer(const acfIID& iid)
{
  return iid == IID_IACFUnknown ? static_cast<IACFUnknown*>(this) : nullptr;
}

ACFRESULT HostObject::QueryProvider(const acfIID& iid, void** ppOut)
{
  IACFUnknown* provider = nullptr;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mQueries.push_back(iid);
    auto it = mProviders.find(iid);
    if (it != mProviders.end())
    {
      provider = it->second;
      provider->AddRef(); // keeps it alive outside the lock
    }
  }
  if (!provider)
  {
    if (mBase && iid != IID_IACFUnknown && iid != IID_AAXHostComponent)
      return mBase->QueryInterface(iid, ppOut);
    return QueryImpl(iid, ppOut);
  }
  const ACFRESULT r = provider->QueryInterface(iid, ppOut);
  provider->Release();
  return r;
}
} // namespace aaxhost

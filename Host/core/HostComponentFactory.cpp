#include "HostComponentFactory.h"

#include "ACF/acfuids.h"

#include <cstdio>

namespace aaxhost
{
std::string ToText(const acfUID& u)
{
  char buf[40];
  std::snprintf(buf, sizeof(buf), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(u.Data1), u.Data2, u.Data3, u.Data4[0], u.Data4[1],
                u.Data4[2], u.Data4[3], u.Data4[4], u.Data4[5], u.Data4[6], u.Data4[7]);
  return buf;
}

void HostComponentFactory::Register(const acfCLSID& clsid, Maker maker)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mMakers[clsid] = std::move(maker);
}

void HostComponentFactory::Unregister(const acfCLSID& clsid)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mMakers.erase(clsid);
}

ACFRESULT HostComponentFactory::CreateComponent(const acfCLSID& clsid, IACFUnknown* pUnkOuter,
                                                const acfIID& iid, void** ppOut)
{
  mCalls.Add("CreateComponent",
             Args(ToText(clsid), static_cast<const void*>(pUnkOuter), ToText(iid)));
  if (!ppOut) return ACF_E_UNEXPECTED;
  *ppOut = nullptr;
  if (pUnkOuter) return ACF_E_UNEXPECTED; // host components are never aggregated
  Maker maker;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    auto it = mMakers.find(clsid);
    if (it == mMakers.end()) return ACF_E_UNEXPECTED;
    maker = it->second;
  }
  IACFUnknown* component = maker ? maker() : nullptr;
  if (!component) return ACF_E_UNEXPECTED;
  const ACFRESULT r = component->QueryInterface(iid, ppOut);
  component->Release();
  return r;
}

void* HostComponentFactory::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IACFComponentFactory)
    return static_cast<IACFComponentFactory*>(this);
  return nullptr;
}
} // namespace aaxhost

// The stand-in host's host object: the IACFUnknown handed to the module's entry
// points and to Initialize. It answers QueryInterface for a configurable set of
// identifiers by asking the component offered for each. A host object of one
// instance answers what it is offered itself and passes every other query on
// to the host's own object.
#pragma once

#include "HostComponent.h"

#include <map>
#include <utility>
#include <vector>

namespace aaxhost
{
class HostObject final : public IACFUnknown, public Component
{
public:
  // Identifiers offered go to their provider; IID_IACFUnknown gives the host
  // object itself; anything else gives null and ACF_E_NOINTERFACE.
  ACFRESULT QueryInterface(const acfIID& iid, void** ppOut) override
  {
    return QueryProvider(iid, ppOut);
  }
  acfUInt32 AddRef() override { return AddRefImpl(); }
  acfUInt32 Release() override { return ReleaseImpl(); }

  HostObject() = default;
  // Queries for identifiers not offered here go to base (IID_IACFUnknown
  // still gives this object).
  explicit HostObject(Ref<HostObject> base) : mBase(std::move(base)) {}

  // From now on a query for iid is answered by provider->QueryInterface(iid),
  // so the provider decides which versions it offers. Holds a reference. [any]
  void Offer(const acfIID& iid, IACFUnknown* provider);
  // Stops answering iid (releases the provider's reference). [any]
  void Withdraw(const acfIID& iid);
  // Releases every provider (breaks reference cycles before shut-down). [any]
  void WithdrawAll();
  // Every identifier the host object was asked for, in order. [any]
  std::vector<acfIID> Queries() const;

private:
  ~HostObject() override;
  void* Answer(const acfIID& iid) override;
  ACFRESULT QueryProvider(const acfIID& iid, void** ppOut);

  // The initializer keeps HostObject() valid for clang, which does not count
  // Ref's defaulted constructor as initialising a const member.
  const Ref<HostObject> mBase{};
  mutable std::mutex mMutex;
  std::map<acfIID, IACFUnknown*, acfUIDLess> mProviders; // each holds one reference
  std::vector<acfIID> mQueries;
};
} // namespace aaxhost

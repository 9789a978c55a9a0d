// The stand-in host's component factory (IID_IACFComponentFactory): creates
// host components by class identifier.
#pragma once

#include "ACF/acfcomponentfactory.h"
#include "HostComponent.h"

#include <functional>
#include <map>

namespace aaxhost
{
class HostComponentFactory final : public IACFComponentFactory, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  // Makes a new component (or shares an existing one) and returns it with one
  // reference that the factory hands on through QueryInterface and then drops.
  using Maker = std::function<IACFUnknown*()>;

  HostComponentFactory() = default;

  // Registers (or replaces) the maker of a class. [any]
  void Register(const acfCLSID& clsid, Maker maker);
  void Unregister(const acfCLSID& clsid);

  // Slot 3. Refuses an outer object and unknown classes (ACF_E_UNEXPECTED);
  // otherwise the new component's answer to iid. Records "CreateComponent". [any]
  ACFRESULT CreateComponent(const acfCLSID& clsid, IACFUnknown* pUnkOuter, const acfIID& iid,
                            void** ppOut) override;

private:
  ~HostComponentFactory() override = default;
  void* Answer(const acfIID& iid) override;

  std::mutex mMutex;
  std::map<acfCLSID, Maker, acfUIDLess> mMakers;
};

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" for printing and recording.
std::string ToText(const acfUID& uid);
} // namespace aaxhost

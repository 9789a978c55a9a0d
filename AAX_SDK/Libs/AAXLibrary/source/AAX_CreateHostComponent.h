// Private to the description wrappers: one host component made by the host's
// component factory.
#pragma once

#include "ACF/ACFPtr.h"
#include "ACF/acfcomponentfactory.h"
#include "ACF/acfuids.h"

// The host component clsid as its interface iid, made with no outer object by
// the factory that inHostUnknown offers; null without a factory or component.
template <class T>
ACFPtr<T> AAX_CreateHostComponent(IACFUnknown* inHostUnknown, const acfCLSID& clsid,
                                  const acfIID& iid)
{
  const ACFPtr<IACFComponentFactory> factory(inHostUnknown, IID_IACFComponentFactory);
  if (!factory) return {};
  void* p = nullptr;
  if (factory->CreateComponent(clsid, nullptr, iid, &p) != 0 || !p) return {};
  return ACFPtr<T>::Adopt(static_cast<T*>(p));
}

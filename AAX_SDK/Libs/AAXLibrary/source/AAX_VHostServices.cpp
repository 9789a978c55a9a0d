#include "AAX_VHostServices.h"

#include "ACF/acfcomponentfactory.h"
#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

namespace
{
// One host-services interface created by the factory; the answer carries the reference.
template <class T> ACFPtr<T> Create(IACFComponentFactory* factory, const acfIID& iid)
{
  void* p = nullptr;
  if (factory->CreateComponent(AAXCompID_HostServices, nullptr, iid, &p) == ACF_OK && p)
    return ACFPtr<T>::Adopt(static_cast<T*>(p));
  return {};
}
} // namespace

AAX_VHostServices::AAX_VHostServices(IACFUnknown* pUnknown)
{
  const ACFPtr<IACFComponentFactory> factory(pUnknown, IID_IACFComponentFactory);
  if (!factory) return;
  mIACFHostServices = Create<AAX_IACFHostServices>(factory.get(), IID_IAAXHostServicesV1);
  mIACFHostServicesV2 = Create<AAX_IACFHostServices_V2>(factory.get(), IID_IAAXHostServicesV2);
  mIACFHostServicesV3 = Create<AAX_IACFHostServices_V3>(factory.get(), IID_IAAXHostServicesV3);
}

AAX_VHostServices::~AAX_VHostServices() = default;

AAX_Result AAX_VHostServices::HandleAssertFailure(const char* iFile, int32_t iLine,
                                                  const char* iNote, int32_t iFlags) const
{
  if (mIACFHostServicesV3)
    return mIACFHostServicesV3->HandleAssertFailure(iFile, iLine, iNote, iFlags);
  if (mIACFHostServices) return mIACFHostServices->HandleAssertFailure(iFile, iLine, iNote);
  return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VHostServices::Trace(int32_t iPriority, const char* iMessage) const
{
  return mIACFHostServices ? mIACFHostServices->Trace(iPriority, iMessage) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VHostServices::StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                                         const char* iMessage) const
{
  return mIACFHostServicesV2
             ? mIACFHostServicesV2->StackTrace(iTracePriority, iStackTracePriority, iMessage)
             : AAX_ERROR_UNIMPLEMENTED;
}

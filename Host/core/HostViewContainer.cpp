#include "HostViewContainer.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_UIDs.h"

namespace aaxhost
{
HostViewContainer::HostViewContainer(int version, int32_t type, void* nativeView)
    : mVersion(version), mType(type), mNativeView(nativeView), mMouseResult(AAX_ERROR_UNIMPLEMENTED)
{
}

void* HostViewContainer::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXViewContainerV1 ||
      (iid == IID_IAAXViewContainerV2 && mVersion >= 2))
    return static_cast<AAX_IACFViewContainer_V2*>(this);
  return nullptr;
}

int32_t HostViewContainer::GetType()
{
  mCalls.Add("GetType", "");
  return mType;
}

void* HostViewContainer::GetPtr()
{
  mCalls.Add("GetPtr", "");
  std::lock_guard<std::mutex> lock(mMutex);
  return mNativeView;
}

AAX_Result HostViewContainer::GetModifiers(uint32_t* oModifiers)
{
  mCalls.Add("GetModifiers", Args(static_cast<void*>(oModifiers)));
  if (!oModifiers) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  *oModifiers = mModifiers;
  return AAX_SUCCESS;
}

AAX_Result HostViewContainer::SetViewSize(AAX_Point& iSize)
{
  mCalls.Add("SetViewSize", Args(iSize.vert, iSize.horz));
  if (iSize.vert < 0 || iSize.horz < 0) return AAX_ERROR_INVALID_VIEW_SIZE;
  std::lock_guard<std::mutex> lock(mMutex);
  mSizeRequests.push_back(iSize);
  return AAX_SUCCESS;
}

AAX_Result HostViewContainer::Mouse(const char* op, AAX_CParamID id, uint32_t modifiers)
{
  mCalls.Add(op, Args(id, modifiers));
  std::lock_guard<std::mutex> lock(mMutex);
  return mMouseResult;
}

AAX_Result HostViewContainer::MouseMany(const char* op, const AAX_CParamID* ids, uint32_t n,
                                        uint32_t modifiers)
{
  std::string list;
  for (uint32_t i = 0; ids && i < n; ++i)
    list += Args(ids[i]) + " ";
  mCalls.Add(op, list + Args(n, modifiers));
  std::lock_guard<std::mutex> lock(mMutex);
  return mMouseResult;
}

AAX_Result HostViewContainer::HandleParameterMouseDown(AAX_CParamID id, uint32_t m)
{
  return Mouse("HandleParameterMouseDown", id, m);
}
AAX_Result HostViewContainer::HandleParameterMouseDrag(AAX_CParamID id, uint32_t m)
{
  return Mouse("HandleParameterMouseDrag", id, m);
}
AAX_Result HostViewContainer::HandleParameterMouseUp(AAX_CParamID id, uint32_t m)
{
  return Mouse("HandleParameterMouseUp", id, m);
}
AAX_Result HostViewContainer::HandleMultipleParametersMouseDown(const AAX_CParamID* ids, uint32_t n,
                                                                uint32_t m)
{
  return MouseMany("HandleMultipleParametersMouseDown", ids, n, m);
}
AAX_Result HostViewContainer::HandleMultipleParametersMouseDrag(const AAX_CParamID* ids, uint32_t n,
                                                                uint32_t m)
{
  return MouseMany("HandleMultipleParametersMouseDrag", ids, n, m);
}
AAX_Result HostViewContainer::HandleMultipleParametersMouseUp(const AAX_CParamID* ids, uint32_t n,
                                                              uint32_t m)
{
  return MouseMany("HandleMultipleParametersMouseUp", ids, n, m);
}

void HostViewContainer::SetModifiers(uint32_t modifiers)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mModifiers = modifiers;
}

void HostViewContainer::SetMouseResult(AAX_Result result)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mMouseResult = result;
}

void HostViewContainer::SetNativeView(void* nativeView)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mNativeView = nativeView;
}

std::vector<AAX_Point> HostViewContainer::SizeRequests() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mSizeRequests;
}
} // namespace aaxhost

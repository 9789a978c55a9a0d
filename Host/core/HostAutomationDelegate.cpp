#include "HostAutomationDelegate.h"

#include "ACF/acfuids.h"
#include "AAX_Errors.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_UIDs.h"

namespace aaxhost
{
void* HostAutomationDelegate::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXAutomationDelegateV1)
    return static_cast<AAX_IACFAutomationDelegate*>(this);
  return nullptr;
}

bool HostAutomationDelegate::IsRegisteredLocked(AAX_CParamID id) const
{
  return id && mRegistered.count(id) != 0;
}

AAX_Result HostAutomationDelegate::RegisterParameter(AAX_CParamID iParameterID)
{
  mCalls.Add("RegisterParameter", Args(iParameterID));
  if (!iParameterID) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  mRegistered.insert(iParameterID);
  return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::UnregisterParameter(AAX_CParamID iParameterID)
{
  mCalls.Add("UnregisterParameter", Args(iParameterID));
  std::lock_guard<std::mutex> lock(mMutex);
  if (!IsRegisteredLocked(iParameterID)) return AAX_ERROR_INVALID_PARAMETER_ID;
  mRegistered.erase(iParameterID);
  mTouched.erase(iParameterID);
  return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::PostSetValueRequest(AAX_CParamID iParameterID,
                                                       double iNormalizedValue)
{
  mCalls.Add("PostSetValueRequest", Args(iParameterID, iNormalizedValue));
  AAX_IACFEffectParameters* target = nullptr;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (!IsRegisteredLocked(iParameterID)) return AAX_ERROR_INVALID_PARAMETER_ID;
    ++mSetRequestCount;
    if (mKeepRecords) mSetRequests.push_back({iParameterID, iNormalizedValue});
    target = mEchoTarget;
    if (target && mEchoDeferred)
    {
      mPendingEchoes.push_back({iParameterID, iNormalizedValue});
      return AAX_SUCCESS;
    }
  }
  if (target)
  {
    const AAX_Result r = target->UpdateParameterNormalizedValue(iParameterID, iNormalizedValue,
                                                                AAX_EUpdateSource(0));
    RecordEcho(r);
  }
  return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::PostCurrentValue(AAX_CParamID iParameterID,
                                                    double iNormalizedValue)
{
  mCalls.Add("PostCurrentValue", Args(iParameterID, iNormalizedValue));
  std::lock_guard<std::mutex> lock(mMutex);
  if (!IsRegisteredLocked(iParameterID)) return AAX_ERROR_INVALID_PARAMETER_ID;
  mCurrentValues[iParameterID] = iNormalizedValue;
  return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::PostTouchRequest(AAX_CParamID iParameterID)
{
  mCalls.Add("PostTouchRequest", Args(iParameterID));
  std::lock_guard<std::mutex> lock(mMutex);
  if (!IsRegisteredLocked(iParameterID)) return AAX_ERROR_INVALID_PARAMETER_ID;
  mTouched.insert(iParameterID);
  return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::PostReleaseRequest(AAX_CParamID iParameterID)
{
  mCalls.Add("PostReleaseRequest", Args(iParameterID));
  std::lock_guard<std::mutex> lock(mMutex);
  if (!IsRegisteredLocked(iParameterID)) return AAX_ERROR_INVALID_PARAMETER_ID;
  mTouched.erase(iParameterID);
  return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* oTouched)
{
  mCalls.Add("GetTouchState", Args(iParameterID, static_cast<void*>(oTouched)));
  if (!oTouched) return AAX_ERROR_NULL_ARGUMENT;
  std::lock_guard<std::mutex> lock(mMutex);
  if (!IsRegisteredLocked(iParameterID)) return AAX_ERROR_INVALID_PARAMETER_ID;
  *oTouched = mTouched.count(iParameterID) ? 1 : 0;
  return AAX_SUCCESS;
}

void HostAutomationDelegate::SetEchoTarget(AAX_IACFEffectParameters* target)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mEchoTarget = target;
}

std::set<std::string> HostAutomationDelegate::Registered() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mRegistered;
}

bool HostAutomationDelegate::IsTouched(const std::string& id) const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mTouched.count(id) != 0;
}

std::vector<SetRequest> HostAutomationDelegate::SetRequests() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mSetRequests;
}

size_t HostAutomationDelegate::SetRequestCount() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mSetRequestCount;
}

void HostAutomationDelegate::KeepRecords(bool keep)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mKeepRecords = keep;
}

size_t HostAutomationDelegate::EchoFailures() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mEchoFailures;
}

void HostAutomationDelegate::RecordEcho(AAX_Result result)
{
  std::lock_guard<std::mutex> lock(mMutex);
  if (result != AAX_SUCCESS) ++mEchoFailures;
  if (mKeepRecords) mEchoResults.push_back(result);
}

bool HostAutomationDelegate::CurrentValue(const std::string& id, double* value) const
{
  std::lock_guard<std::mutex> lock(mMutex);
  auto it = mCurrentValues.find(id);
  if (it == mCurrentValues.end()) return false;
  if (value) *value = it->second;
  return true;
}

std::vector<AAX_Result> HostAutomationDelegate::EchoResults() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mEchoResults;
}
} // namespace aaxhost

namespace aaxhost
{
void HostAutomationDelegate::SetEchoDeferred(bool deferred)
{
  std::lock_guard<std::mutex> lock(mMutex);
  mEchoDeferred = deferred;
}

size_t HostAutomationDelegate::DeliverEchoes()
{
  std::vector<SetRequest> pending;
  AAX_IACFEffectParameters* target = nullptr;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    pending.swap(mPendingEchoes);
    target = mEchoTarget;
  }
  if (!target) return 0;
  for (const SetRequest& r : pending)
  {
    RecordEcho(target->UpdateParameterNormalizedValue(r.id.c_str(), r.value, AAX_EUpdateSource(0)));
  }
  return pending.size();
}
} // namespace aaxhost

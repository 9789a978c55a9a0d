// The stand-in host's automation delegate: parameter registration, touch and
// release state, and set requests, which it can echo back to the plug-in's
// UpdateParameterNormalizedValue as a workstation does.
#pragma once

#include "AAX_IACFAutomationDelegate.h"
#include "HostComponent.h"

#include <map>
#include <set>

class AAX_IACFEffectParameters;

namespace aaxhost
{
struct SetRequest
{
  std::string id;
  double value;
};

class HostAutomationDelegate final : public AAX_IACFAutomationDelegate, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  HostAutomationDelegate() = default;

  // Requests for an identifier that is not registered give -20001.
  AAX_Result RegisterParameter(AAX_CParamID iParameterID) override;
  AAX_Result UnregisterParameter(AAX_CParamID iParameterID) override;
  // Recorded; with an echo target the value is then sent back through the
  // target's UpdateParameterNormalizedValue (update source 0) on the calling
  // thread, outside the delegate's lock.
  AAX_Result PostSetValueRequest(AAX_CParamID iParameterID, double iNormalizedValue) override;
  AAX_Result PostCurrentValue(AAX_CParamID iParameterID, double iNormalizedValue) override;
  AAX_Result PostTouchRequest(AAX_CParamID iParameterID) override;
  AAX_Result PostReleaseRequest(AAX_CParamID iParameterID) override;
  AAX_Result GetTouchState(AAX_CParamID iParameterID, AAX_CBoolean* oTouched) override;

  // The effect parameters to echo set requests to; null stops echoing. Borrowed:
  // the caller keeps it alive while it is set. [any]
  void SetEchoTarget(AAX_IACFEffectParameters* target);
  // Deferred echoes are queued instead of sent on the calling thread, as a
  // workstation that hands them to its own control thread does; that thread
  // sends them with DeliverEchoes. [any]
  void SetEchoDeferred(bool deferred);
  // Sends every queued echo to the target, in order; how many were sent. [host]
  size_t DeliverEchoes();

  std::set<std::string> Registered() const;
  bool IsTouched(const std::string& id) const;
  std::vector<SetRequest> SetRequests() const;
  // How many set requests arrived (kept or not), without copying them: a
  // host watching for plug-in-side changes polls this often. [any]
  size_t SetRequestCount() const;
  // While off, set requests and echo results are counted but not kept, so a
  // host that runs for hours does not grow. On by default. [any]
  void KeepRecords(bool keep);
  // Echoed updates that did not return 0, kept or not. [any]
  size_t EchoFailures() const;
  // Last value reported by PostCurrentValue; false when none was.
  bool CurrentValue(const std::string& id, double* value) const;
  // Results of the echoed UpdateParameterNormalizedValue calls, in order.
  std::vector<AAX_Result> EchoResults() const;

private:
  ~HostAutomationDelegate() override = default;
  void* Answer(const acfIID& iid) override;
  bool IsRegisteredLocked(AAX_CParamID id) const;
  void RecordEcho(AAX_Result result);

  mutable std::mutex mMutex;
  std::set<std::string> mRegistered;
  std::set<std::string> mTouched;
  std::vector<SetRequest> mSetRequests;
  std::map<std::string, double> mCurrentValues;
  std::vector<AAX_Result> mEchoResults;
  bool mKeepRecords = true;
  size_t mSetRequestCount = 0;
  size_t mEchoFailures = 0;
  AAX_IACFEffectParameters* mEchoTarget = nullptr;
  bool mEchoDeferred = false;
  std::vector<SetRequest> mPendingEchoes;
};
} // namespace aaxhost

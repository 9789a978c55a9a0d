#include "HostServices.h"

#include "ACF/acfuids.h"
#include "AAX_UIDs.h"

#include <cstdio>
#include <ostream>

namespace aaxhost
{
namespace
{
std::string Text(const char* s) { return s ? s : ""; }

std::string Hex(int32_t v)
{
  char buf[16];
  std::snprintf(buf, sizeof(buf), "0x%08X", static_cast<unsigned>(v));
  return buf;
}
} // namespace

HostServices::HostServices(int version) : mVersion(version) {}

void* HostServices::Answer(const acfIID& iid)
{
  if (iid == IID_IACFUnknown || iid == IID_IAAXHostServicesV1 ||
      (iid == IID_IAAXHostServicesV2 && mVersion >= 2) ||
      (iid == IID_IAAXHostServicesV3 && mVersion >= 3))
    return static_cast<AAX_IACFHostServices_V3*>(this);
  return nullptr;
}

AAX_Result HostServices::HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote)
{
  mCalls.Add("HandleAssertFailure", Args(iFile, iLine, iNote));
  std::lock_guard<std::mutex> lock(mMutex);
  mAsserts.push_back({Text(iFile), iLine, Text(iNote), -1});
  return 0;
}

AAX_Result HostServices::Trace(int32_t iPriority, const char* iMessage)
{
  mCalls.Add("Trace", Args(iPriority, iMessage));
  std::lock_guard<std::mutex> lock(mMutex);
  mTraces.push_back({iPriority, -1, Text(iMessage)});
  return 0;
}

AAX_Result HostServices::StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                                    const char* iMessage)
{
  mCalls.Add("StackTrace", Args(iTracePriority, iStackTracePriority, iMessage));
  std::lock_guard<std::mutex> lock(mMutex);
  mTraces.push_back({iTracePriority, iStackTracePriority, Text(iMessage)});
  return 0;
}

AAX_Result HostServices::HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                             int32_t iFlags)
{
  mCalls.Add("HandleAssertFailure_V3", Args(iFile, iLine, iNote, iFlags));
  std::lock_guard<std::mutex> lock(mMutex);
  mAsserts.push_back({Text(iFile), iLine, Text(iNote), iFlags});
  return 0;
}

std::vector<TraceRecord> HostServices::Traces() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mTraces;
}

std::vector<AssertRecord> HostServices::Asserts() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mAsserts;
}

void HostServices::Print(std::ostream& os) const
{
  std::lock_guard<std::mutex> lock(mMutex);
  for (const TraceRecord& t : mTraces)
  {
    if (t.stackPriority < 0)
      os << "trace " << Hex(t.priority) << ": " << t.message << '\n';
    else
      os << "stack " << Hex(t.priority) << '/' << Hex(t.stackPriority) << ": " << t.message << '\n';
  }
  for (const AssertRecord& a : mAsserts)
  {
    os << "assert " << a.file << ':' << a.line << ": " << a.note;
    if (a.flags >= 0) os << " (flags " << a.flags << ')';
    os << '\n';
  }
}
} // namespace aaxhost

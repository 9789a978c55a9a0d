// The stand-in host's services component (AAXCompID_HostServices, versions 1
// to 3): records traces, stack traces and assertion reports, and prints them.
#pragma once

#include "AAX_IACFHostServices.h"
#include "HostComponent.h"

#include <iosfwd>

namespace aaxhost
{
struct TraceRecord
{
  int32_t priority;
  int32_t stackPriority; // -1 for a plain trace
  std::string message;
};

struct AssertRecord
{
  std::string file;
  int32_t line;
  std::string note;
  int32_t flags; // -1 when reported through version 1 (no flags)
};

class HostServices final : public AAX_IACFHostServices_V3, public Component
{
public:
  AAXHOST_DECLARE_UNKNOWN()

  // version: the highest interface version offered (1 to 3).
  explicit HostServices(int version = 3);

  AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote) override;
  AAX_Result Trace(int32_t iPriority, const char* iMessage) override;
  AAX_Result StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                        const char* iMessage) override;
  AAX_Result HandleAssertFailure(const char* iFile, int32_t iLine, const char* iNote,
                                 int32_t iFlags) override;

  std::vector<TraceRecord> Traces() const; // plain traces and stack traces, in order
  std::vector<AssertRecord> Asserts() const;
  // One line per record: "trace 0x04000000: text", "stack 0x01000000/0x01000000: text",
  // "assert file:line: note (flags 3)". [any]
  void Print(std::ostream& os) const;

private:
  ~HostServices() override = default;
  void* Answer(const acfIID& iid) override;

  const int mVersion;
  mutable std::mutex mMutex;
  std::vector<TraceRecord> mTraces;
  std::vector<AssertRecord> mAsserts;
};
} // namespace aaxhost

// The process-wide host services: start-up and shut-down, traces cut at 511
// characters, assertion reports, and the checked result's trace on a throw.
#include "StandInHost.h"

#include "AAX_CHostServices.h"
#include "AAX_Exception.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

using namespace aaxhost;

namespace
{
// Start-up and shut-down around one test, as the module's entry points do.
struct Started
{
  explicit Started(StandInHost& host) { AAX_CHostServices::Set(host.Unknown()); }
  ~Started() { AAX_CHostServices::Set(nullptr); }
};
} // namespace

TEST(ProcessHostServices, CallsBeforeStartUpAndAfterShutDownReturnZero)
{
  StandInHost host;
  EXPECT_EQ(AAX_CHostServices::Trace(0x04000000, "early %d", 1), 0);
  EXPECT_EQ(AAX_CHostServices::StackTrace(1, 1, "early"), 0);
  EXPECT_EQ(AAX_CHostServices::HandleAssertFailure("f", 1, "n", 3), 0);
  {
    Started s(host);
    // Traces reach the host; a host result would come back (ours answers 0).
    EXPECT_EQ(AAX_CHostServices::Trace(0x04000000, "inside"), 0);
  }
  EXPECT_EQ(AAX_CHostServices::Trace(0x04000000, "late"), 0);
  const std::vector<TraceRecord> traces = host.Services()->Traces();
  ASSERT_EQ(traces.size(), 1u);
  EXPECT_EQ(traces[0].message, "inside");
  EXPECT_TRUE(host.Services()->Asserts().empty());
}

TEST(ProcessHostServices, SetKeepsTheFirstHostUntilShutDown)
{
  StandInHost first;
  StandInHost second;
  AAX_CHostServices::Set(first.Unknown());
  AAX_CHostServices::Set(second.Unknown()); // already started: no change
  AAX_CHostServices::Trace(1, "to the first");
  AAX_CHostServices::Set(nullptr);
  AAX_CHostServices::Set(nullptr); // nothing left: no change
  EXPECT_EQ(first.Services()->Traces().size(), 1u);
  EXPECT_TRUE(second.Services()->Traces().empty());
}

TEST(ProcessHostServices, TraceFormatsAndKeepsAtMost511Characters)
{
  StandInHost host;
  Started s(host);
  AAX_CHostServices::Trace(0x08000000, "value %d of %s", 7, "seven");
  const std::string longText(600, 'x');
  AAX_CHostServices::Trace(0x04000000, "%s!", longText.c_str());
  const std::string exact(511, 'y');
  AAX_CHostServices::Trace(0x04000000, "%s", exact.c_str());
  const std::vector<TraceRecord> traces = host.Services()->Traces();
  ASSERT_EQ(traces.size(), 3u);
  EXPECT_EQ(traces[0].priority, 0x08000000);
  EXPECT_EQ(traces[0].message, "value 7 of seven");
  EXPECT_EQ(traces[1].message, std::string(511, 'x'));
  EXPECT_EQ(traces[2].message, exact);
  AAX_CHostServices::StackTrace(0x01000000, 0x01000000, "%s", longText.c_str());
  EXPECT_EQ(host.Services()->Traces().back().message.size(), 511u);
  EXPECT_EQ(host.Services()->Traces().back().stackPriority, 0x01000000);
}

TEST(ProcessHostServices, AssertionReportsCarryFileLineTextAndOption)
{
  StandInHost host;
  Started s(host);
  AAX_CHostServices::HandleAssertFailure("WDL/IPlug/AAX/IPlugAAX_Describe", 140,
                                         "err == AAX_SUCCESS", 3);
  const std::vector<AssertRecord> asserts = host.Services()->Asserts();
  ASSERT_EQ(asserts.size(), 1u);
  EXPECT_EQ(asserts[0].file, "WDL/IPlug/AAX/IPlugAAX_Describe");
  EXPECT_EQ(asserts[0].line, 140);
  EXPECT_EQ(asserts[0].note, "err == AAX_SUCCESS");
  EXPECT_EQ(asserts[0].flags, 3);
}

TEST(ProcessHostServices, CheckedResultTracesBeforeItThrows)
{
  StandInHost host;
  Started s(host);
  AAX_CheckedResult r;
  EXPECT_THROW(r = -20004, AAX::Exception::ResultError);
  const std::vector<TraceRecord> traces = host.Services()->Traces();
  ASSERT_EQ(traces.size(), 2u);
  EXPECT_EQ(traces[0].priority, 0x04000000);
  EXPECT_EQ(traces[0].stackPriority, -1);
  EXPECT_EQ(traces[0].message, "AAX_CheckedResult - throwing AAX_ERROR_NULL_OBJECT (-20004)");
  EXPECT_EQ(traces[1].priority, 0x01000000);
  EXPECT_EQ(traces[1].stackPriority, 0x01000000);
  EXPECT_EQ(traces[1].message, "");
}

TEST(ProcessHostServices, TracesFromManyThreadsAllArrive)
{
  StandInHost host;
  Started s(host);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back(
        [t]
        {
          for (int i = 0; i < 200; ++i)
            AAX_CHostServices::Trace(0x04000000, "t%d i%d", t, i);
        });
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(host.Services()->Traces().size(), 800u);
}

TEST(HostServicesComponent, PrintsEveryRecord)
{
  StandInHost host;
  Started s(host);
  AAX_CHostServices::Trace(0x04000000, "a trace");
  AAX_CHostServices::StackTrace(0x01000000, 0x01000000, "a stack");
  AAX_CHostServices::HandleAssertFailure("x.cpp", 9, "ok", 3);
  std::ostringstream os;
  host.Services()->Print(os);
  EXPECT_EQ(os.str(), "trace 0x04000000: a trace\n"
                      "stack 0x01000000/0x01000000: a stack\n"
                      "assert x.cpp:9: ok (flags 3)\n");
}

// The packet dispatcher posting through the stand-in host's controller: key
// order, shared ports, the first dispatch, failing handlers, single-value
// packets, and marks and dispatches from two threads.
#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_Errors.h"
#include "AAX_VController.h"
#include "RecordingEffectParameters.h"
#include "StandInHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

using namespace aaxhost;

namespace
{
// Writes its tag as an int32 and logs each call; fails with `result` when set.
class TagHandler : public AAX_IPacketHandler
{
public:
  TagHandler(int32_t tag, std::vector<std::string>* log, AAX_Result result = 0)
      : mTag(tag), mLog(log), mResult(result)
  {
  }
  AAX_IPacketHandler* Clone() const override { return new TagHandler(*this); }
  AAX_Result Call(AAX_CParamID id, AAX_CPacket& packet) const override
  {
    if (mLog) mLog->push_back(id);
    *packet.GetPtr<int32_t>() = mTag;
    return mResult;
  }

private:
  int32_t mTag;
  std::vector<std::string>* mLog;
  AAX_Result mResult;
};

// Fills through the dispatcher's ready-made single-value operation.
class SingleValueHandler : public AAX_IPacketHandler
{
public:
  explicit SingleValueHandler(AAX_CPacketDispatcher& d) : mDispatcher(d) {}
  AAX_IPacketHandler* Clone() const override { return new SingleValueHandler(*this); }
  AAX_Result Call(AAX_CParamID id, AAX_CPacket& packet) const override
  {
    return mDispatcher.GenerateSingleValuePacket(id, packet);
  }

private:
  AAX_CPacketDispatcher& mDispatcher;
};

// The recording effect parameters, answering GetParameter from a list.
class EffectWithParameters : public RecordingEffectParameters
{
public:
  std::map<std::string, AAX_IParameter*> params;
  AAX_Result GetParameter(AAX_CParamID id, AAX_IParameter** out) override
  {
    const auto it = params.find(id ? id : "");
    *out = it == params.end() ? nullptr : it->second;
    return 0;
  }
};

int32_t IntOf(const Packet& p)
{
  int32_t v = 0;
  EXPECT_EQ(p.bytes.size(), 4u);
  std::memcpy(&v, p.bytes.data(), sizeof v);
  return v;
}

struct DispatcherTest : ::testing::Test
{
  StandInHost host;
  AAX_VController controller{host.Unknown()};
  AAX_CPacketDispatcher dispatcher;
  std::vector<std::string> log;
  DispatcherTest() { dispatcher.Initialize(&controller, nullptr); }
  std::vector<Packet> Posted() { return host.Controller()->State().packets; }
};
} // namespace

TEST_F(DispatcherTest, NothingRegisteredPostsNothing)
{
  EXPECT_EQ(dispatcher.Dispatch(), 0);
  EXPECT_EQ(dispatcher.SetDirty("unknown", true), 0);
  EXPECT_TRUE(Posted().empty());
}

TEST_F(DispatcherTest, ANewPacketIsPostedOnTheFirstDispatchAndThenOnlyWhenDirty)
{
  const TagHandler h(42, &log);
  EXPECT_EQ(dispatcher.RegisterPacket("1", 3, &h), 0);
  EXPECT_EQ(dispatcher.Dispatch(), 0);
  ASSERT_EQ(Posted().size(), 1u);
  EXPECT_EQ(Posted()[0].port, 3);
  EXPECT_EQ(IntOf(Posted()[0]), 42);
  dispatcher.Dispatch();
  EXPECT_EQ(Posted().size(), 1u);
  dispatcher.SetDirty("1", true);
  dispatcher.SetDirty("1", false); // the last mark counts
  dispatcher.Dispatch();
  EXPECT_EQ(Posted().size(), 1u);
  dispatcher.SetDirty("1");
  dispatcher.Dispatch();
  EXPECT_EQ(Posted().size(), 2u);
}

TEST_F(DispatcherTest, ASharedPortIsPostedOnceByTheHandlerOfTheFirstIdentifier)
{
  const TagHandler b(2, &log);
  const TagHandler a(1, &log);
  dispatcher.RegisterPacket("b", 5, &b);
  dispatcher.RegisterPacket("a", 5, &a);
  dispatcher.Dispatch();
  dispatcher.SetDirty("b");
  dispatcher.Dispatch();
  const std::vector<Packet> posted = Posted();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(IntOf(posted[0]), 1);
  EXPECT_EQ(IntOf(posted[1]), 1); // "b" changed, "a" sorts first and fills it
  EXPECT_EQ(log, (std::vector<std::string>{"a", "a"}));
}

TEST_F(DispatcherTest, OneIdentifierWithTwoPortsPostsBothInRegistrationOrder)
{
  const TagHandler first(1, nullptr);
  const TagHandler second(2, nullptr);
  dispatcher.RegisterPacket("x", 9, &first);
  dispatcher.RegisterPacket("x", 4, &second);
  dispatcher.Dispatch();
  const std::vector<Packet> posted = Posted();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].port, 9);
  EXPECT_EQ(posted[1].port, 4);
}

TEST_F(DispatcherTest, AFailingHandlerPostsNothingAndIsNotRetriedUntilTheNextChange)
{
  const TagHandler failing(7, &log, -1);
  dispatcher.RegisterPacket("1", 0, &failing);
  EXPECT_EQ(dispatcher.Dispatch(), 0);
  EXPECT_EQ(dispatcher.Dispatch(), 0);
  EXPECT_TRUE(Posted().empty());
  EXPECT_EQ(log.size(), 1u);
  dispatcher.SetDirty("1");
  dispatcher.Dispatch();
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(DispatcherTest, ANegativePortKeepsItsHandlerWithoutAPacket)
{
  const TagHandler h(1, &log);
  EXPECT_EQ(dispatcher.RegisterPacket("1", -1, &h), 0);
  EXPECT_EQ(dispatcher.SetDirty("1"), 0);
  EXPECT_EQ(dispatcher.Dispatch(), 0);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(Posted().empty());
  EXPECT_EQ(dispatcher.RegisterPacket("1", 0, nullptr), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(dispatcher.RegisterPacket(nullptr, 0, &h), AAX_ERROR_NULL_OBJECT);
}

TEST(PacketDispatcher, DispatchGivesThePostResultOfAHostWithoutController)
{
  HostConfig config;
  config.controller = 0;
  StandInHost host(config);
  AAX_VController controller(host.Unknown());
  AAX_CPacketDispatcher dispatcher;
  dispatcher.Initialize(&controller, nullptr);
  const TagHandler h(1, nullptr);
  dispatcher.RegisterPacket("1", 0, &h);
  EXPECT_EQ(dispatcher.Dispatch(), AAX_ERROR_NULL_OBJECT);
}

TEST_F(DispatcherTest, SingleValuePacketsCarryBoolsAsInt32AndDoublesInEightBytes)
{
  AAX_CParameter<bool> swap("1", AAX_CString("Swap"), true, AAX_CBinaryTaperDelegate<bool>(),
                            AAX_CBinaryDisplayDelegate<bool>("Off", "On"));
  AAX_CParameter<double> gain("2", AAX_CString("Gain"), 0.75,
                              AAX_CLinearTaperDelegate<double, 0>(0.0, 1.0),
                              AAX_CNumberDisplayDelegate<double, 2, 0>());
  AAX_CParameter<int32_t> steps("3", AAX_CString("Steps"), 6, AAX_CLinearTaperDelegate<int, 0>(0, 9),
                                AAX_CNumberDisplayDelegate<int, 2, 0>());
  EffectWithParameters effect;
  effect.params = {{"1", &swap}, {"2", &gain}, {"3", &steps}};
  dispatcher.Initialize(&controller, &effect);
  const SingleValueHandler h(dispatcher);
  for (const char* id : {"1", "2", "3", "4"}) dispatcher.RegisterPacket(id, id[0] - '0', &h);
  dispatcher.Dispatch();

  const std::vector<Packet> posted = Posted();
  ASSERT_EQ(posted.size(), 3u); // "4" has no parameter: -20004, not posted
  EXPECT_EQ(IntOf(posted[0]), 1);
  ASSERT_EQ(posted[1].bytes.size(), 8u);
  double d = 0;
  std::memcpy(&d, posted[1].bytes.data(), 8);
  EXPECT_EQ(d, 0.75);
  EXPECT_EQ(IntOf(posted[2]), 6);

  AAX_CPacket packet(0);
  EXPECT_EQ(dispatcher.GenerateSingleValuePacket("4", packet), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(packet.GetSize(), 0u);
}

TEST_F(DispatcherTest, MarksAndDispatchesFromTwoThreadsLoseNoChange)
{
  const TagHandler h(1, nullptr);
  for (const char* id : {"1", "2", "3"}) dispatcher.RegisterPacket(id, id[0] - '0', &h);
  dispatcher.Dispatch();
  const size_t initial = Posted().size();

  constexpr int kRounds = 2000;
  std::atomic<bool> done{false};
  std::thread marker(
      [&]
      {
        for (int i = 0; i < kRounds; ++i) dispatcher.SetDirty(i % 2 ? "1" : "3");
        done = true;
      });
  size_t dispatches = 0;
  while (!done)
  {
    dispatcher.Dispatch();
    ++dispatches;
  }
  marker.join();
  dispatcher.Dispatch(); // whatever was marked last goes out now
  const std::vector<Packet> posted = Posted();
  EXPECT_EQ(initial, 3u);
  // Each dispatch posts at most the two marked ports; the last marks are never lost.
  EXPECT_LE(posted.size(), initial + 2 * (dispatches + 1));
  EXPECT_EQ(posted.back().port == 1 || posted.back().port == 3, true);
  dispatcher.Dispatch();
  EXPECT_EQ(Posted().size(), posted.size()); // nothing left dirty
}

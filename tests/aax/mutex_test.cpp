// AAX_CMutex and AAX_StLock_Guard across threads.
#include "AAX_CMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
bool TryLockFromAnotherThread(AAX_CMutex& m, bool unlockAfter = true)
{
  bool got = false;
  std::thread t(
      [&]
      {
        got = m.Try_Lock();
        if (got && unlockAfter) m.Unlock();
      });
  t.join();
  return got;
}
} // namespace

TEST(AAXMutex, NestedLockOnTheOwningThreadReturnsFalse)
{
  AAX_CMutex m;
  EXPECT_TRUE(m.Lock());
  EXPECT_FALSE(m.Lock());
  EXPECT_FALSE(TryLockFromAnotherThread(m));
  m.Unlock(); // one Unlock releases
  EXPECT_TRUE(TryLockFromAnotherThread(m));
}

TEST(AAXMutex, UnlockFromAForeignThreadIsIgnored)
{
  AAX_CMutex m;
  ASSERT_TRUE(m.Lock());
  std::thread t([&] { m.Unlock(); });
  t.join();
  EXPECT_FALSE(TryLockFromAnotherThread(m)); // still held by this thread
  m.Unlock();
  EXPECT_TRUE(TryLockFromAnotherThread(m));
}

TEST(AAXMutex, UnlockWithoutLockDoesNothing)
{
  AAX_CMutex m;
  m.Unlock();
  EXPECT_TRUE(m.Lock());
  m.Unlock();
}

TEST(AAXMutex, TryLockBehaviour)
{
  AAX_CMutex m;
  EXPECT_TRUE(m.Try_Lock());                 // free: taken
  EXPECT_TRUE(m.Try_Lock());                 // already ours: true
  EXPECT_FALSE(TryLockFromAnotherThread(m)); // held elsewhere: false without blocking
  m.Unlock();
  EXPECT_TRUE(TryLockFromAnotherThread(m));
}

TEST(AAXMutex, ExcludesOtherThreads)
{
  AAX_CMutex m;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back(
        [&]
        {
          for (int i = 0; i < 5000; ++i)
          {
            AAX_StLock_Guard outer(m);
            AAX_StLock_Guard inner(m); // nested: a no-op
            ++counter;
          }
        });
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(counter, 20000);
}

TEST(AAXStLockGuard, NestedGuardsReleaseAtTheOutermost)
{
  AAX_CMutex m;
  {
    AAX_StLock_Guard outer(m);
    {
      AAX_StLock_Guard inner(m);
      EXPECT_FALSE(TryLockFromAnotherThread(m));
    }
    // The inner guard's Lock returned false, so it did not unlock.
    EXPECT_FALSE(TryLockFromAnotherThread(m));
  }
  EXPECT_TRUE(TryLockFromAnotherThread(m));
}

TEST(AAXStLockGuard, GuardWaitsForTheOwner)
{
  AAX_CMutex m;
  std::atomic<bool> entered{false};
  ASSERT_TRUE(m.Lock());
  std::thread t(
      [&]
      {
        AAX_StLock_Guard g(m);
        entered = true;
      });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(entered);
  m.Unlock();
  t.join();
  EXPECT_TRUE(entered);
}

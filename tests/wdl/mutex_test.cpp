#include "mutex.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(WdlMutex, SameThreadMayEnterAgain)
{
  WDL_Mutex m;
  {
    WDL_MutexLock outer(&m);
    WDL_MutexLock inner(&m);
    EXPECT_EQ(m.DebugCount(), 2);
  }
  EXPECT_EQ(m.DebugCount(), 0);
}

TEST(WdlMutex, OtherThreadCannotEnterWhileHeld)
{
  WDL_Mutex m;
  m.Enter();
  bool entered = true;
  std::thread t([&] {
    entered = m.TryEnter();
    if (entered) m.Leave();
  });
  t.join();
  EXPECT_FALSE(entered);
  m.Leave();
}

TEST(WdlMutex, ExcludesConcurrentWriters)
{
  WDL_Mutex m;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i)
      {
        WDL_MutexLock lock(&m);
        WDL_MutexLock again(&m);
        ++counter;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 80000);
  EXPECT_EQ(m.DebugCount(), 0);
}

#ifndef NDEBUG
TEST(WdlMutexDeathTest, LeaveWithoutEnterAsserts)
{
  EXPECT_DEATH(
      {
        WDL_Mutex m;
        m.Leave();
      },
      "new_debug_cnt >= 0");
}
#endif

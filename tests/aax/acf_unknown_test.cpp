// CACFUnknown: reference counts, FinalRelease and freeing at zero, the base
// interface query and the module-wide live-object count.
#include "ACF/CACFUnknown.h"
#include "ACF/acfuids.h"
#include "AAX_UIDs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
std::atomic<int> gFinalReleases{0};
std::atomic<int> gDestroyed{0};

// A component as the module builds them: an interface plus CACFUnknown.
class ITestInterface : public IACFUnknown
{
public:
  virtual int Value() = 0;

protected:
  ~ITestInterface() = default;
};

class TestComponent : public ITestInterface, public CACFUnknown
{
public:
  ACF_DECLARE_STANDARD_UNKNOWN()
  int Value() override { return 42; }
  void FinalRelease() override { ++gFinalReleases; }
  ~TestComponent() override { ++gDestroyed; }
};

acfUInt32 Live() { return CACFUnknown::GetActiveObjectCount(); }
} // namespace

TEST(CACFUnknown, NewObjectStartsAtZeroAndCountsAsLive)
{
  const acfUInt32 before = Live();
  auto* c = new TestComponent;
  EXPECT_EQ(c->GetRefCount(), 0u);
  EXPECT_EQ(Live(), before + 1);
  EXPECT_EQ(c->AddRef(), 1u);
  EXPECT_EQ(c->Release(), 0u);
  EXPECT_EQ(Live(), before);
}

TEST(CACFUnknown, AddRefAndReleaseReturnTheNewCount)
{
  auto* c = new TestComponent;
  EXPECT_EQ(c->AddRef(), 1u);
  EXPECT_EQ(c->AddRef(), 2u);
  EXPECT_EQ(c->AddRef(), 3u);
  EXPECT_EQ(c->Release(), 2u);
  EXPECT_EQ(c->Release(), 1u);
  EXPECT_EQ(c->Release(), 0u);
}

TEST(CACFUnknown, ReleaseToZeroRunsFinalReleaseThenFrees)
{
  const int finals = gFinalReleases;
  const int destroyed = gDestroyed;
  auto* c = new TestComponent;
  c->AddRef();
  c->AddRef();
  c->Release();
  EXPECT_EQ(gFinalReleases, finals);
  EXPECT_EQ(gDestroyed, destroyed);
  EXPECT_EQ(c->Release(), 0u);
  EXPECT_EQ(gFinalReleases, finals + 1);
  EXPECT_EQ(gDestroyed, destroyed + 1);
}

TEST(CACFUnknown, QueryForUnknownGivesPrivateUnknownWithOneMoreReference)
{
  auto* c = new TestComponent;
  c->AddRef();
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(c->QueryInterface(IID_IACFUnknown, &out), 0);
  EXPECT_EQ(out, static_cast<void*>(c->GetPrivateUnknown()));
  EXPECT_EQ(c->GetRefCount(), 2u);
  // Releasing through the private unknown counts on the same object.
  EXPECT_EQ(static_cast<IACFUnknown*>(out)->Release(), 1u);
  EXPECT_EQ(c->Release(), 0u);
}

TEST(CACFUnknown, QueryForUnknownIdentifierGivesNullAndNoInterface)
{
  auto* c = new TestComponent;
  c->AddRef();
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(c->QueryInterface(IID_IAAXControllerV1, &out), static_cast<ACFRESULT>(0x80000004u));
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(c->GetRefCount(), 1u);
  c->Release();
}

TEST(CACFUnknown, PrivateUnknownEndsInTheInternalOperations)
{
  auto* c = new TestComponent;
  IACFUnknown* priv = c->GetPrivateUnknown();
  EXPECT_EQ(priv->AddRef(), 1u);
  EXPECT_EQ(c->InternalAddRef(), 2u);
  EXPECT_EQ(c->ExternalAddRef(), 3u);
  EXPECT_EQ(c->InternalRelease(), 2u);
  EXPECT_EQ(c->ExternalRelease(), 1u);
  EXPECT_EQ(priv->Release(), 0u);
}

TEST(CACFUnknown, InitializeInstanceDoesNothing)
{
  auto* c = new TestComponent;
  c->AddRef();
  EXPECT_EQ(c->InitializeInstance(nullptr), 0);
  EXPECT_EQ(c->GetRefCount(), 1u);
  c->Release();
}

TEST(CACFUnknown, InterlockedOperationsChangeByOneAndReturnTheNewValue)
{
  acfUInt32 n = 7;
  EXPECT_EQ(ACFInterlockedIncrement(&n), 8u);
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(ACFInterlockedDecrement(&n), 7u);
  acfUInt32 zero = 0;
  EXPECT_EQ(ACFInterlockedDecrement(&zero), 0xFFFFFFFFu); // wraps as unsigned
}

TEST(CACFUnknown, LiveCountIsExactAcrossManyThreads)
{
  const acfUInt32 before = Live();
  constexpr int kThreads = 8;
  constexpr int kObjects = 2000;
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  // Objects shared by every thread: each thread adds and drops references.
  std::vector<TestComponent*> shared;
  for (int i = 0; i < 16; ++i)
  {
    shared.push_back(new TestComponent);
    shared.back()->AddRef();
  }
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back(
        [&, t]
        {
          while (!go)
            std::this_thread::yield();
          std::vector<TestComponent*> mine;
          for (int i = 0; i < kObjects; ++i)
          {
            auto* c = new TestComponent;
            c->AddRef();
            mine.push_back(c);
            TestComponent* s = shared[(i + t) % shared.size()];
            s->AddRef();
            if (i % 3 == 0)
            {
              mine.back()->Release();
              mine.pop_back();
            }
            s->Release();
          }
          for (auto* c : mine)
            c->Release();
        });
  go = true;
  for (auto& th : threads)
    th.join();
  EXPECT_EQ(Live(), before + shared.size());
  for (auto* s : shared)
    EXPECT_EQ(s->GetRefCount(), 1u);
  for (auto* s : shared)
    EXPECT_EQ(s->Release(), 0u);
  EXPECT_EQ(Live(), before);
}

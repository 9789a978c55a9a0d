// Modules for the validator's own tests: Quorvane through the AAX bridge
// with one deliberate fault each, chosen by QV_FAULT:
//   1 NaN in its output, 2 a crash on restoring a chunk, 3 an object leaked
//   per instance, 4 a hang in Initialize, 5 an allocation in every render,
//   6 a lock of its own besides the plug-in mutex in every render, 7 a
//   system call in every render, 8 a condition wait in every 64th render.
// Quorvane.cpp is compiled with MakePlug renamed, so this file's MakePlug is
// the one the bridge calls.
#include "Quorvane.h"
#undef MakePlug

#include "AAX_CEffectGUI_IPLUG.h"
#include "IPlugAAX_Describe.h"

#include <csignal>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <thread>

#include <sys/syscall.h>
#include <unistd.h>

#ifndef QV_FAULT
#define QV_FAULT 0
#endif

namespace
{
constexpr uint32_t CC(const char (&s)[5])
{
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
         (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

class Faulty final : public Quorvane
{
public:
  Faulty() : Quorvane(IPlugInstanceInfo())
  {
    if (QV_FAULT == 3) new Quorvane(IPlugInstanceInfo()); // never released
  }
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override
  {
    Quorvane::ProcessDoubleReplacing(inputs, outputs, nFrames);
    if (QV_FAULT == 1 && nFrames > 0)
      outputs[0][nFrames / 2] = std::numeric_limits<double>::quiet_NaN();
    if (QV_FAULT == 5)
    {
      mScratch = std::malloc(64);
      std::free(mScratch);
    }
    if (QV_FAULT == 6) std::lock_guard<std::mutex> lock(mMeters);
    if (QV_FAULT == 7) mPid = syscall(SYS_getpid);
    // Every 64th render only: each wait sleeps out the timer slack.
    if (QV_FAULT == 8 && ++mRenders % 64 == 0)
    {
      std::unique_lock<std::mutex> lock(mMeters);
      mMetersRead.wait_for(lock, std::chrono::microseconds(1));
    }
  }
  int UnserializeState(ByteChunk* pChunk, int startPos) override
  {
    if (QV_FAULT == 2) std::raise(SIGSEGV);
    return Quorvane::UnserializeState(pChunk, startPos);
  }
  AAX_Result Initialize(IACFUnknown* host) override
  {
    while (QV_FAULT == 4)
      std::this_thread::sleep_for(std::chrono::seconds(1));
    return Quorvane::Initialize(host);
  }

private:
  void* volatile mScratch = nullptr; // keeps the allocation from being elided
  std::mutex mMeters;
  std::condition_variable mMetersRead;
  unsigned mRenders = 0;
  volatile long mPid = 0;
};

AAX_Result DescribeComponent(AAX_IEffectDescriptor* d, const AAX_SIPlugSetupInfo& s)
{
  return IPlugAAX_DescribeComponent(
      d, s, reinterpret_cast<AAX_CProcessProc>(&AAX_CIPlugParameters::StaticRenderAudio));
}
} // namespace

IPlugAAX* MakePlug() { return new Faulty(); }

AAX_Result GetEffectDescriptions(AAX_ICollection* collection)
{
  const IPlugAAX_EffectIdentity identity = {"Quorvane\nQuorvane",
                                            512,
                                            "2-2",
                                            CC("Ovtn"),
                                            CC("ln0p"),
                                            {CC("EFN1"), CC("EFN2")},
                                            {CC("EFA1"), CC("EFA2")},
                                            "Quorvane Midi",
                                            "com.orvantine.aax.quorvane",
                                            "Orvantine",
                                            0x00010000};
  const IPlugAAX_DescriptionProcs procs = {
      &DescribeComponent, reinterpret_cast<AAX_CCreateObjectProc>(&IPlugAAX::Create),
      reinterpret_cast<AAX_CCreateObjectProc>(&AAX_CEffectGUI_IPLUG::Create)};
  return IPlugAAX_DescribeEffects(collection, identity, procs);
}

// The four-thread soak of a module bundle: one effect instance loaded and
// driven as a workstation drives an inserted plug-in, with a render thread,
// host automation, an editor clicked in an X11 window and state chunks saved
// and restored, all at once. The render thread stops the others now and then
// (a checkpoint) to check the instance while it is quiet. With two editors a
// second instance of the module has its editor opened, clicked and closed on
// a fifth thread, on a schedule of its own.
#pragma once

#include "HostInstance.h"
#include "Module.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace stress
{
using Rng = std::mt19937_64;

// A value as failure messages show it ("%g").
std::string Num(double v);

// The first failure ends the soak; every thread polls Stopping(). [any]
class Outcome
{
public:
  // Keeps the first message only, and asks every thread to stop.
  void Fail(const std::string& why);
  void Stop() { mStop.store(true); }
  bool Stopping() const { return mStop.load(); }
  bool Failed() const;
  std::string Message() const;

private:
  std::atomic<bool> mStop{false};
  mutable std::mutex mMutex;
  std::string mFirst;
};

// Where the host-side threads wait while the render thread checks a quiet
// instance. Waiting threads wake every 100 ms to keep their heartbeat going.
class Gate
{
public:
  explicit Gate(int workers) : mWorkers(workers) {}
  // [worker] Cheap test, once per loop.
  bool Requested() const { return mRequested.load(); }
  // [worker] Waits while a checkpoint is asked for (or until stopping).
  void Park(const Outcome& outcome, std::atomic<uint64_t>& heartbeat);
  // [checker] Asks every worker to park and waits for them; false after
  // timeoutMs or when the soak is stopping.
  bool Close(const Outcome& outcome, int timeoutMs);
  // [checker] Lets the workers go on.
  void Open();

private:
  const int mWorkers;
  std::atomic<bool> mRequested{false};
  std::mutex mMutex;
  std::condition_variable mCv;
  int mParked = 0;
};

// What the soak did, for the report.
struct Counters
{
  std::atomic<uint64_t> blocks{0}, checkedBlocks{0}, frames{0};
  std::atomic<uint64_t> updates{0}, requests{0}, echoes{0}, queries{0};
  std::atomic<uint64_t> clicks{0}, switchClicks{0}, editorOpens{0}, windowsDestroyedFirst{0};
  std::atomic<uint64_t> secondEditorOpens{0}; // of them, the second instance's
  std::atomic<uint64_t> chunkSaves{0}, chunkRestores{0}, roundTrips{0}, foreignChunks{0};
  std::atomic<uint64_t> checkpoints{0};
  // Set requests the host side caused (its own requests and what chunk
  // restores post); the rest of the delegate's requests came from the editor.
  std::atomic<uint64_t> hostPosts{0};
};

// One render thread and three host-side threads (automation, editor, chunks);
// the second instance's editor thread runs only with two editors.
enum EThread
{
  kRenderThread,
  kAutomationThread,
  kEditorThread,
  kChunkThread,
  kSecondEditorThread,
  kNumThreads
};
const char* ThreadName(int thread);

// How a rendered block relates to its input.
enum class Kind
{
  kThrough, // neither switch, or bypassed
  kSwap,
  kMono, // Mono, with or without Swap: the average is the same
  kNotWritten,
  kMixed, // no single one of the above over the whole block
  kNonFinite
};
const char* KindName(Kind kind);

// The host's view of the instance's state: its chunk and what it says.
struct State
{
  std::vector<char> chunk;                             // the data bytes
  double swap = 0.0, mono = 0.0;                       // the plug-in's values from the chunk
  double hostSwap = 0.0, hostMono = 0.0, bypass = 0.0; // normalised host-side values
  // What the render call must do with these values.
  Kind Expected() const;
};

class Soak
{
public:
  // Loads the bundle on a host of its own and makes one initialised instance
  // with its render context; with editors 2 also a second instance (on a host
  // side of its own, so its editor's requests reach no other instance). Check
  // Error() before anything else.
  Soak(const std::string& bundle, uint64_t seed, int editors = 1);
  ~Soak();
  Soak(const Soak&) = delete;
  Soak& operator=(const Soak&) = delete;

  const std::string& Error() const { return mError; }
  uint64_t Seed() const { return mSeed; }
  Outcome& Result() { return mOutcome; }
  Counters& Count() { return mCounters; }
  Gate& Checkpoints() { return mGate; }
  std::atomic<uint64_t>& Heartbeat(int thread) { return mHeartbeat[thread]; }

  // Live objects of the module after loading, with the instance made (editor
  // closed), and now.
  int32_t LiveAtStart() const { return mLiveAtStart; }
  int32_t LiveWithInstance() const { return mLiveWithInstance; }
  int32_t LiveNow() const { return mModule->CanUnloadNow(); }
  // After Release(): the count before unloading, and whether the module unloaded.
  int32_t LiveAtEnd() const { return mLiveAtEnd; }
  bool Unloaded() const { return mModule && !mModule->Loaded(); }

  // The host makes one control call at a time into an instance (the
  // effect-parameters base relies on it); hold this around each. [host]
  std::mutex& HostCalls() { return mHostCalls; }
  aaxhost::StandInHost& Host() { return *mHost; }
  aaxhost::HostInstance& Instance() { return *mInstance; }
  int Editors() const { return mEditors; }
  // The instance whose editor editor (0 or 1) drives.
  aaxhost::HostInstance& EditorInstance(int editor) { return editor ? *mInstance2 : *mInstance; }
  AAX_IACFEffectParameters* Params() const { return mInstance->Parameters(); }
  aaxhost::CreationProc EditorProc() const { return mCreateEditor; }
  const std::vector<std::string>& ParamIDs() const { return mParamIDs; }
  const std::string& BypassID() const { return mBypassID; }
  const std::string& SwapID() const { return mSwapID; }
  const std::string& MonoID() const { return mMonoID; }
  AAX_CTypeID ChunkID() const { return mChunkID; }
  // Set requests a successful SetChunk posts: one per plug-in parameter.
  uint64_t PostsPerRestore() const { return mParamIDs.size() - 1; }
  // The plug-in's value index of a switch inside the chunk.
  int SwapIndex() const { return mSwapIndex; }
  int MonoIndex() const { return mMonoIndex; }

  // [audio] Renders frames of fresh random input through the native render
  // procedure and says what the plug-in did with it.
  Kind RenderBlock(Rng& rng, int32_t frames);
  // [host, under HostCalls()] The chunk and the values; false (and a
  // failure recorded) when the plug-in would not give them.
  bool ReadState(State& out);
  // [host, under HostCalls()] A chunk record of data; GetChunk/SetChunk use it.
  std::vector<char> Record(const std::vector<char>& data) const;

  // [render thread] Stops the other threads, checks the quiet instance, lets
  // them go on. With workers false (they are gone) it only checks.
  void Checkpoint(bool workers);

  // Releases the instance, checks the live-object count is back to its start
  // and unloads the module; failures go to Result().
  void Release();

private:
  void Load(const std::string& bundle);
  void MakeInstance();
  void MakeSecondInstance();
  void CheckQuiet(const char* when);

  uint64_t mSeed;
  int mEditors;
  std::string mError;
  Outcome mOutcome;
  Counters mCounters;
  Gate mGate;
  std::atomic<uint64_t> mHeartbeat[kNumThreads] = {};
  std::mutex mHostCalls;
  std::unique_ptr<aaxhost::StandInHost> mHost;
  std::unique_ptr<aaxhost::Module> mModule;
  std::unique_ptr<aaxhost::HostInstance> mInstance;
  std::unique_ptr<aaxhost::StandInHost> mHost2;
  std::unique_ptr<aaxhost::HostInstance> mInstance2;
  std::unique_ptr<aaxhost::RenderContext> mContext;
  aaxhost::NativeRenderProc mRender = nullptr;
  aaxhost::CreationProc mCreateEffect = nullptr, mCreateEditor = nullptr;
  aaxhost::RenderLayout mLayout;
  std::vector<std::string> mParamIDs;
  std::string mBypassID, mSwapID, mMonoID;
  int mSwapIndex = -1, mMonoIndex = -1;
  AAX_CTypeID mChunkID = 0;
  int32_t mLiveAtStart = -1, mLiveWithInstance = -1, mLiveAtEnd = -1;
  Rng mCheckRng;
};

// The three host-side threads; each returns when the soak stops.
void RunAutomation(Soak& soak);
// editor 0 is the first instance's (kEditorThread), 1 the second's.
void RunEditor(Soak& soak, int editor);
void RunChunks(Soak& soak);
// The render thread until deadline (steady clock), with checkpoints.
void RunRender(Soak& soak, double seconds);
} // namespace stress

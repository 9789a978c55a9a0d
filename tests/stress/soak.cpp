#include "soak.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"
#include "AAX_SPlugInChunk.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace stress
{
std::string Num(double v)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

namespace
{
int StemChannels(int32_t stem) { return static_cast<int>(static_cast<uint32_t>(stem) & 0xFFFF); }

// Outputs are filled with this before each render, so a block the plug-in
// did not write is told apart from one it wrote wrongly.
constexpr float kUnwritten = 7.0f;
} // namespace

void Outcome::Fail(const std::string& why)
{
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mFirst.empty()) mFirst = why;
  }
  mStop.store(true);
}

bool Outcome::Failed() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return !mFirst.empty();
}

std::string Outcome::Message() const
{
  std::lock_guard<std::mutex> lock(mMutex);
  return mFirst;
}

void Gate::Park(const Outcome& outcome, std::atomic<uint64_t>& heartbeat)
{
  std::unique_lock<std::mutex> lock(mMutex);
  ++mParked;
  mCv.notify_all();
  while (mRequested.load() && !outcome.Stopping())
  {
    mCv.wait_for(lock, std::chrono::milliseconds(100));
    heartbeat.fetch_add(1);
  }
  --mParked;
}

bool Gate::Close(const Outcome& outcome, int timeoutMs)
{
  std::unique_lock<std::mutex> lock(mMutex);
  mRequested.store(true);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (mParked < mWorkers)
  {
    if (outcome.Stopping() || std::chrono::steady_clock::now() >= deadline) return false;
    mCv.wait_for(lock, std::chrono::milliseconds(50));
  }
  return true;
}

void Gate::Open()
{
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mRequested.store(false);
  }
  mCv.notify_all();
}

const char* ThreadName(int thread)
{
  static const char* const kNames[kNumThreads] = {"render", "automation", "editor", "chunk",
                                                  "second editor"};
  return thread >= 0 && thread < kNumThreads ? kNames[thread] : "?";
}

const char* KindName(Kind kind)
{
  switch (kind)
  {
  case Kind::kThrough:
    return "the input unchanged";
  case Kind::kSwap:
    return "the channels swapped";
  case Kind::kMono:
    return "the average on both channels";
  case Kind::kNotWritten:
    return "no output";
  case Kind::kMixed:
    return "output that is no single one of through, swap or mono";
  case Kind::kNonFinite:
    return "non-finite output";
  }
  return "?";
}

Kind State::Expected() const
{
  // The plug-in turns a switch on for any value other than exactly 0.
  if (bypass >= 0.5) return Kind::kThrough;
  if (mono != 0.0) return Kind::kMono;
  if (swap != 0.0) return Kind::kSwap;
  return Kind::kThrough;
}

Soak::Soak(const std::string& bundle, uint64_t seed, int editors)
    : mSeed(seed), mEditors(editors == 2 ? 2 : 1), mGate(kNumThreads - 3 + mEditors),
      mCheckRng(seed ^ 0x5eed)
{
  // The watchdog leaves a thread that never runs alone.
  if (mEditors == 1) mHeartbeat[kSecondEditorThread].store(~0ull);
  Load(bundle);
  if (mError.empty()) MakeInstance();
}

Soak::~Soak()
{
  // Release() is the orderly way; this only makes sure the instance goes
  // before its context and its host.
  mInstance2.reset();
  mHost2.reset();
  mInstance.reset();
  mContext.reset();
}

void Soak::Load(const std::string& bundle)
{
  mHost = std::make_unique<aaxhost::StandInHost>();
  // The host's call logs and records would grow with every render and
  // request of a long soak; the automation delegate still counts.
  mHost->Controller()->Calls().SetEnabled(false);
  mHost->Automation()->Calls().SetEnabled(false);
  mHost->Transport()->Calls().SetEnabled(false);
  mHost->Automation()->KeepRecords(false);
  mModule = std::make_unique<aaxhost::Module>(*mHost);
  const aaxhost::ModuleResult r = mModule->Load(bundle);
  if (!r.ok())
  {
    mError = bundle + ": " + r.message;
    return;
  }
  mLiveAtStart = mModule->CanUnloadNow();
  const aaxhost::Description& d = mModule->GetDescription();
  if (d.effects.empty())
  {
    mError = bundle + ": the module describes no effect";
    return;
  }
  const aaxhost::DescribedEffect& e = d.effects.front();
  auto proc = [&](AAX_CProcPtrID id)
  {
    const auto it = e.procPtrs.find(id);
    return it == e.procPtrs.end() ? nullptr : reinterpret_cast<aaxhost::CreationProc>(it->second);
  };
  mCreateEffect = proc(0);
  mCreateEditor = proc(1);
  const aaxhost::DescribedComponent* component = nullptr;
  for (const aaxhost::DescribedComponent& c : e.components)
    for (const aaxhost::DescribedProcessProc& p : c.processProcs)
      if (!mRender && p.native && p.process)
      {
        mRender = reinterpret_cast<aaxhost::NativeRenderProc>(p.process);
        component = &c;
        mLayout.inputs = StemChannels(p.properties.Value(AAX_eProperty_InputStemFormat, 0));
        mLayout.outputs = StemChannels(p.properties.Value(AAX_eProperty_OutputStemFormat, 0));
      }
  if (!mCreateEffect || !mCreateEditor || !mRender || mLayout.inputs != 2 || mLayout.outputs != 2)
  {
    mError = bundle + ": the soak needs a stereo effect with an editor and a native render "
                      "procedure";
    return;
  }
  auto kind = [&](int index)
  {
    const aaxhost::DescribedField* f = component->Field(index);
    return f ? f->kind : std::string();
  };
  mLayout.maxFrames = 1024;
  mLayout.sideChain = kind(aaxhost::kFieldSideChain) == "SideChainIn";
  mLayout.inputMIDI = kind(aaxhost::kFieldInputMIDI) == "MIDINode";
  mLayout.globalMIDI = kind(aaxhost::kFieldGlobalMIDI) == "MIDINode";
  mLayout.transport = kind(aaxhost::kFieldTransport) == "MIDINode";

  aaxhost::ControllerState state = mHost->Controller()->State();
  state.effectID = e.id;
  state.sampleRate = 48000.0f;
  state.inputStemFormat = AAX_STEM_FORMAT(1, 2);
  state.outputStemFormat = AAX_STEM_FORMAT(1, 2);
  mHost->Controller()->SetState(state);
}

void Soak::MakeInstance()
{
  mInstance = std::make_unique<aaxhost::HostInstance>(*mHost, mCreateEffect);
  if (!mInstance->Valid())
  {
    mError = "the creation procedure made no effect";
    return;
  }
  if (const AAX_Result r = mInstance->Initialize())
  {
    mError = aaxhost::WithCode("the effect did not initialise", r);
    return;
  }
  // The host answers the plug-in's set requests (from its editor and its
  // chunk restores) on its own control thread, as a workstation does: they
  // are queued here and delivered by the automation and chunk threads.
  mHost->Automation()->SetEchoDeferred(true);
  mInstance->EchoAutomation(true);
  mContext = std::make_unique<aaxhost::RenderContext>(mLayout, mHost->Transport());
  if (const AAX_Result r = mInstance->InitializeFieldData(*mContext))
  {
    mError = aaxhost::WithCode("the render context was refused", r);
    return;
  }

  AAX_IACFEffectParameters* p = Params();
  int32_t n = 0;
  p->GetNumberOfParameters(&n);
  AAX_CString bypass;
  p->GetMasterBypassParameter(&bypass);
  mBypassID = bypass.StdString();
  for (int32_t i = 0; i < n; ++i)
  {
    AAX_CString id, name;
    if (p->GetParameterIDFromIndex(i, &id) != AAX_SUCCESS) continue;
    p->GetParameterName(id.Get(), &name);
    mParamIDs.push_back(id.StdString());
    // Plug-in parameter i has the host identifier i + 1; the chunk holds the
    // plug-in's values in that order.
    if (name.StdString() == "Swap") mSwapID = id.StdString();
    if (name.StdString() == "Mono") mMonoID = id.StdString();
  }
  mSwapIndex = std::atoi(mSwapID.c_str()) - 1;
  mMonoIndex = std::atoi(mMonoID.c_str()) - 1;
  int32_t chunks = 0;
  if (mBypassID.empty() || mSwapIndex < 0 || mMonoIndex < 0 ||
      p->GetNumberOfChunks(&chunks) != AAX_SUCCESS || chunks < 1 ||
      p->GetChunkIDFromIndex(0, &mChunkID) != AAX_SUCCESS)
  {
    mError = "the soak needs a master bypass, \"Swap\" and \"Mono\" parameters and a state chunk";
    return;
  }
  if (mEditors == 2) MakeSecondInstance();
  if (mError.empty()) mLiveWithInstance = mModule->CanUnloadNow();
}

void Soak::MakeSecondInstance()
{
  mHost2 = std::make_unique<aaxhost::StandInHost>();
  mHost2->Controller()->Calls().SetEnabled(false);
  mHost2->Automation()->Calls().SetEnabled(false);
  mHost2->Transport()->Calls().SetEnabled(false);
  mHost2->Automation()->KeepRecords(false);
  mHost2->Controller()->SetState(mHost->Controller()->State());
  mInstance2 = std::make_unique<aaxhost::HostInstance>(*mHost2, mCreateEffect);
  if (!mInstance2->Valid() || mInstance2->Initialize() != AAX_SUCCESS)
    mError = "the second instance could not be made";
}

Kind Soak::RenderBlock(Rng& rng, int32_t frames)
{
  aaxhost::RenderContext& ctx = *mContext;
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  float* inL = ctx.Input(0);
  float* inR = ctx.Input(1);
  float* outL = ctx.Output(0);
  float* outR = ctx.Output(1);
  const int32_t n = std::max(frames, 1);
  for (int32_t s = 0; s < n; ++s)
  {
    // Distinct channels keep through, swap and mono apart.
    inL[s] = sample(rng);
    do
      inR[s] = sample(rng);
    while (inR[s] == inL[s]);
    outL[s] = outR[s] = kUnwritten;
  }
  ctx.SetFrames(frames);
  void* context = ctx.Fields();
  mRender(&context, &context + 1);
  mCounters.blocks.fetch_add(1);
  mCounters.frames.fetch_add(static_cast<uint64_t>(frames));
  if (frames == 0)
    return outL[0] == kUnwritten && outR[0] == kUnwritten ? Kind::kNotWritten : Kind::kMixed;

  bool through = true, swap = true, mono = true, unwritten = true;
  for (int32_t s = 0; s < frames; ++s)
  {
    const float l = inL[s], r = inR[s], ol = outL[s], orr = outR[s];
    if (!std::isfinite(ol) || !std::isfinite(orr)) return Kind::kNonFinite;
    const float m = 0.5f * (r + l);
    through = through && ol == l && orr == r;
    swap = swap && ol == r && orr == l;
    mono = mono && ol == m && orr == m;
    unwritten = unwritten && ol == kUnwritten && orr == kUnwritten;
  }
  if (through) return Kind::kThrough;
  if (swap) return Kind::kSwap;
  if (mono) return Kind::kMono;
  return unwritten ? Kind::kNotWritten : Kind::kMixed;
}

std::vector<char> Soak::Record(const std::vector<char>& data) const
{
  std::vector<char> record(kAAX_SPlugInChunkHeaderSize + data.size() + 8, 0);
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  chunk->fChunkID = mChunkID;
  chunk->fSize = static_cast<int32_t>(data.size());
  if (!data.empty()) std::memcpy(chunk->fData, data.data(), data.size());
  return record;
}

bool Soak::ReadState(State& out)
{
  AAX_IACFEffectParameters* p = Params();
  uint32_t size = 0;
  AAX_Result r = p->GetChunkSize(mChunkID, &size);
  const size_t needed = 8u * static_cast<size_t>(std::max(mSwapIndex, mMonoIndex) + 1);
  if (r != AAX_SUCCESS || size < needed || size > (1u << 20))
  {
    mOutcome.Fail(aaxhost::WithCode("GetChunkSize answered " + std::to_string(size) + " bytes", r));
    return false;
  }
  std::vector<char> record = Record(std::vector<char>(size, 0));
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  r = p->GetChunk(mChunkID, chunk);
  if (r != AAX_SUCCESS || chunk->fSize < 0 || static_cast<uint32_t>(chunk->fSize) > size)
  {
    mOutcome.Fail(aaxhost::WithCode("GetChunk gave " + std::to_string(chunk->fSize) +
                                        " bytes after announcing " + std::to_string(size),
                                    r));
    return false;
  }
  out.chunk.assign(chunk->fData, chunk->fData + chunk->fSize);
  std::memcpy(&out.swap, out.chunk.data() + 8 * mSwapIndex, 8);
  std::memcpy(&out.mono, out.chunk.data() + 8 * mMonoIndex, 8);
  p->GetParameterNormalizedValue(mSwapID.c_str(), &out.hostSwap);
  p->GetParameterNormalizedValue(mMonoID.c_str(), &out.hostMono);
  p->GetParameterNormalizedValue(mBypassID.c_str(), &out.bypass);
  return true;
}

void Soak::Checkpoint(bool workers)
{
  if (workers && !mGate.Close(mOutcome, 30000))
  {
    if (!mOutcome.Stopping())
      mOutcome.Fail("checkpoint " + std::to_string(mCounters.checkpoints.load() + 1) +
                    ": the host threads did not all stop within 30 s (one hangs)");
    mGate.Open();
    return;
  }
  CheckQuiet(workers ? "checkpoint" : "at the end");
  if (workers) mGate.Open();
}

void Soak::CheckQuiet(const char* when)
{
  const std::string at =
      std::string(when) +
      (std::strcmp(when, "checkpoint") == 0 ? " " + std::to_string(mCounters.checkpoints.load() + 1)
                                            : std::string()) +
      ": ";
  std::lock_guard<std::mutex> lock(mHostCalls);
  AAX_IACFEffectParameters* p = Params();
  // What the editor and the restores asked of the host, applied.
  mCounters.echoes.fetch_add(mHost->Automation()->DeliverEchoes());
  State s;
  if (!ReadState(s)) return;
  auto values = [&](const State& st)
  {
    return "Swap " + Num(st.swap) + "/" + Num(st.hostSwap) + ", Mono " + Num(st.mono) + "/" +
           Num(st.hostMono);
  };
  if (s.swap != s.hostSwap || s.mono != s.hostMono)
    return mOutcome.Fail(at + "the plug-in and the host disagree (plug-in/host: " + values(s) +
                         ")");
  const Kind kind = RenderBlock(mCheckRng, 64);
  if (kind != s.Expected())
    return mOutcome.Fail(at + "with " + values(s) + " and bypass " + Num(s.bypass) +
                         " the render call gave " + KindName(kind) + " instead of " +
                         KindName(s.Expected()));

  std::vector<char> record = Record(s.chunk);
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  AAX_CBoolean equal = 0;
  if (p->CompareActiveChunk(chunk, &equal) != AAX_SUCCESS || !equal)
    return mOutcome.Fail(at + "CompareActiveChunk calls the plug-in's own chunk different");
  if (const AAX_Result r = p->SetChunk(mChunkID, chunk))
    return mOutcome.Fail(at + aaxhost::WithCode("SetChunk refused the plug-in's own chunk", r));
  mCounters.hostPosts.fetch_add(PostsPerRestore());
  mCounters.echoes.fetch_add(mHost->Automation()->DeliverEchoes());
  State again;
  if (!ReadState(again)) return;
  if (again.chunk != s.chunk || again.hostSwap != s.hostSwap || again.hostMono != s.hostMono)
    return mOutcome.Fail(at + "restoring the plug-in's own chunk changed its state (" + values(s) +
                         " before, " + values(again) + " after)");
  double toggled = s.swap != 0.0 ? 0.0 : 1.0;
  std::memcpy(chunk->fData + 8 * mSwapIndex, &toggled, 8);
  if (p->CompareActiveChunk(chunk, &equal) != AAX_SUCCESS || equal)
    return mOutcome.Fail(at + "CompareActiveChunk calls a chunk with Swap toggled equal");

  const int32_t live = mModule->CanUnloadNow();
  if (live != mLiveWithInstance)
    return mOutcome.Fail(at + std::to_string(live) + " live objects with the editor closed, " +
                         std::to_string(mLiveWithInstance) + " right after the instance was made");
  if (const size_t failed = mHost->Automation()->EchoFailures())
    return mOutcome.Fail(at + std::to_string(failed) +
                         " of the host's answers to the plug-in's requests were refused");
  const std::vector<aaxhost::AssertRecord> asserts = mHost->Services()->Asserts();
  if (!asserts.empty())
    return mOutcome.Fail(at + "the plug-in reported an assertion failure: " + asserts[0].file +
                         ":" + std::to_string(asserts[0].line) + ": " + asserts[0].note);
  mCounters.checkpoints.fetch_add(1);
}

void Soak::Release()
{
  if (!mModule || !mModule->Loaded()) return;
  mInstance2.reset();
  mInstance.reset(); // closes the editor, uninitialises, releases
  mContext.reset();
  mLiveAtEnd = mModule->CanUnloadNow();
  if (mLiveAtEnd != mLiveAtStart)
    return mOutcome.Fail("after releasing the instance the module has " +
                         std::to_string(mLiveAtEnd) + " live objects, " +
                         std::to_string(mLiveAtStart) + " at the start (leak)");
  const aaxhost::ModuleResult r = mModule->Unload();
  if (!r.ok()) return mOutcome.Fail("the module did not unload: " + r.message);
}
} // namespace stress

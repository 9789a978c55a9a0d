#pragma once
// Small recording subclasses for tests of the plug-in base.

#include "IGraphicsHeadless.h"
#include "IPlugBase.h"

#include <string>
#include <utility>
#include <vector>

// An editor that records what the base tells it (on the headless platform,
// so every platform operation exists).
class RecordingGraphics : public IGraphicsHeadless
{
public:
  struct Call
  {
    int idx;
    double value;
    bool normalized;
  };

  explicit RecordingGraphics(int* deleted = nullptr)
      : IGraphicsHeadless(nullptr, 10, 10), mDeleted(deleted)
  {
  }
  ~RecordingGraphics() override
  {
    if (mDeleted) ++*mDeleted;
  }
  void SetParameterFromPlug(int idx, double value, bool normalized) override
  {
    calls.push_back({idx, value, normalized});
  }
  void PrepDraw() override { ++prepDraws; }

  std::vector<Call> calls;
  int prepDraws = 0;

private:
  int* mDeleted;
};

// A plug-in base with recording wrapper operations.
class TestPlug : public IPlugBase
{
public:
  TestPlug(int nParams, const char* io, int latency = 0, const char* name = "Test",
           int nPresets = 1, bool stateChunks = false)
      : IPlugBase(nParams, io, nPresets, name, "", "Maker", 0x10203, 1, 2, latency, false,
                  stateChunks, false, kAPIAAX)
  {
  }

  void OnParamChange(int idx) override
  {
    IPlugBase::OnParamChange(idx);
    changes.push_back(idx);
  }
  void BeginInformHostOfParamChange(int idx) override { events.push_back({"begin", idx}); }
  void InformHostOfParamChange(int idx, double v) override
  {
    informed.push_back({idx, v});
    // The base promises the mutex is held here.
    heldWhileInforming = heldWhileInforming && mMutex.DebugCount() > 0;
  }
  void EndInformHostOfParamChange(int idx) override { events.push_back({"end", idx}); }
  void InformHostOfProgramChange() override { ++programChanges; }
  void PresetsChangedByHost() override { ++presetsChanged; }
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return tempo; }
  void GetTimeSig(int* n, int* d) override { *n = 4, *d = 4; }
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg* msg) override
  {
    sentMidi.push_back(*msg);
    return sendResult;
  }

  // Exposes the delay line set-up a wrapper performs.
  void MakeDelayLine()
  {
    mDelay = new NChanDelayLine(NInChannels(), NOutChannels());
    mDelay->SetDelayTime(GetLatency());
  }
  int MutexDepth() const { return mMutex.DebugCount(); }

  std::vector<int> changes;
  std::vector<std::pair<const char*, int>> events;
  std::vector<std::pair<int, double>> informed;
  std::vector<IMidiMsg> sentMidi;
  int programChanges = 0;
  int presetsChanged = 0;
  bool heldWhileInforming = true;
  bool sendResult = true;
  double tempo = 0.0;
};

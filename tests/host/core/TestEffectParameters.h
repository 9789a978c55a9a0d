// A small effect on the real AAX_CEffectParameters for host tests: its
// EffectInit creates, in this order, "MasterBypassID" (bool), "1" Swap (bool,
// default on), "2" Gain (int32 0..10, default 7, with a shortened name and a
// packet on port 5), "3" Mix (double 0..1, default 0.5) and, when asked,
// "PreviewID" (bool) and "4" Steps (known to the chunk only by its text).
#pragma once

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CString.h"
#include "AAX_Exports.h"
#include "AAX_IPacketHandler.h"

struct TestEffectOptions
{
  bool bypass = true;
  bool preview = false;
  bool text = false;
  AAX_Result effectInitResult = 0; // what EffectInit answers
};

class TestEffectParameters : public AAX_CEffectParameters
{
public:
  using Options = TestEffectOptions;

  // The object as the host holds it after creation: one reference.
  static TestEffectParameters* New(Options options = Options())
  {
    auto* ep = new TestEffectParameters(options);
    ep->AddRef();
    return ep;
  }

  AAX_Result EffectInit() override
  {
    const AAX_CBinaryTaperDelegate<bool> binary;
    const AAX_CBinaryDisplayDelegate<bool> onOff("off", "on");
    if (mOptions.bypass)
      mParameterManager.AddParameter(new AAX_CParameter<bool>(
          cDefaultMasterBypassID, AAX_CString("Master Bypass"), false, binary, onOff, true));
    mParameterManager.AddParameter(
        new AAX_CParameter<bool>("1", AAX_CString("Swap"), true, binary, onOff, true));
    auto* gain = new AAX_CParameter<int32_t>("2", AAX_CString("Gain"), 7,
                                             AAX_CLinearTaperDelegate<int32_t, 0>(0, 10),
                                             AAX_CNumberDisplayDelegate<int32_t>(), true);
    gain->AddShortenedName(AAX_CString("G"));
    mParameterManager.AddParameter(gain);
    mParameterManager.AddParameter(new AAX_CParameter<double>(
        "3", AAX_CString("Mix"), 0.5, AAX_CLinearTaperDelegate<double, 0>(0.0, 1.0),
        AAX_CNumberDisplayDelegate<double>(), true));
    if (mOptions.preview)
      mParameterManager.AddParameter(
          new AAX_CParameter<bool>(cPreviewID, AAX_CString("Preview"), false, binary, onOff));
    if (mOptions.text)
      mParameterManager.AddParameter(new TextParameter("4", 4));
    const SingleValueHandler handler(&mPacketDispatcher);
    mPacketDispatcher.RegisterPacket("2", 5, &handler);
    return mOptions.effectInitResult;
  }

  int32_t NumChunkedParameters() const { return mNumChunkedParameters; }
  const std::set<std::string>& FilteredParameters() const { return mFilteredParameters; }
  AAX_CParameterManager& Manager() { return mParameterManager; }

protected:
  explicit TestEffectParameters(Options options) : mOptions(options) {}

private:
  // An int32 parameter that hides its number, so the chunk stores its display text.
  class TextParameter : public AAX_CParameter<int32_t>
  {
  public:
    TextParameter(AAX_CParamID id, int32_t value)
        : AAX_CParameter<int32_t>(id, AAX_CString("Steps"), value,
                                  AAX_CLinearTaperDelegate<int32_t, 0>(0, 10),
                                  AAX_CNumberDisplayDelegate<int32_t>(), true)
    {
    }
    bool GetValueAsInt32(int32_t*) const override { return false; }
  };

  // Fills the packet with the parameter's value (the dispatcher's ready-made fill).
  class SingleValueHandler : public AAX_IPacketHandler
  {
  public:
    explicit SingleValueHandler(AAX_CPacketDispatcher* d) : mDispatcher(d) {}
    AAX_IPacketHandler* Clone() const override { return new SingleValueHandler(*this); }
    AAX_Result Call(AAX_CParamID id, AAX_CPacket& packet) const override
    {
      return mDispatcher->GenerateSingleValuePacket(id, packet);
    }

  private:
    AAX_CPacketDispatcher* mDispatcher;
  };

  Options mOptions;
};

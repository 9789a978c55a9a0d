#pragma once
// A small LV2 host for the tests: lilv finds the bundle and makes instances;
// the host offers urid:map and, when asked, opts:options with
// bufsz:maxBlockLength, connects every port by symbol, and calls the state
// interface directly with its own store and retrieve.

#include <lilv/lilv.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#include <lv2/options/options.h>

#include <map>
#include <string>
#include <vector>

namespace lv2test
{
class World
{
public:
  // Loads one bundle folder; the plug-in uri must be in it.
  World(const std::string& bundle, const char* uri);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  const LilvPlugin* Plugin() const { return mPlugin; }
  LV2_URID Map(const char* uri);
  LV2_URID_Map* UridMap() { return &mMap; }

private:
  static LV2_URID MapFn(LV2_URID_Map_Handle h, const char* uri);
  LilvWorld* mWorld = nullptr;
  const LilvPlugin* mPlugin = nullptr;
  std::map<std::string, LV2_URID> mIds;
  LV2_URID_Map mMap{};
};

struct Saved
{
  std::vector<unsigned char> bytes;
  LV2_URID key = 0, type = 0;
  uint32_t flags = 0;
};

class Instance
{
public:
  // features: 0 none at all (as lv2apply), 1 urid:map only, 2 map and
  // options announcing maxBlock frames.
  Instance(World& world, int features, int maxBlock = 4096, double rate = 48000.0);
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  // The control port of a symbol (the value the host writes).
  float& Control(const char* symbol);
  float Latency() const { return mLatency; }
  // Connects audio channel ports to these buffers (in-place: the same ones).
  void ConnectAudio(std::vector<float*> ins, std::vector<float*> outs);
  void Run(uint32_t frames) { lilv_instance_run(mInstance, frames); }

  LV2_State_Status Save(Saved* pOut);
  // Offers exactly these bytes, type and key to restore.
  LV2_State_Status Restore(const Saved& s);
  const LilvInstance* Raw() const { return mInstance; }

private:
  World& mWorld;
  LilvInstance* mInstance = nullptr;
  std::map<std::string, uint32_t> mPorts;
  std::vector<float> mControls;
  float mLatency = -1.0f;
  std::vector<uint32_t> mAudioIn, mAudioOut;
  int32_t mMaxBlock = 0;
  LV2_Options_Option mOptions[2]{};
  LV2_Feature mMapFeature{}, mOptionsFeature{};
  const LV2_Feature* mFeatures[3]{};
};
} // namespace lv2test

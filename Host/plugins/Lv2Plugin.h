// Any LV2 plug-in as the tool hosts it: lilv finds it (a bundle folder, or a
// plug-in URI on LV2_PATH), and an instance gets every port connected to
// buffers of its own, the features the tool offers, and the state interface
// driven with the tool's own store and retrieve.
#pragma once

#include <lilv/lilv.h>

#include <cstdint>
#include <map>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace aaxtool
{
// True when target names an LV2 plug-in rather than an AAX module: a folder
// with a manifest.ttl, or a URI. [any]
bool IsLv2Target(const std::string& target);

// The rate lv2:sampleRate bounds are scaled to in Lv2Port.
inline constexpr float kBoundsRate = 48000.0f;

struct Lv2Port
{
  uint32_t index = 0;
  std::string symbol, name;
  bool input = false, output = false;
  bool audio = false, control = false, cv = false, atom = false;
  bool optional = false, integer = false, toggled = false, enumeration = false;
  bool logarithmic = false, latency = false;
  float min = 0.0f, max = 1.0f, def = 0.0f;
  bool hasMin = false, hasMax = false, hasDef = false;
  std::vector<std::pair<float, std::string>> scalePoints;
  size_t atomCapacity = 8192;
};

// The loaded world and the plug-in in it; loaded once by the tool and shared
// by forked checks. Fails with one line when the target is not found.
class Lv2World
{
public:
  explicit Lv2World(const std::string& target);
  ~Lv2World();
  Lv2World(const Lv2World&) = delete;
  Lv2World& operator=(const Lv2World&) = delete;

  LilvWorld* World() const { return mWorld; }
  const LilvPlugin* Plugin() const { return mPlugin; }
  std::string Uri() const;
  std::string Name() const;
  std::string BinaryPath() const;
  const std::vector<Lv2Port>& Ports() const { return mPorts; }
  int AudioIns() const;
  int AudioOuts() const;
  bool HasFeature(const char* uri) const; // required or optional
  bool Requires(const char* uri) const;
  std::vector<std::string> RequiredFeatures() const;
  std::vector<std::string> OptionalFeatures() const;
  std::vector<std::string> Presets() const; // their URIs, presets loaded
  bool HasExtension(const char* uri) const;

  uint32_t Map(const char* uri);
  const char* Unmap(uint32_t id) const;

private:
  void Find(const std::string& target);
  void ReadPorts();
  LilvWorld* mWorld = nullptr;
  const LilvPlugin* mPlugin = nullptr;
  std::vector<Lv2Port> mPorts;
  mutable std::mutex mMapMutex;
  std::map<std::string, uint32_t> mIds;
  std::deque<std::string> mUris; // a deque: unmapped texts stay where they are
};

// Keeps the loaded shared object at path in memory for the life of the
// process. Libraries built on GLib's type system (fluidsynth's instrument
// library, Pango) cannot be unloaded and loaded again: their types stay
// registered and the next registration waits forever. Hosts that link such
// libraries themselves never unload them; the tool, which frees instances
// and UIs over and over, does as they do. [any]
void KeepLoaded(const std::string& path);

// The features the tool offers; a required one outside this list makes the
// plug-in one the tool cannot host.
const std::vector<std::string>& Lv2OfferedFeatures();
// The first required feature the tool does not offer, or empty.
std::string Lv2MissingFeature(const Lv2World& w);

struct Lv2StateValue
{
  uint32_t key = 0, type = 0, flags = 0;
  std::vector<unsigned char> bytes;
};
using Lv2State = std::vector<Lv2StateValue>;
bool operator==(const Lv2StateValue& a, const Lv2StateValue& b);

class Lv2Instance
{
public:
  // features false: instantiated with none at all. Null instance (Ok()
  // false) when the plug-in refuses.
  Lv2Instance(Lv2World& w, double rate, int maxBlock, bool features = true);
  ~Lv2Instance();
  Lv2Instance(const Lv2Instance&) = delete;
  Lv2Instance& operator=(const Lv2Instance&) = delete;

  bool Ok() const { return mInstance != nullptr; }
  LilvInstance* Raw() const { return mInstance; } // for instance and data access
  void Activate();
  void Deactivate();
  // Connects audio ports to in/out (in-place when the same pointers) and
  // runs; control, CV and atom buffers are the instance's own. After run
  // come the worker's responses and end_run. serveWork true does the work
  // the plug-in scheduled right after run, so its responses arrive in the
  // same cycle; false leaves it to ServeWork, for callers that must keep
  // the worker's side apart from run's (the real-time counters). [audio]
  void Run(float* const* in, float* const* out, uint32_t frames, bool serveWork = true);
  void RunConnected(uint32_t frames, bool serveWork = true); // [audio]
  // Calls the plug-in's work() for each request scheduled since the last
  // call; responses wait for the next run. [worker]
  void ServeWork();
  bool HasWorker() const { return mWorker != nullptr; }
  void ConnectAudio(float* const* in, float* const* out); // [audio]
  float& Control(uint32_t index) { return mControls[index]; }
  void SetDefaults();
  bool HasState() const { return mState != nullptr; }
  Lv2State Save(); // fails when the plug-in returns an error
  // The plug-in's status for restoring exactly these values.
  int Restore(const Lv2State& s);
  bool ApplyPreset(const std::string& uri, std::string* why);
  // The features the instance was made with (the worker's schedule left
  // out), for hosts' calls that take them, such as lilv's state functions.
  const LV2_Feature* const* Features() const;

private:
  static uint32_t MapFn(void* handle, const char* uri);
  static const char* UnmapFn(void* handle, uint32_t id);
  void ResetAtoms();
  void DeliverResponses(); // [audio]

  // Messages between run and the worker, in storage allocated once so that
  // scheduling from run allocates nothing. A full queue refuses the message
  // (LV2_WORKER_ERR_NO_SPACE), as the worker interface allows.
  struct Queue
  {
    std::vector<uint64_t> words;
    size_t used = 0; // bytes
    bool Push(uint32_t size, const void* data);
    template <class F> void Drain(F&& each);
  };
  static int ScheduleFn(void* handle, uint32_t size, const void* data);
  static int RespondFn(void* handle, uint32_t size, const void* data);

  Lv2World& mWorld;
  LilvInstance* mInstance = nullptr;
  const void* mState = nullptr;  // LV2_State_Interface
  const void* mWorker = nullptr; // LV2_Worker_Interface
  Queue mRequests, mResponses;
  bool mActive = false;
  int32_t mMaxBlock = 0, mMinBlock = 0, mSeqSize = 0;
  float mRate = 48000.0f;
  std::vector<float> mControls;                // by port index
  std::vector<std::vector<float>> mCv;         // by port index
  std::vector<std::vector<uint64_t>> mAtoms;   // by port index, 8-aligned
  std::vector<std::vector<float>> mSpareAudio; // ports past the given channels
  std::vector<const Lv2Port*> mAudioIn, mAudioOut;
  // Feature data, kept alive for the instance's life.
  struct Holder;
  std::unique_ptr<Holder> mHold;
};
} // namespace aaxtool

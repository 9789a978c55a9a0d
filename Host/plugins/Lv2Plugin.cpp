// Hosting any LV2 plug-in with lilv: finding it, its ports, the features the
// tool offers, instances with every port connected, state and presets.
#include "Lv2Plugin.h"

#include "ToolError.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/port-props/port-props.h>
#include <lv2/presets/presets.h>
#include <lv2/resize-port/resize-port.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace aaxtool
{
namespace
{
struct Node
{
  LilvNode* n;
  explicit Node(LilvNode* node) : n(node) {}
  ~Node() { lilv_node_free(n); }
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  operator const LilvNode*() const { return n; }
};

std::string Str(const LilvNode* n) { return n ? lilv_node_as_string(n) : ""; }

std::vector<std::string> Uris(LilvNodes* nodes)
{
  std::vector<std::string> out;
  LILV_FOREACH(nodes, i, nodes) out.push_back(Str(lilv_nodes_get(nodes, i)));
  lilv_nodes_free(nodes);
  return out;
}

bool IsDir(const std::string& p)
{
  struct stat st;
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
} // namespace

bool IsLv2Target(const std::string& target)
{
  if (IsDir(target))
  {
    struct stat st;
    return stat((target + "/manifest.ttl").c_str(), &st) == 0;
  }
  return target.find(':') != std::string::npos && target.find('/') != 0 &&
         target.rfind("./", 0) != 0;
}

Lv2World::Lv2World(const std::string& target)
{
  mWorld = lilv_world_new();
  try
  {
    Find(target);
  }
  catch (...)
  {
    // The destructor does not run for a constructor that throws.
    lilv_world_free(mWorld);
    throw;
  }
  ReadPorts();
}

void Lv2World::Find(const std::string& target)
{
  if (IsDir(target))
  {
    char* real = realpath(target.c_str(), nullptr);
    std::string dir = real ? real : target;
    free(real);
    if (dir.back() != '/') dir += '/';
    // LV2's own vocabulary bundles on LV2_PATH give lilv the port classes.
    lilv_world_load_specifications(mWorld);
    lilv_world_load_plugin_classes(mWorld);
    Node bundle(lilv_new_file_uri(mWorld, nullptr, dir.c_str()));
    lilv_world_load_bundle(mWorld, bundle);
    const LilvPlugins* all = lilv_world_get_all_plugins(mWorld);
    std::vector<const LilvPlugin*> inBundle;
    LILV_FOREACH(plugins, i, all)
    {
      const LilvPlugin* p = lilv_plugins_get(all, i);
      if (Str(lilv_plugin_get_bundle_uri(p)) == Str(bundle)) inBundle.push_back(p);
    }
    if (inBundle.empty()) Fail(target + ": the bundle describes no LV2 plug-in");
    if (inBundle.size() > 1)
    {
      std::string names;
      for (const LilvPlugin* p : inBundle)
        names += std::string(names.empty() ? "" : ", ") + Str(lilv_plugin_get_uri(p));
      Usage(target + ": the bundle holds " + std::to_string(inBundle.size()) +
            " plug-ins; name one by its URI: " + names);
    }
    mPlugin = inBundle[0];
  }
  else
  {
    lilv_world_load_all(mWorld);
    Node uri(lilv_new_uri(mWorld, target.c_str()));
    mPlugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(mWorld), uri);
    if (!mPlugin)
      Fail("no such bundle, module or LV2 plug-in: " + target +
           " (no LV2 plug-in with this URI on LV2_PATH)");
  }
}

void Lv2World::ReadPorts()
{

  Node audio(lilv_new_uri(mWorld, LV2_CORE__AudioPort));
  Node control(lilv_new_uri(mWorld, LV2_CORE__ControlPort));
  Node cv(lilv_new_uri(mWorld, LV2_CORE__CVPort));
  Node atom(lilv_new_uri(mWorld, LV2_ATOM__AtomPort));
  Node input(lilv_new_uri(mWorld, LV2_CORE__InputPort));
  Node output(lilv_new_uri(mWorld, LV2_CORE__OutputPort));
  Node optional(lilv_new_uri(mWorld, LV2_CORE__connectionOptional));
  Node integer(lilv_new_uri(mWorld, LV2_CORE__integer));
  Node toggled(lilv_new_uri(mWorld, LV2_CORE__toggled));
  Node enumeration(lilv_new_uri(mWorld, LV2_CORE__enumeration));
  Node logarithmic(lilv_new_uri(mWorld, LV2_PORT_PROPS__logarithmic));
  Node reportsLatency(lilv_new_uri(mWorld, LV2_CORE__reportsLatency));
  Node latencyDesignation(lilv_new_uri(mWorld, LV2_CORE__latency));
  Node minSize(lilv_new_uri(mWorld, LV2_RESIZE_PORT__minimumSize));
  Node sampleRate(lilv_new_uri(mWorld, LV2_CORE__sampleRate));
  const uint32_t n = lilv_plugin_get_num_ports(mPlugin);
  std::vector<float> mins(n), maxs(n), defs(n);
  lilv_plugin_get_port_ranges_float(mPlugin, mins.data(), maxs.data(), defs.data());
  for (uint32_t i = 0; i < n; ++i)
  {
    const LilvPort* p = lilv_plugin_get_port_by_index(mPlugin, i);
    Lv2Port port;
    port.index = i;
    port.symbol = Str(lilv_port_get_symbol(mPlugin, p));
    LilvNode* name = lilv_port_get_name(mPlugin, p);
    port.name = Str(name);
    lilv_node_free(name);
    port.input = lilv_port_is_a(mPlugin, p, input);
    port.output = lilv_port_is_a(mPlugin, p, output);
    port.audio = lilv_port_is_a(mPlugin, p, audio);
    port.control = lilv_port_is_a(mPlugin, p, control);
    port.cv = lilv_port_is_a(mPlugin, p, cv);
    port.atom = lilv_port_is_a(mPlugin, p, atom);
    port.optional = lilv_port_has_property(mPlugin, p, optional);
    port.integer = lilv_port_has_property(mPlugin, p, integer);
    port.toggled = lilv_port_has_property(mPlugin, p, toggled);
    port.enumeration = lilv_port_has_property(mPlugin, p, enumeration);
    port.logarithmic = lilv_port_has_property(mPlugin, p, logarithmic);
    port.latency = port.output && port.control &&
                   (lilv_port_has_property(mPlugin, p, reportsLatency) ||
                    lilv_port_has_property(mPlugin, p, latencyDesignation));
    port.hasMin = !std::isnan(mins[i]);
    port.hasMax = !std::isnan(maxs[i]);
    port.hasDef = !std::isnan(defs[i]);
    port.min = port.hasMin ? mins[i] : 0.0f;
    port.max = port.hasMax ? maxs[i] : 1.0f;
    port.def = port.hasDef ? defs[i] : port.min;
    // Bounds of a lv2:sampleRate port are multiples of the sample rate (the
    // tool's instances run at 48 kHz unless a check says otherwise). The
    // text is silent on the default: plug-ins write it either way, so a
    // default that fits only once scaled is scaled too.
    if (lilv_port_has_property(mPlugin, p, sampleRate))
    {
      port.min *= kBoundsRate;
      port.max *= kBoundsRate;
      const float scaled = port.def * kBoundsRate;
      const bool fits = port.def >= port.min && port.def <= port.max;
      if (!fits && scaled >= port.min && scaled <= port.max) port.def = scaled;
    }
    if (LilvScalePoints* sp = lilv_port_get_scale_points(mPlugin, p))
    {
      LILV_FOREACH(scale_points, j, sp)
      {
        const LilvScalePoint* s = lilv_scale_points_get(sp, j);
        port.scalePoints.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(s)),
                                      Str(lilv_scale_point_get_label(s)));
      }
      lilv_scale_points_free(sp);
    }
    if (LilvNodes* sizes = lilv_port_get_value(mPlugin, p, minSize))
    {
      if (lilv_nodes_size(sizes))
        port.atomCapacity = std::max<size_t>(
            port.atomCapacity, static_cast<size_t>(lilv_node_as_int(lilv_nodes_get_first(sizes))));
      lilv_nodes_free(sizes);
    }
    mPorts.push_back(port);
  }
}

Lv2World::~Lv2World() { lilv_world_free(mWorld); }

std::string Lv2World::Uri() const { return Str(lilv_plugin_get_uri(mPlugin)); }
std::string Lv2World::Name() const
{
  LilvNode* n = lilv_plugin_get_name(mPlugin);
  const std::string s = Str(n);
  lilv_node_free(n);
  return s;
}
std::string Lv2World::BinaryPath() const
{
  const LilvNode* lib = lilv_plugin_get_library_uri(mPlugin);
  if (!lib) return "";
  char* path = lilv_file_uri_parse(lilv_node_as_uri(lib), nullptr);
  const std::string s = path ? path : "";
  lilv_free(path);
  return s;
}
int Lv2World::AudioIns() const
{
  return static_cast<int>(std::count_if(mPorts.begin(), mPorts.end(),
                                        [](const Lv2Port& p) { return p.audio && p.input; }));
}
int Lv2World::AudioOuts() const
{
  return static_cast<int>(std::count_if(mPorts.begin(), mPorts.end(),
                                        [](const Lv2Port& p) { return p.audio && p.output; }));
}
std::vector<std::string> Lv2World::RequiredFeatures() const
{
  return Uris(lilv_plugin_get_required_features(mPlugin));
}
std::vector<std::string> Lv2World::OptionalFeatures() const
{
  return Uris(lilv_plugin_get_optional_features(mPlugin));
}
bool Lv2World::Requires(const char* uri) const
{
  const std::vector<std::string> r = RequiredFeatures();
  return std::find(r.begin(), r.end(), uri) != r.end();
}
bool Lv2World::HasFeature(const char* uri) const
{
  Node n(lilv_new_uri(mWorld, uri));
  return lilv_plugin_has_feature(mPlugin, n);
}
bool Lv2World::HasExtension(const char* uri) const
{
  Node n(lilv_new_uri(mWorld, uri));
  return lilv_plugin_has_extension_data(mPlugin, n);
}
std::vector<std::string> Lv2World::Presets() const
{
  Node preset(lilv_new_uri(mWorld, LV2_PRESETS__Preset));
  std::vector<std::string> out = Uris(lilv_plugin_get_related(mPlugin, preset));
  for (const std::string& u : out)
  {
    Node n(lilv_new_uri(mWorld, u.c_str()));
    lilv_world_load_resource(mWorld, n);
  }
  return out;
}

uint32_t Lv2World::Map(const char* uri)
{
  // Instances of one world render on several threads at once (process -j),
  // and a plug-in may map from any of them.
  const std::lock_guard<std::mutex> lock(mMapMutex);
  auto it = mIds.find(uri);
  if (it != mIds.end()) return it->second;
  mUris.push_back(uri);
  const uint32_t id = static_cast<uint32_t>(mUris.size());
  mIds.emplace(uri, id);
  return id;
}
const char* Lv2World::Unmap(uint32_t id) const
{
  const std::lock_guard<std::mutex> lock(mMapMutex);
  return id >= 1 && id <= mUris.size() ? mUris[id - 1].c_str() : nullptr;
}

void KeepLoaded(const std::string& path)
{
  // NOLOAD: only an object already loaded; NODELETE stays with it after the
  // reference taken here is given back.
  if (void* h = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE)) dlclose(h);
}

const std::vector<std::string>& Lv2OfferedFeatures()
{
  // hardRTCapable, isLive and inPlaceBroken ask nothing of the host that it
  // does not do; loadDefaultState is done at instantiation; boundedBlockLength holds since every
  // block is at most the announced maximum; the worker's work is done on
  // the running thread after run, one call at a time.
  static const std::vector<std::string> offered = {LV2_URID__map,
                                                   LV2_URID__unmap,
                                                   LV2_OPTIONS__options,
                                                   LV2_BUF_SIZE__boundedBlockLength,
                                                   LV2_LOG__log,
                                                   LV2_CORE__hardRTCapable,
                                                   LV2_CORE__isLive,
                                                   LV2_CORE__inPlaceBroken,
                                                   LV2_STATE__loadDefaultState,
                                                   LV2_WORKER__schedule};
  return offered;
}

std::string Lv2MissingFeature(const Lv2World& w)
{
  const std::vector<std::string>& offered = Lv2OfferedFeatures();
  for (const std::string& f : w.RequiredFeatures())
    if (std::find(offered.begin(), offered.end(), f) == offered.end()) return f;
  return "";
}

bool operator==(const Lv2StateValue& a, const Lv2StateValue& b)
{
  return a.key == b.key && a.type == b.type && a.flags == b.flags && a.bytes == b.bytes;
}

namespace
{
// Room for the messages of one cycle: plug-ins send small messages
// (commands, pointers) or refuse to schedule what does not fit.
constexpr size_t kWorkerQueueBytes = 1 << 20;

int LogPrintf(LV2_Log_Handle, LV2_URID, const char*, ...) { return 0; }
int LogVPrintf(LV2_Log_Handle, LV2_URID, const char*, va_list) { return 0; }
} // namespace

struct Lv2Instance::Holder
{
  LV2_URID_Map map{};
  LV2_URID_Unmap unmap{};
  LV2_Log_Log log{};
  LV2_Options_Option options[6]{};
  LV2_Worker_Schedule schedule{};
  LV2_State_Map_Path mapPath{};
  LV2_State_Free_Path freePath{};
  LV2_Feature fMap{}, fUnmap{}, fOptions{}, fBounded{}, fLog{}, fSchedule{}, fMapPath{},
      fFreePath{};
  // For state save and restore: paths in state stay as they are (the tool
  // keeps state in memory only), which a plug-in that saves files needs.
  const LV2_Feature* stateList[5]{};
  const LV2_Feature* list[7]{};
};

uint32_t Lv2Instance::MapFn(void* handle, const char* uri)
{
  return static_cast<Lv2World*>(handle)->Map(uri);
}
const char* Lv2Instance::UnmapFn(void* handle, uint32_t id)
{
  return static_cast<Lv2World*>(handle)->Unmap(id);
}

Lv2Instance::Lv2Instance(Lv2World& w, double rate, int maxBlock, bool features)
    : mWorld(w), mHold(new Holder)
{
  mMaxBlock = maxBlock;
  mMinBlock = 0;
  mSeqSize = 8192;
  mRate = static_cast<float>(rate);
  Holder& h = *mHold;
  h.map = {&w, [](LV2_URID_Map_Handle p, const char* u) { return MapFn(p, u); }};
  h.unmap = {&w, [](LV2_URID_Unmap_Handle p, LV2_URID id) { return UnmapFn(p, id); }};
  h.log = {nullptr, LogPrintf, LogVPrintf};
  const uint32_t intType = w.Map(LV2_ATOM__Int), floatType = w.Map(LV2_ATOM__Float);
  h.options[0] = {LV2_OPTIONS_INSTANCE, 0,       w.Map(LV2_BUF_SIZE__maxBlockLength),
                  sizeof(int32_t),      intType, &mMaxBlock};
  h.options[1] = {LV2_OPTIONS_INSTANCE, 0,       w.Map(LV2_BUF_SIZE__minBlockLength),
                  sizeof(int32_t),      intType, &mMinBlock};
  h.options[2] = {LV2_OPTIONS_INSTANCE, 0,       w.Map(LV2_BUF_SIZE__sequenceSize),
                  sizeof(int32_t),      intType, &mSeqSize};
  h.options[3] = {LV2_OPTIONS_INSTANCE, 0,         w.Map(LV2_PARAMETERS__sampleRate),
                  sizeof(float),        floatType, &mRate};
  h.options[4] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
  h.fMap = {LV2_URID__map, &h.map};
  h.fUnmap = {LV2_URID__unmap, &h.unmap};
  h.fOptions = {LV2_OPTIONS__options, h.options};
  h.fBounded = {LV2_BUF_SIZE__boundedBlockLength, nullptr};
  h.fLog = {LV2_LOG__log, &h.log};
  h.schedule = {this, [](LV2_Worker_Schedule_Handle p, uint32_t size, const void* data)
                { return static_cast<LV2_Worker_Status>(ScheduleFn(p, size, data)); }};
  h.fSchedule = {LV2_WORKER__schedule, &h.schedule};
  h.mapPath = {nullptr, [](LV2_State_Map_Path_Handle, const char* p) { return strdup(p); },
               [](LV2_State_Map_Path_Handle, const char* p) { return strdup(p); }};
  h.freePath = {nullptr, [](LV2_State_Free_Path_Handle, char* p) { std::free(p); }};
  h.fMapPath = {LV2_STATE__mapPath, &h.mapPath};
  h.fFreePath = {LV2_STATE__freePath, &h.freePath};
  h.stateList[0] = &h.fMap;
  h.stateList[1] = &h.fUnmap;
  h.stateList[2] = &h.fMapPath;
  h.stateList[3] = &h.fFreePath;
  if (features)
  {
    h.list[0] = &h.fMap;
    h.list[1] = &h.fUnmap;
    h.list[2] = &h.fOptions;
    h.list[3] = &h.fBounded;
    h.list[4] = &h.fLog;
    h.list[5] = &h.fSchedule;
  }
  mInstance = lilv_plugin_instantiate(w.Plugin(), rate, h.list);
  KeepLoaded(w.BinaryPath());
  if (!mInstance) return;
  // The schedule feature is for run alone: later calls that take features
  // (the default state's restore) get the list without it.
  h.list[5] = nullptr;
  mWorker = lilv_instance_get_extension_data(mInstance, LV2_WORKER__interface);
  if (features && mWorker)
  {
    mRequests.words.assign(kWorkerQueueBytes / 8, 0);
    mResponses.words.assign(kWorkerQueueBytes / 8, 0);
  }
  else
    mWorker = nullptr; // without the feature the plug-in cannot schedule
  const std::vector<Lv2Port>& ports = w.Ports();
  mControls.assign(ports.size(), 0.0f);
  mCv.resize(ports.size());
  mAtoms.resize(ports.size());
  for (const Lv2Port& p : ports)
  {
    // An output the plug-in declares no default for starts at 0, as lilv's
    // tools start it: some plug-ins read an output port before they first
    // write it (Calf's 30-band equaliser takes its minimum, -1, as a gain).
    if (p.control)
      mControls[p.index] = p.output && !p.hasDef ? std::min(std::max(0.0f, p.min), p.max) : p.def;
    if (p.cv) mCv[p.index].assign(static_cast<size_t>(std::max(maxBlock, 1)), 0.0f);
    if (p.atom) mAtoms[p.index].assign((p.atomCapacity + 7) / 8, 0);
    if (p.audio) (p.input ? mAudioIn : mAudioOut).push_back(&p);
  }
  ResetAtoms();
  for (const Lv2Port& p : ports)
  {
    void* where = nullptr;
    if (p.control) where = &mControls[p.index];
    if (p.cv) where = mCv[p.index].data();
    if (p.atom) where = mAtoms[p.index].data();
    if (!p.audio) lilv_instance_connect_port(mInstance, p.index, where);
  }
  mState = lilv_instance_get_extension_data(mInstance, LV2_STATE__interface);
  // state:loadDefaultState: the host restores the plug-in's state:state
  // before the first run, as the feature asks.
  if (features && mState && w.HasFeature(LV2_STATE__loadDefaultState))
  {
    LilvState* def = lilv_state_new_from_world(w.World(), &h.map, lilv_plugin_get_uri(w.Plugin()));
    if (def)
    {
      lilv_state_restore(def, mInstance, nullptr, nullptr, 0, h.list);
      lilv_state_free(def);
    }
  }
}

Lv2Instance::~Lv2Instance()
{
  if (!mInstance) return;
  if (mActive) lilv_instance_deactivate(mInstance);
  lilv_instance_free(mInstance);
}

void Lv2Instance::Activate()
{
  if (mActive) return;
  lilv_instance_activate(mInstance);
  mActive = true;
}
void Lv2Instance::Deactivate()
{
  if (!mActive) return;
  lilv_instance_deactivate(mInstance);
  mActive = false;
}

void Lv2Instance::SetDefaults()
{
  for (const Lv2Port& p : mWorld.Ports())
    if (p.control && p.input) mControls[p.index] = p.def;
}

void Lv2Instance::ResetAtoms()
{
  const uint32_t sequence = mWorld.Map(LV2_ATOM__Sequence), chunk = mWorld.Map(LV2_ATOM__Chunk);
  for (const Lv2Port& p : mWorld.Ports())
  {
    if (!p.atom) continue;
    auto* a = reinterpret_cast<LV2_Atom_Sequence*>(mAtoms[p.index].data());
    if (p.input)
    {
      a->atom.size = sizeof(LV2_Atom_Sequence_Body);
      a->atom.type = sequence;
      a->body.unit = 0;
      a->body.pad = 0;
    }
    else
    {
      a->atom.size = static_cast<uint32_t>(mAtoms[p.index].size() * 8 - sizeof(LV2_Atom));
      a->atom.type = chunk;
    }
  }
}

void Lv2Instance::ConnectAudio(float* const* in, float* const* out)
{
  for (size_t i = 0; i < mAudioIn.size(); ++i)
    lilv_instance_connect_port(mInstance, mAudioIn[i]->index, in[i]);
  for (size_t i = 0; i < mAudioOut.size(); ++i)
    lilv_instance_connect_port(mInstance, mAudioOut[i]->index, out[i]);
}

bool Lv2Instance::Queue::Push(uint32_t size, const void* data)
{
  const size_t need = 8 + (size_t(size) + 7) / 8 * 8;
  if (need > words.size() * 8 - used || (size && !data)) return false;
  auto* at = reinterpret_cast<unsigned char*>(words.data()) + used;
  std::memcpy(at, &size, sizeof size);
  if (size) std::memcpy(at + 8, data, size);
  used += need;
  return true;
}

template <class F> void Lv2Instance::Queue::Drain(F&& each)
{
  // Messages pushed while draining (work_response may schedule) are kept
  // for the next drain.
  const size_t end = used;
  const auto* base = reinterpret_cast<const unsigned char*>(words.data());
  for (size_t at = 0; at < end;)
  {
    uint32_t size;
    std::memcpy(&size, base + at, sizeof size);
    each(size, base + at + 8);
    at += 8 + (size_t(size) + 7) / 8 * 8;
  }
  std::memmove(words.data(), base + end, used - end);
  used -= end;
}

int Lv2Instance::ScheduleFn(void* handle, uint32_t size, const void* data)
{
  auto* self = static_cast<Lv2Instance*>(handle);
  if (!self->mWorker) return LV2_WORKER_ERR_UNKNOWN;
  return self->mRequests.Push(size, data) ? LV2_WORKER_SUCCESS : LV2_WORKER_ERR_NO_SPACE;
}

int Lv2Instance::RespondFn(void* handle, uint32_t size, const void* data)
{
  auto* self = static_cast<Lv2Instance*>(handle);
  return self->mResponses.Push(size, data) ? LV2_WORKER_SUCCESS : LV2_WORKER_ERR_NO_SPACE;
}

void Lv2Instance::ServeWork()
{
  if (!mWorker) return;
  const auto* iface = static_cast<const LV2_Worker_Interface*>(mWorker);
  LV2_Handle handle = lilv_instance_get_handle(mInstance);
  mRequests.Drain(
      [&](uint32_t size, const void* data)
      {
        iface->work(
            handle,
            [](LV2_Worker_Respond_Handle h, uint32_t n, const void* d)
            { return static_cast<LV2_Worker_Status>(RespondFn(h, n, d)); },
            this, size, data);
      });
}

void Lv2Instance::DeliverResponses()
{
  const auto* iface = static_cast<const LV2_Worker_Interface*>(mWorker);
  LV2_Handle handle = lilv_instance_get_handle(mInstance);
  if (iface->work_response)
    mResponses.Drain([&](uint32_t size, const void* data)
                     { iface->work_response(handle, size, data); });
  // end_run follows every run, responses or not.
  if (iface->end_run) iface->end_run(handle);
}

void Lv2Instance::RunConnected(uint32_t frames, bool serveWork)
{
  ResetAtoms();
  lilv_instance_run(mInstance, frames);
  if (!mWorker) return;
  if (serveWork) ServeWork();
  DeliverResponses();
}

void Lv2Instance::Run(float* const* in, float* const* out, uint32_t frames, bool serveWork)
{
  ConnectAudio(in, out);
  RunConnected(frames, serveWork);
}

namespace
{
LV2_State_Status StoreFn(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                         uint32_t type, uint32_t flags)
{
  auto* s = static_cast<Lv2State*>(handle);
  Lv2StateValue v;
  v.key = key;
  v.type = type;
  v.flags = flags;
  const auto* b = static_cast<const unsigned char*>(value);
  if (b && size) v.bytes.assign(b, b + size);
  s->push_back(std::move(v));
  return LV2_STATE_SUCCESS;
}

const void* RetrieveFn(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                       uint32_t* flags)
{
  const auto* s = static_cast<const Lv2State*>(handle);
  for (const Lv2StateValue& v : *s)
    if (v.key == key)
    {
      if (size) *size = v.bytes.size();
      if (type) *type = v.type;
      if (flags) *flags = v.flags;
      return v.bytes.data();
    }
  return nullptr;
}
} // namespace

Lv2State Lv2Instance::Save()
{
  Lv2State s;
  if (!mState) return s;
  const auto* iface = static_cast<const LV2_State_Interface*>(mState);
  const LV2_State_Status st = iface->save(lilv_instance_get_handle(mInstance), StoreFn, &s,
                                          LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, mHold->stateList);
  // "No property" from save is a plug-in with nothing to keep (a synth
  // with no sound file loaded): an empty state, not an error.
  if (st == LV2_STATE_ERR_NO_PROPERTY && s.empty()) return s;
  if (st != LV2_STATE_SUCCESS) Fail("state save returned status " + std::to_string(st));
  return s;
}

const LV2_Feature* const* Lv2Instance::Features() const { return mHold->list; }

int Lv2Instance::Restore(const Lv2State& s)
{
  if (!mState) return 0;
  const auto* iface = static_cast<const LV2_State_Interface*>(mState);
  return iface->restore(lilv_instance_get_handle(mInstance), RetrieveFn, const_cast<Lv2State*>(&s),
                        0, mHold->stateList);
}

namespace
{
struct PresetTarget
{
  Lv2Instance* plug;
  const std::vector<Lv2Port>* ports;
  std::string error;
};
void SetPortValue(const char* symbol, void* data, const void* value, uint32_t size, uint32_t type)
{
  auto* t = static_cast<PresetTarget*>(data);
  for (const Lv2Port& p : *t->ports)
    if (p.symbol == symbol)
    {
      // Presets often keep every port's value, outputs among them; only
      // input controls take one.
      if (!p.control || !p.input) return;
      float v = 0.0f;
      if (size == sizeof(float)) std::memcpy(&v, value, sizeof v);
      if (size == sizeof(double))
      {
        double d;
        std::memcpy(&d, value, sizeof d);
        v = static_cast<float>(d);
      }
      (void)type;
      t->plug->Control(p.index) = v;
      return;
    }
  t->error = std::string("it sets port \"") + symbol +
             "\", which the plug-in does not have (lv2core: \"The plugin author MUST change the "
             "plugin URI if any port symbol is changed or removed.\")";
}
} // namespace

bool Lv2Instance::ApplyPreset(const std::string& uri, std::string* why)
{
  LilvNode* node = lilv_new_uri(mWorld.World(), uri.c_str());
  LilvState* state = lilv_state_new_from_world(mWorld.World(), &mHold->map, node);
  lilv_node_free(node);
  if (!state)
  {
    *why = "lilv could not read it";
    return false;
  }
  PresetTarget t{this, &mWorld.Ports(), ""};
  lilv_state_restore(state, mInstance, SetPortValue, &t, 0, mHold->stateList);
  lilv_state_free(state);
  if (!t.error.empty())
  {
    *why = t.error;
    return false;
  }
  return true;
}
} // namespace aaxtool

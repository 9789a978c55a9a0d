// LV2 state folders through lilv's state functions, so that what the tool
// writes is what jalv and Ardour read, and back. lilv reads and writes the
// Turtle and calls the plug-in's state interface itself; the tool checks a
// folder before lilv sees it (lilv prints Turtle errors and half-read states
// instead of refusing them) and keeps the plug-in's status, which lilv drops.
#include "Lv2StateDir.h"

#include "Signals.h"
#include "ToolError.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#include <serd/serd.h>

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace aaxtool
{
namespace
{
const char* const kStateFile = "state.ttl";

bool IsFile(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Removes path and everything under it; symbolic links are removed, never
// followed (lilv links a plug-in's external files into the folder).
void RemoveTree(const std::string& path)
{
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode))
  {
    if (DIR* d = opendir(path.c_str()))
    {
      while (const dirent* e = readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
          RemoveTree(path + "/" + e->d_name);
      closedir(d);
    }
    rmdir(path.c_str());
  }
  else
    unlink(path.c_str());
}

std::string Trimmed(std::string path)
{
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

std::string Base(const std::string& path)
{
  const std::string t = Trimmed(path);
  const size_t slash = t.rfind('/');
  return slash == std::string::npos ? t : t.substr(slash + 1);
}

// What a Turtle file says, read with serd: the first syntax error, and the
// plug-ins its subjects apply to (lv2:appliesTo).
struct TurtleRead
{
  SerdEnv* env = nullptr;
  std::string error;
  std::vector<std::string> appliesTo;
};

SerdStatus OnBase(void* h, const SerdNode* uri)
{
  return serd_env_set_base_uri(static_cast<TurtleRead*>(h)->env, uri);
}

SerdStatus OnPrefix(void* h, const SerdNode* name, const SerdNode* uri)
{
  return serd_env_set_prefix(static_cast<TurtleRead*>(h)->env, name, uri);
}

SerdStatus OnStatement(void* h, SerdStatementFlags, const SerdNode*, const SerdNode*,
                       const SerdNode* predicate, const SerdNode* object, const SerdNode*,
                       const SerdNode*)
{
  auto* r = static_cast<TurtleRead*>(h);
  SerdNode p = serd_env_expand_node(r->env, predicate);
  const bool applies =
      p.buf && std::strcmp(reinterpret_cast<const char*>(p.buf), LV2_CORE__appliesTo) == 0;
  serd_node_free(&p);
  if (!applies) return SERD_SUCCESS;
  SerdNode o = serd_env_expand_node(r->env, object);
  if (o.buf) r->appliesTo.emplace_back(reinterpret_cast<const char*>(o.buf));
  serd_node_free(&o);
  return SERD_SUCCESS;
}

SerdStatus OnError(void* h, const SerdError* e)
{
  auto* r = static_cast<TurtleRead*>(h);
  if (!r->error.empty()) return SERD_SUCCESS;
  char text[256] = "";
  va_list args;
  va_copy(args, *e->args);
  std::vsnprintf(text, sizeof text, e->fmt, args);
  va_end(args);
  std::string t = text;
  while (!t.empty() && (t.back() == '\n' || t.back() == ' '))
    t.pop_back();
  r->error = "line " + std::to_string(e->line) + ", column " + std::to_string(e->col) + ": " + t;
  return SERD_SUCCESS;
}

// Reads path (a file) as Turtle; fails naming where and what when it does not parse.
TurtleRead ReadTurtle(const std::string& path, const std::string& dir)
{
  TurtleRead r;
  SerdNode base = serd_node_new_file_uri(reinterpret_cast<const uint8_t*>(path.c_str()), nullptr,
                                         nullptr, true);
  r.env = serd_env_new(&base);
  SerdReader* reader =
      serd_reader_new(SERD_TURTLE, &r, nullptr, OnBase, OnPrefix, OnStatement, nullptr);
  serd_reader_set_error_sink(reader, OnError, &r);
  const SerdStatus st = serd_reader_read_file(reader, base.buf);
  serd_reader_free(reader);
  serd_env_free(r.env);
  serd_node_free(&base);
  r.env = nullptr;
  const std::string name = Base(path);
  // SERD_FAILURE alone is an empty file, which is valid Turtle.
  if ((st != SERD_SUCCESS && st != SERD_FAILURE) || !r.error.empty())
    Fail(dir + ": not a readable state folder (" + name +
         (r.error.empty() ? " could not be read" : ", " + r.error) + ")");
  return r;
}

// lilv calls the plug-in's save and restore and drops their status. lilv
// reaches the interface through the instance's descriptor, so the tool
// hands it a copy of the instance whose descriptor answers a wrapped
// interface that keeps the status. One state call at a time per thread.
thread_local const LV2_State_Interface* tReal = nullptr;
thread_local const LV2_Descriptor* tDescriptor = nullptr;
thread_local LV2_State_Status tStatus = LV2_STATE_SUCCESS;

LV2_State_Status WrappedSave(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle sh,
                             uint32_t flags, const LV2_Feature* const* f)
{
  tStatus = tReal->save(h, store, sh, flags, f);
  return tStatus;
}

LV2_State_Status WrappedRestore(LV2_Handle h, LV2_State_Retrieve_Function retrieve,
                                LV2_State_Handle sh, uint32_t flags, const LV2_Feature* const* f)
{
  tStatus = tReal->restore(h, retrieve, sh, flags, f);
  return tStatus;
}

const LV2_State_Interface kWrapped{WrappedSave, WrappedRestore};

const void* WrappedExtensionData(const char* uri)
{
  if (std::strcmp(uri, LV2_STATE__interface) == 0 && tReal) return &kWrapped;
  return tDescriptor->extension_data ? tDescriptor->extension_data(uri) : nullptr;
}

struct StatusWatch
{
  LV2_Descriptor descriptor;
  LilvInstance instance;

  explicit StatusWatch(const LilvInstance* real)
      : descriptor(*real->lv2_descriptor), instance(*real)
  {
    tDescriptor = real->lv2_descriptor;
    tReal = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(real, LV2_STATE__interface));
    tStatus = LV2_STATE_SUCCESS;
    descriptor.extension_data = WrappedExtensionData;
    instance.lv2_descriptor = &descriptor;
  }
  ~StatusWatch()
  {
    tReal = nullptr;
    tDescriptor = nullptr;
  }
};

struct Ports
{
  Lv2World* w;
  Lv2Instance* inst;
  uint32_t floatType;
};

const Lv2Port* InputControl(Lv2World& w, const char* symbol)
{
  for (const Lv2Port& p : w.Ports())
    if (p.control && p.input && p.symbol == symbol) return &p;
  return nullptr;
}

// Input controls only, as jalv saves them: outputs are the plug-in's to say.
const void* GetValue(const char* symbol, void* data, uint32_t* size, uint32_t* type)
{
  auto* ports = static_cast<Ports*>(data);
  const Lv2Port* p = InputControl(*ports->w, symbol);
  if (!p) return nullptr;
  *size = sizeof(float);
  *type = ports->floatType;
  return &ports->inst->Control(p->index);
}

// jalv and Ardour write floats; other hosts' numeric atoms are taken too.
void SetValue(const char* symbol, void* data, const void* value, uint32_t size, uint32_t type)
{
  auto* ports = static_cast<Ports*>(data);
  const Lv2Port* p = InputControl(*ports->w, symbol);
  if (!p || !value) return; // a port the plug-in no longer has: the rest still apply
  Lv2World& w = *ports->w;
  float v;
  if (type == w.Map(LV2_ATOM__Double) && size == sizeof(double))
    v = static_cast<float>(*static_cast<const double*>(value));
  else if (type == w.Map(LV2_ATOM__Long) && size == sizeof(int64_t))
    v = static_cast<float>(*static_cast<const int64_t*>(value));
  else if ((type == w.Map(LV2_ATOM__Int) || type == w.Map(LV2_ATOM__Bool)) &&
           size == sizeof(int32_t))
    v = static_cast<float>(*static_cast<const int32_t*>(value));
  else if (size == sizeof(float))
    v = *static_cast<const float*>(value);
  else
    return;
  ports->inst->Control(p->index) = v;
}

struct StateFree
{
  void operator()(LilvState* s) const { lilv_state_free(s); }
};
using StatePtr = std::unique_ptr<LilvState, StateFree>;
} // namespace

void SaveLv2StateDir(Lv2World& w, Lv2Instance& inst, const std::string& dir)
{
  if (dir.empty()) Fail("the state folder has no name");
  const std::string target = Trimmed(dir);
  // Only a state folder is replaced: a mistyped name must never empty a
  // folder of something else.
  struct stat st;
  const bool exists = stat(target.c_str(), &st) == 0;
  if (exists && !S_ISDIR(st.st_mode)) Fail(dir + ": exists and is not a folder");
  if (exists && !IsFile(target + "/" + kStateFile))
  {
    DIR* d = opendir(target.c_str());
    bool empty = d != nullptr;
    while (d && empty)
      if (const dirent* e = readdir(d))
        empty = std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0;
      else
        break;
    if (d) closedir(d);
    if (!empty)
      Fail(dir + ": exists and is not a state folder (no " + kStateFile + "); not replacing it");
  }

  // A signal removes it, with what lilv wrote into it, until it is in place.
  std::string temp;
  if (CreateTemporaryFolder(target, &temp) != 0)
    Fail(target + ": cannot make a folder beside it (" + std::strerror(errno) + ")");
  LV2_URID_Map map{&w, [](LV2_URID_Map_Handle h, const char* uri)
                   { return static_cast<Lv2World*>(h)->Map(uri); }};
  LV2_URID_Unmap unmap{&w, [](LV2_URID_Unmap_Handle h, LV2_URID id)
                       { return static_cast<Lv2World*>(h)->Unmap(id); }};
  Ports ports{&w, &inst, w.Map(LV2_ATOM__Float)};
  std::string why;
  {
    StatusWatch watch(inst.Raw());
    StatePtr state(lilv_state_new_from_instance(
        w.Plugin(), &watch.instance, &map, nullptr, temp.c_str(), temp.c_str(), temp.c_str(),
        GetValue, &ports, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, inst.Features()));
    // "No property" is a plug-in with nothing of its own to keep.
    if (!state)
      why = "lilv could not take the plug-in's state";
    else if (tStatus != LV2_STATE_SUCCESS && tStatus != LV2_STATE_ERR_NO_PROPERTY)
      why = "the plug-in's state save returned status " + std::to_string(tStatus);
    else if (lilv_state_save(w.World(), &map, &unmap, state.get(), nullptr, temp.c_str(),
                             kStateFile) != 0)
      why = "writing it failed";
  }
  if (why.empty() && !IsFile(temp + "/" + kStateFile)) why = "writing it failed";

  std::string old;
  if (why.empty() && exists)
  {
    // The old folder stays whole until the new one is in place; a signal
    // never takes it, as it may be the only copy.
    if (CreateTemporaryFolder(target, &old) != 0)
      why = std::string("cannot make a folder beside it (") + std::strerror(errno) + ")";
    ForgetTemporaryFolder(old);
    if (why.empty() && rename(target.c_str(), old.c_str()) != 0)
    {
      why = std::string("cannot move the old folder aside (") + std::strerror(errno) + ")";
      rmdir(old.c_str());
      old.clear();
    }
  }
  if (why.empty() && rename(temp.c_str(), target.c_str()) != 0)
  {
    why = std::string("cannot rename it into place (") + std::strerror(errno) + ")";
    if (!old.empty()) rename(old.c_str(), target.c_str());
    old.clear();
  }
  if (!why.empty()) RemoveTree(temp);
  ForgetTemporaryFolder(temp);
  if (!why.empty()) Fail(dir + ": saving the LV2 state failed: " + why);
  if (!old.empty()) RemoveTree(old);
}

void LoadLv2StateDir(Lv2World& w, Lv2Instance& inst, const std::string& dir)
{
  struct stat st;
  if (stat(dir.c_str(), &st) != 0)
    Fail(dir + ": no such state folder (" + std::strerror(errno) + ")");
  if (!S_ISDIR(st.st_mode)) Fail(dir + ": not a state folder (not a folder)");
  for (const char* name : {"manifest.ttl", kStateFile})
    if (!IsFile(dir + "/" + name))
      Fail(dir + ": not a state folder (no " + std::string(name) + ")");
  char* real = realpath(dir.c_str(), nullptr);
  if (!real) Fail(dir + ": cannot resolve the folder (" + std::strerror(errno) + ")");
  const std::string abs = real;
  std::free(real);

  ReadTurtle(abs + "/manifest.ttl", dir);
  const TurtleRead state = ReadTurtle(abs + "/" + kStateFile, dir);
  if (state.appliesTo.empty())
    Fail(dir + ": not an LV2 state (" + kStateFile + " names no plug-in with lv2:appliesTo)");
  if (state.appliesTo[0] != w.Uri())
    Fail(dir + ": the state of " + state.appliesTo[0] + ", not of " + w.Uri());

  LV2_URID_Map map{&w, [](LV2_URID_Map_Handle h, const char* uri)
                   { return static_cast<Lv2World*>(h)->Map(uri); }};
  const std::string file = abs + "/" + kStateFile;
  StatePtr loaded(lilv_state_new_from_file(w.World(), &map, nullptr, file.c_str()));
  if (!loaded) Fail(dir + ": lilv could not read " + kStateFile + " as a plug-in state");
  const LilvNode* plugin = lilv_state_get_plugin_uri(loaded.get());
  if (!plugin || w.Uri() != lilv_node_as_uri(plugin))
    Fail(dir + ": " + kStateFile + " is not a state of " + w.Uri());

  // The plug-in may refuse what its interface is given (a file of the
  // state gone missing): then the instance goes back to what it was.
  std::vector<float> controls;
  for (const Lv2Port& p : w.Ports())
    if (p.control && p.input) controls.push_back(inst.Control(p.index));
  Lv2State before;
  bool haveBefore = true;
  try
  {
    before = inst.Save();
  }
  catch (const ToolError&)
  {
    haveBefore = false;
  }
  Ports ports{&w, &inst, w.Map(LV2_ATOM__Float)};
  LV2_State_Status status;
  {
    StatusWatch watch(inst.Raw());
    lilv_state_restore(loaded.get(), &watch.instance, SetValue, &ports, 0, inst.Features());
    status = tStatus;
  }
  // "No property" from a state of port values alone (saved where the
  // plug-in kept nothing of its own) is nothing refused.
  if (status == LV2_STATE_SUCCESS ||
      (status == LV2_STATE_ERR_NO_PROPERTY && lilv_state_get_num_properties(loaded.get()) == 0))
    return;
  size_t i = 0;
  for (const Lv2Port& p : w.Ports())
    if (p.control && p.input) inst.Control(p.index) = controls[i++];
  if (haveBefore && inst.HasState()) inst.Restore(before);
  Fail(dir + ": the plug-in refused the state (its restore returned status " +
       std::to_string(status) + ")");
}
} // namespace aaxtool

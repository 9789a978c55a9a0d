// The declaration checks of validate for LV2 plug-ins (level 1): what the
// data declares, held against the LV2 vocabulary installed on LV2_PATH
// (LV2's own bundles: lv2core, ui, atom, ...) and against what the binary
// answers. None makes an
// instance, so they run under --skip-gui and on plug-ins the tool cannot host.
#include "ValidateLv2.h"

#include "ToolError.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/morph/morph.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>
#include <sord/sord.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iterator>
#include <map>
#include <set>

namespace aaxtool
{
namespace
{
constexpr const char* kLv2Namespace = "http://lv2plug.in/ns/";
constexpr const char* kRdfType = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";
constexpr const char* kSeeAlso = "http://www.w3.org/2000/01/rdf-schema#seeAlso";
constexpr const char* kDeprecated = "http://www.w3.org/2002/07/owl#deprecated";

struct NodeOf
{
  LilvNode* n;
  NodeOf(LilvWorld* w, const char* uri) : n(lilv_new_uri(w, uri)) {}
  ~NodeOf() { lilv_node_free(n); }
  NodeOf(const NodeOf&) = delete;
  NodeOf& operator=(const NodeOf&) = delete;
  operator const LilvNode*() const { return n; }
};

std::vector<std::string> Texts(LilvNodes* nodes)
{
  std::vector<std::string> out;
  LILV_FOREACH(nodes, i, nodes) out.push_back(lilv_node_as_string(lilv_nodes_get(nodes, i)));
  lilv_nodes_free(nodes);
  return out;
}

std::string FilePath(const LilvNode* uri)
{
  if (!uri) return "";
  char* p = lilv_file_uri_parse(lilv_node_as_uri(uri), nullptr);
  const std::string s = p ? p : "";
  lilv_free(p);
  return s;
}

// Names the first few of a list and counts the rest.
std::string FirstFew(const std::vector<std::string>& all, const char* sep = ", ")
{
  std::string out;
  for (size_t i = 0; i < all.size() && i < 3; ++i)
    out += (i ? sep : "") + all[i];
  if (all.size() > 3) out += " and " + std::to_string(all.size() - 3) + " more";
  return out;
}

// ---- lv2-version ----

std::string CheckVersion(CheckContext& ctx)
{
  Lv2World& w = *LoadedLv2Target();
  ctx.Step("reading lv2:minorVersion and lv2:microVersion");
  const char* kRule = "(lv2core: \"Releases of plugins and extensions MUST be explicitly "
                      "versioned.\")";
  auto read = [&](const char* uri, const char* name)
  {
    NodeOf pred(w.World(), uri);
    const std::vector<std::string> values = Texts(lilv_plugin_get_value(w.Plugin(), pred));
    if (values.empty()) return -1L;
    const std::set<std::string> distinct(values.begin(), values.end());
    if (distinct.size() > 1)
      Fail(std::string("two different ") + name + " values, " + *distinct.begin() + " and " +
           *std::next(distinct.begin()) +
           " (lv2core: \"Correct version numbers MUST always be maintained for any versioned "
           "resource that is published.\")");
    char* end = nullptr;
    const long v = std::strtol(values[0].c_str(), &end, 10);
    if (values[0].empty() || *end || v < 0)
      Fail(std::string(name) + " \"" + values[0] + "\" is not a non-negative integer " + kRule);
    return v;
  };
  const long minor = read(LV2_CORE__minorVersion, "lv2:minorVersion");
  const long micro = read(LV2_CORE__microVersion, "lv2:microVersion");
  if (minor < 0 && micro < 0) Fail(std::string("no lv2:minorVersion or lv2:microVersion ") + kRule);
  if (minor < 0 || micro < 0)
    Fail(std::string("no ") + (minor < 0 ? "lv2:minorVersion" : "lv2:microVersion") +
         ", half of a version " + kRule);
  const std::string version = std::to_string(minor) + "." + std::to_string(micro);
  if (minor == 0)
    Warn("version " + version +
         ", minor version zero (no LV2 rule forbids releasing it, but lv2core: \"An odd minor "
         "or micro version, or minor version zero, indicates that the resource is a "
         "development version.\" and hosts \"SHOULD NOT expose such plugins to users by "
         "default\")");
  if (minor % 2 || micro % 2)
    Warn("version " + version + ", an odd " + (minor % 2 ? "minor" : "micro") +
         " version (no LV2 rule forbids releasing it, but lv2core: \"An odd minor or micro "
         "version, or minor version zero, indicates that the resource is a development "
         "version.\")");
  return "version " + version + ", a release";
}

// ---- lv2-vocabulary ----

// LV2's own vocabulary as lilv finds it on LV2_PATH: a term is
// defined when some statement there is about it. A world of its own, since
// the target's world holds only its bundle when it is named by folder.
class Vocabulary
{
public:
  Vocabulary() : mWorld(lilv_world_new()) { lilv_world_load_all(mWorld); }
  ~Vocabulary() { lilv_world_free(mWorld); }
  Vocabulary(const Vocabulary&) = delete;
  Vocabulary& operator=(const Vocabulary&) = delete;

  bool Defined(const std::string& uri) const
  {
    NodeOf t(mWorld, uri.c_str());
    return lilv_world_ask(mWorld, t, nullptr, nullptr);
  }
  // Marked owl:deprecated itself, or a term of an extension that is (the
  // event and uri-map extensions are deprecated whole).
  bool Deprecated(const std::string& uri) const
  {
    if (Marked(uri)) return true;
    const size_t hash = uri.find('#');
    return hash != std::string::npos && Marked(uri.substr(0, hash));
  }

private:
  bool Marked(const std::string& uri) const
  {
    NodeOf t(mWorld, uri.c_str()), deprecated(mWorld, kDeprecated);
    LilvNode* v = lilv_world_get(mWorld, t, deprecated, nullptr);
    const bool yes = v && (lilv_node_is_bool(v) ? lilv_node_as_bool(v)
                                                : !std::strcmp(lilv_node_as_string(v), "true"));
    lilv_node_free(v);
    return yes;
  }
  LilvWorld* mWorld;
};

struct Term
{
  std::string text;
  SordNodeType type = SORD_URI;
  std::string Key() const { return (type == SORD_BLANK ? "_:" : "") + text; }
  bool Resource() const { return type != SORD_LITERAL; }
};
struct Triple
{
  Term s, p, o;
};

// The statements of the plug-in's data files as written, predicates and all
// (lilv answers only for the predicates a caller names, so a misspelt one
// would never be seen).
class Statements
{
public:
  Statements() : mWorld(sord_world_new()), mModel(sord_new(mWorld, SORD_SPO, false)) {}
  ~Statements()
  {
    sord_free(mModel);
    sord_world_free(mWorld);
  }
  Statements(const Statements&) = delete;
  Statements& operator=(const Statements&) = delete;

  // False when the file was read before.
  bool Read(const std::string& fileUri)
  {
    if (!mRead.insert(fileUri).second) return false;
    SerdNode base = serd_node_from_string(SERD_URI, Bytes(fileUri));
    SerdEnv* env = serd_env_new(&base);
    SerdReader* reader = sord_new_reader(mModel, env, SERD_TURTLE, nullptr);
    // Blank node labels are the file's own: two files may both use _:b1.
    const std::string prefix = "f" + std::to_string(mRead.size()) + "_";
    serd_reader_add_blank_prefix(reader, Bytes(prefix));
    serd_reader_read_file(reader, Bytes(fileUri));
    serd_reader_free(reader);
    serd_env_free(env);
    return true;
  }

  std::vector<Triple> All() const
  {
    std::vector<Triple> out;
    SordIter* it = sord_begin(mModel);
    for (; it && !sord_iter_end(it); sord_iter_next(it))
    {
      SordQuad q;
      sord_iter_get(it, q);
      out.push_back({Of(q[SORD_SUBJECT]), Of(q[SORD_PREDICATE]), Of(q[SORD_OBJECT])});
    }
    sord_iter_free(it);
    return out;
  }

private:
  static const uint8_t* Bytes(const std::string& s)
  {
    return reinterpret_cast<const uint8_t*>(s.c_str());
  }
  static Term Of(const SordNode* n)
  {
    return {reinterpret_cast<const char*>(sord_node_get_string(n)), sord_node_get_type(n)};
  }
  SordWorld* mWorld;
  SordModel* mModel;
  std::set<std::string> mRead;
};

// What a statement's object is to its subject, for the warning's line.
std::string Role(const std::string& predicate, bool asPredicate)
{
  if (asPredicate) return "property";
  static const std::map<std::string, std::string> roles = {
      {LV2_CORE__requiredFeature, "required feature"},
      {LV2_CORE__optionalFeature, "optional feature"},
      // The UI extension's own feature properties, long gone from it, still
      // in old UIs' data.
      {LV2_UI_PREFIX "requiredFeature", "required feature"},
      {LV2_UI_PREFIX "optionalFeature", "optional feature"},
      {LV2_CORE__extensionData, "extension data"},
      {LV2_CORE__portProperty, "port property"},
      {LV2_CORE__designation, "designation"},
      {kRdfType, "class"}};
  auto it = roles.find(predicate);
  if (it != roles.end()) return it->second;
  const size_t cut = predicate.find_last_of("#/");
  return "value of " + (cut == std::string::npos ? predicate : predicate.substr(cut + 1));
}

std::string CheckVocabulary(CheckContext& ctx)
{
  Lv2World& w = *LoadedLv2Target();
  const std::string plugin = w.Uri();
  ctx.Step("reading the plug-in's data files");
  Statements data;
  const std::string bundle = lilv_node_as_uri(lilv_plugin_get_bundle_uri(w.Plugin()));
  data.Read(bundle + "manifest.ttl");
  const LilvNodes* files = lilv_plugin_get_data_uris(w.Plugin());
  LILV_FOREACH(nodes, i, files) data.Read(lilv_node_as_uri(lilv_nodes_get(files, i)));

  // Whose each statement is: the plug-in's, one of its ports', one of its
  // UIs', or something of theirs (a scale point, a port group). What no
  // path from the plug-in reaches (presets, other plug-ins of the bundle)
  // is left alone. A UI's data may sit in a file of its own, named by
  // rdfs:seeAlso: reading one can reach more.
  std::vector<Triple> all;
  std::map<std::string, std::vector<const Triple*>> bySubject;
  std::map<std::string, std::string> owner;
  for (bool more = true; more;)
  {
    all = data.All();
    bySubject.clear();
    std::set<std::string> plugins;
    for (const Triple& t : all)
    {
      bySubject[t.s.Key()].push_back(&t);
      if (t.p.text == kRdfType && t.o.text == LV2_CORE__Plugin) plugins.insert(t.s.Key());
    }
    auto portName = [&](const std::string& key)
    {
      std::string index = "?", symbol;
      for (const Triple* t : bySubject[key])
      {
        if (t->p.text == LV2_CORE__index) index = t->o.text;
        if (t->p.text == LV2_CORE__symbol) symbol = t->o.text;
      }
      return "port " + index + " \"" + symbol + "\"";
    };
    owner.clear();
    owner[plugin] = "the plug-in";
    std::deque<std::string> queue{plugin};
    std::vector<std::string> seeAlso;
    while (!queue.empty())
    {
      const std::string s = queue.front();
      queue.pop_front();
      for (const Triple* t : bySubject[s])
      {
        if (t->p.text == kSeeAlso && t->o.type == SORD_URI) seeAlso.push_back(t->o.text);
        const std::string o = t->o.Key();
        if (!t->o.Resource() || owner.count(o) || !bySubject.count(o) || plugins.count(o)) continue;
        owner[o] = t->p.text == LV2_CORE__port ? portName(o)
                   : t->p.text == LV2_UI__ui   ? "UI <" + t->o.text + ">"
                                               : owner[s];
        queue.push_back(o);
      }
    }
    more = false;
    for (const std::string& f : seeAlso)
      if (f.rfind("file:", 0) == 0 && data.Read(f)) more = true;
  }

  ctx.Step("loading LV2's installed vocabulary");
  const Vocabulary vocabulary;
  ctx.Step("looking up every LV2 term the plug-in's data uses");
  // Per owner, the plug-in's own first, then its ports', then its UIs'.
  std::vector<std::string> undefined[3], deprecated[3];
  std::set<std::string> seen; // term and role: a term in every port is named once
  size_t terms = 0;
  auto look = [&](const std::string& uri, const std::string& role, const std::string& where)
  {
    if (uri.rfind(kLv2Namespace, 0) != 0 || !seen.insert(uri + " " + role).second) return;
    // A term the plug-in's data describes itself (a unit of its own in the
    // units namespace) is one hosts learn from that data.
    if (bySubject.count(uri)) return;
    ++terms;
    const std::string named = uri + " (" + role + " of " + where + ")";
    const int rank = where.rfind("port ", 0) == 0 ? 1 : where.rfind("UI ", 0) == 0 ? 2 : 0;
    if (!vocabulary.Defined(uri))
      undefined[rank].push_back(named);
    else if (vocabulary.Deprecated(uri))
      deprecated[rank].push_back(named);
  };
  for (const Triple& t : all)
  {
    auto it = owner.find(t.s.Key());
    if (it == owner.end()) continue;
    look(t.p.text, Role(t.p.text, true), it->second);
    if (t.o.type == SORD_URI) look(t.o.text, Role(t.p.text, false), it->second);
  }
  std::vector<std::string> named;
  for (const auto& list : undefined)
    for (const std::string& u : list)
      named.push_back("undefined " + u);
  const size_t undefinedCount = named.size();
  for (const auto& list : deprecated)
    for (const std::string& d : list)
      named.push_back("deprecated " + d);
  if (named.empty())
    return std::to_string(terms) + " LV2 term(s), all defined by the installed LV2 vocabulary, "
                                   "none deprecated";
  const bool anyUndefined = undefinedCount > 0, anyDeprecated = named.size() > undefinedCount;
  Warn(std::to_string(named.size()) + " LV2 term(s) the installed LV2 vocabulary " +
       (!anyUndefined   ? "marks deprecated"
        : anyDeprecated ? "does not define or marks deprecated"
                        : "does not define") +
       ": " + FirstFew(named) +
       (anyUndefined ? " (no LV2 rule forbids them, but hosts know only the terms the "
                       "installed LV2 vocabulary defines: a misspelt property or optional feature is "
                       "ignored, a misspelt required feature refused)"
                     : " (no LV2 rule forbids a deprecated term)"));
}

// ---- lv2-extension-data ----

// The interfaces a plug-in's extension_data may answer that hosts ask for:
// LV2's own, and the inline display and program interfaces that Ardour and
// Carla ask for.
const char* const kKnownInterfaces[] = {LV2_STATE__interface,
                                        LV2_WORKER__interface,
                                        LV2_OPTIONS__interface,
                                        LV2_MORPH__interface,
                                        "http://harrisonconsoles.com/lv2/inlinedisplay#interface",
                                        "http://kxstudio.sf.net/ns/lv2ext/programs#Interface"};

std::string CheckExtensionData(CheckContext& ctx)
{
  Lv2World& w = *LoadedLv2Target();
  const std::string path = w.BinaryPath();
  const std::string uri = w.Uri();
  ctx.Step("loading " + path);
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  // One failure for one fault: lv2-instantiate names the loader's error.
  if (!lib) return "skipped: the plug-in binary cannot be loaded (lv2-instantiate says why)";
  // Instances of other checks may load it again in this process (--in-process).
  KeepLoaded(path);
  const LV2_Descriptor* found = nullptr;
  const LV2_Lib_Descriptor* library = nullptr;
  ctx.Step("looking for the descriptor of " + uri);
  constexpr uint32_t kMostDescriptors = 100000; // a library that never answers NULL
  if (auto libFn = reinterpret_cast<LV2_Lib_Descriptor_Function>(dlsym(lib, "lv2_lib_descriptor")))
  {
    const LV2_Feature* none[] = {nullptr};
    library = libFn(FilePath(lilv_plugin_get_bundle_uri(w.Plugin())).c_str(), none);
    for (uint32_t i = 0; library && !found && i < kMostDescriptors; ++i)
    {
      const LV2_Descriptor* d = library->get_plugin(library->handle, i);
      if (!d) break;
      if (d->URI && uri == d->URI) found = d;
    }
  }
  else if (auto fn = reinterpret_cast<LV2_Descriptor_Function>(dlsym(lib, "lv2_descriptor")))
  {
    for (uint32_t i = 0; !found && i < kMostDescriptors; ++i)
    {
      const LV2_Descriptor* d = fn(i);
      if (!d) break;
      if (d->URI && uri == d->URI) found = d;
    }
  }
  else
  {
    dlclose(lib);
    Fail(path + " has neither lv2_descriptor nor lv2_lib_descriptor (lv2.h: \"Plugin libraries "
                "MUST include a function called \"lv2_descriptor\" or \"lv2_lib_descriptor\"\")");
  }
  if (!found)
  {
    if (library && library->cleanup) library->cleanup(library->handle);
    dlclose(lib);
    Fail(path + ": no descriptor has the URI " + uri +
         " (lv2.h: the host \"uses this function to find the LV2_Descriptor for the desired "
         "plugin\")");
  }
  auto answers = [&](const std::string& iface)
  {
    ctx.Step("extension_data(\"" + iface + "\")");
    return found->extension_data && found->extension_data(iface.c_str()) != nullptr;
  };
  const std::vector<std::string> declared = Texts(lilv_plugin_get_extension_data(w.Plugin()));
  std::vector<std::string> findings;
  bool undeclared = false;
  for (const std::string& d : declared)
    if (!answers(d)) findings.push_back(d + " declared but extension_data returns NULL");
  for (const char* k : kKnownInterfaces)
    if (std::find(declared.begin(), declared.end(), k) == declared.end() && answers(k))
    {
      findings.push_back(std::string(k) + " returned but not declared");
      undeclared = true;
    }
  if (library && library->cleanup) library->cleanup(library->handle);
  dlclose(lib);
  if (!findings.empty())
    Warn(FirstFew(findings, "; ") +
         " (no LV2 rule forbids it, but lv2core, lv2:extensionData: \"The plugin should return "
         "the appropriate data when LV2_Descriptor::extension_data() is called with that URI\"" +
         (undeclared ? "; hosts that go by the data never ask for an interface it does not name)"
                     : ")"));
  return declared.empty()
             ? "no extension data declared, and none of " +
                   std::to_string(std::size(kKnownInterfaces)) + " known interfaces returned"
             : std::to_string(declared.size()) +
                   " declared interface(s) returned, no undeclared one";
}

// ---- lv2-atom-urid ----

std::string CheckAtomUrid(CheckContext& ctx)
{
  Lv2World& w = *LoadedLv2Target();
  ctx.Step("looking for atom ports");
  std::vector<std::string> atoms;
  for (const Lv2Port& p : w.Ports())
    if (p.atom) atoms.push_back("port " + std::to_string(p.index) + " \"" + p.symbol + "\"");
  if (atoms.empty()) return "no atom ports";
  if (w.Requires(LV2_URID__map))
    return std::to_string(atoms.size()) + " atom port(s), urid:map required";
  Warn(std::to_string(atoms.size()) + " atom port(s) (" + FirstFew(atoms) + ") but urid:map is " +
       (w.HasFeature(LV2_URID__map) ? "only optional" : "not required") +
       ", and without it an atom's type cannot be read or written (no LV2 rule requires it, "
       "but atom: \"The `type` field is the URI of an Atom type mapped to an integer.\")");
}
} // namespace

std::vector<Check> Lv2DeclarationChecks()
{
  return {{"lv2-version", 1, CheckVersion},
          {"lv2-vocabulary", 1, CheckVocabulary},
          {"lv2-extension-data", 1, CheckExtensionData},
          {"lv2-atom-urid", 1, CheckAtomUrid}};
}
} // namespace aaxtool

// The metadata notes of validate for LV2 plug-ins (level 1): what no LV2
// rule requires but hosts and package tools show a user. Only the data is
// read, so the check runs under --skip-gui and for plug-ins the tool cannot
// instantiate.
#include "ValidateLv2.h"

#include "Lv2Ui.h"

#include <lv2/core/lv2.h>
#include <lv2/port-groups/port-groups.h>
#include <lv2/ui/ui.h>
#include <lv2/units/units.h>

#include <memory>

namespace aaxtool
{
namespace
{
using Node = std::unique_ptr<LilvNode, void (*)(LilvNode*)>;
using Nodes = std::unique_ptr<LilvNodes, void (*)(LilvNodes*)>;

Node Uri(LilvWorld* world, const char* uri)
{
  return Node(lilv_new_uri(world, uri), lilv_node_free);
}

bool Has(LilvWorld* world, const LilvNode* subject, const char* property)
{
  const Node p = Uri(world, property);
  return lilv_world_ask(world, subject, p.get(), nullptr);
}

// The plug-in's authors: doap:maintainer and doap:developer, its own and
// its lv2:project's, which lilv's own author lookup also falls back to.
std::vector<Node> Authors(Lv2World& w, const LilvNode* project)
{
  std::vector<Node> out;
  for (const char* role : {LILV_NS_DOAP "maintainer", LILV_NS_DOAP "developer"})
  {
    const Node p = Uri(w.World(), role);
    for (const LilvNode* subject : {lilv_plugin_get_uri(w.Plugin()), project})
    {
      if (!subject) continue;
      const Nodes found(lilv_world_find_nodes(w.World(), subject, p.get(), nullptr),
                        lilv_nodes_free);
      LILV_FOREACH(nodes, i, found.get())
      {
        out.push_back(Node(lilv_node_duplicate(lilv_nodes_get(found.get(), i)), lilv_node_free));
      }
    }
  }
  return out;
}

// "what on N ports: 0 "a", 1 "b", 2 "c" and N more": the first few named.
std::string PortList(const std::string& what, const std::vector<const Lv2Port*>& ports)
{
  constexpr size_t kNamed = 3;
  std::string s = what + " on " + std::to_string(ports.size()) + " port" +
                  (ports.size() == 1 ? "" : "s") + ": ";
  for (size_t i = 0; i < ports.size() && i < kNamed; ++i)
    s += (i ? ", " : "") + std::to_string(ports[i]->index) + " \"" + ports[i]->symbol + "\"";
  if (ports.size() > kNamed) s += " and " + std::to_string(ports.size() - kNamed) + " more";
  return s;
}

std::string CheckMetadata(CheckContext& ctx)
{
  Lv2World& w = *LoadedLv2Target();
  LilvWorld* world = w.World();
  const LilvNode* plugin = lilv_plugin_get_uri(w.Plugin());
  const Node project(lilv_plugin_get_project(w.Plugin()), lilv_node_free);
  std::vector<std::string> missing;

  ctx.Step("reading the plug-in's license, authors and description");
  if (!Has(world, plugin, LILV_NS_DOAP "license") &&
      !(project && Has(world, project.get(), LILV_NS_DOAP "license")))
    missing.push_back("doap:license");
  const std::vector<Node> authors = Authors(w, project.get());
  if (authors.empty())
    missing.push_back("an author (doap:maintainer or doap:developer)");
  else
  {
    // Any author may give each: a project names its maintainer's mail and
    // its developer's page as often as one person's.
    std::string lacks;
    for (const char* what : {"name", "mbox", "homepage"})
    {
      const std::string property = std::string(LILV_NS_FOAF) + what;
      bool found = false;
      for (const Node& a : authors)
        found = found || Has(world, a.get(), property.c_str());
      if (!found) lacks += std::string(lacks.empty() ? "" : ", ") + "foaf:" + what;
    }
    if (!lacks.empty()) missing.push_back("the author's " + lacks);
  }
  if (!Has(world, plugin, LILV_NS_DOAP "shortdesc")) missing.push_back("doap:shortdesc");

  ctx.Step("reading the ports' comments, units and groups");
  const Node comment = Uri(world, LILV_NS_RDFS "comment");
  const Node unit = Uri(world, LV2_UNITS__unit);
  const Node group = Uri(world, LV2_PORT_GROUPS__group);
  std::vector<const Lv2Port*> uncommented, unitless, ungrouped;
  for (const Lv2Port& p : w.Ports())
  {
    const LilvPort* port = lilv_plugin_get_port_by_index(w.Plugin(), p.index);
    auto has = [&](const Node& property)
    {
      const Nodes v(lilv_port_get_value(w.Plugin(), port, property.get()), lilv_nodes_free);
      return lilv_nodes_size(v.get()) > 0;
    };
    if (!has(comment)) uncommented.push_back(&p);
    // A switch or a list of named choices has no unit to show, and a
    // latency port's unit is frames by lv2:latency's own definition.
    if (p.control && !p.toggled && !p.enumeration && !p.latency && !has(unit))
      unitless.push_back(&p);
    // A lone channel needs no group; two or more are a bus only with one.
    if (p.audio && (p.input ? w.AudioIns() : w.AudioOuts()) > 1 && !has(group))
      ungrouped.push_back(&p);
  }
  if (!uncommented.empty()) missing.push_back(PortList("rdfs:comment", uncommented));
  if (!unitless.empty()) missing.push_back(PortList("units:unit", unitless));
  if (!ungrouped.empty()) missing.push_back(PortList("pg:group", ungrouped));

  ctx.Step("reading the UIs' extension data");
  // A UI in a window of its own (a native one, or shown through the show
  // interface) gets time to draw only from the host's idle calls.
  for (const Lv2UiInfo& u : Lv2Uis(w, false))
  {
    const Node ui = Uri(world, u.uri.c_str());
    lilv_world_load_resource(world, ui.get());
    const Node type = Uri(world, LILV_NS_RDF "type");
    const Node data = Uri(world, LV2_CORE__extensionData);
    bool windowed = false;
    for (const char* c : {LV2_UI__X11UI, LV2_UI__WindowsUI, LV2_UI__CocoaUI})
      windowed = windowed || lilv_world_ask(world, ui.get(), type.get(), Uri(world, c).get());
    windowed = windowed ||
               lilv_world_ask(world, ui.get(), data.get(), Uri(world, LV2_UI__showInterface).get());
    if (windowed &&
        !lilv_world_ask(world, ui.get(), data.get(), Uri(world, LV2_UI__idleInterface).get()))
      missing.push_back("ui:idleInterface in the lv2:extensionData of UI <" + u.uri + ">");
  }

  if (missing.empty()) return "license, author, description, port comments, units, groups";
  std::string text = "not given: ";
  for (size_t i = 0; i < missing.size(); ++i)
    text += (i ? "; " : "") + missing[i];
  Note(text + " (no LV2 rule requires them; hosts and package tools use them)");
}
} // namespace

std::vector<Check> Lv2NoteChecks() { return {{"lv2-metadata", 1, CheckMetadata}}; }
} // namespace aaxtool

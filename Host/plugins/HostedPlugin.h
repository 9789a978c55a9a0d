// One plug-in as every subcommand sees it, whatever its format. A driver
// (AAX: the stand-in host, LV2: lilv) implements PluginType and
// HostedPlugin; subcommands talk only to these, and only OpenPlugin knows
// which driver a target needs. Values cross this interface normalised to
// 0..1, as automation files and the AAX host write them; each driver maps
// them to its own (AAX: the host parameter's normalised value; LV2: the
// port's range, stepped for integer, toggle and enumeration ports).
//
// Thread tags: [host] the thread that opened the plug-in; [audio] the
// thread that renders one instance (one at a time per instance).
#pragma once

#include "Automation.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace aaxtool
{
enum class ParamKind
{
  kContinuous,
  kDiscrete, // stepped with no further meaning (AAX discrete parameters)
  kInteger,
  kToggle,
  kEnumeration,
};

struct PluginParam
{
  std::string id;     // what --param and automation keys name first: AAX "1", LV2 the symbol
  std::string name;   // the display name (AAX parameter name, lv2:name)
  std::string symbol; // the LV2 port symbol; empty for AAX
  ParamKind kind = ParamKind::kContinuous;
  int32_t steps = 0; // discrete values, 0 when continuous
  bool automatable = true;
  double min = 0.0, max = 1.0, defaultValue = 0.0, value = 0.0; // real values
  double normalized = 0.0, defaultNormalized = 0.0;
  std::string valueText; // the current value as the plug-in shows it
  // Display texts (AAX) or scale points (LV2): real value and label.
  std::vector<std::pair<double, std::string>> texts;
};

// What a saved state holds beyond its parameters, as state save, show and
// load print it: one line of text, and the same as JSON fields.
struct StateField
{
  std::string key, value;
  bool number = false; // JSON gets value as a number
};
struct StateSummary
{
  std::string text; // "chunk 'ln0p' version 1, 2 bytes"
  std::vector<StateField> fields;
};

// What ShowEditor does once the editor shows the instance's values.
struct EditorRun
{
  // Real pointer presses and releases at X,Y of the editor's window, in
  // order; each value a click changed is printed once they all landed.
  std::vector<std::pair<int, int>> clicks;
  std::string snapshot;     // a PNG of the window to write here, when not empty
  bool interactive = false; // stays open until its window is closed, printing changes
  // The files the plug-in asked for and did not find so far (the tool
  // watches fopen, which a library cannot): an editor that draws pictures
  // from its bundle warns of those it lacks.
  std::function<std::vector<std::string>()> missingFiles;
};

class HostedPlugin
{
public:
  virtual ~HostedPlugin() = default;

  // [host] Every parameter in the plug-in's order, with its current value.
  virtual std::vector<PluginParam> Params() const = 0;
  // [host] The id of the parameter that key names: an id, symbol or name
  // matched exactly, else regardless of case when exactly one matches.
  // Fails as a usage error naming key and what it could have meant.
  virtual std::string Resolve(const std::string& key) const = 0;
  // [host] A normalised value for id: a number is taken as normalised
  // (0..1); a text is a display text or scale-point label (regardless of
  // case when only one matches), or a number the plug-in parses. Fails as a
  // usage error naming where.
  virtual double ParseValue(const std::string& id, const ValueSpec& value,
                            const std::string& where) const = 0;
  // [host] The display text of a normalised value of id.
  virtual std::string Text(const std::string& id, double normalized) const = 0;
  // [host, between Render calls] Sets id to a normalised value; the next
  // Render's first frame hears it.
  virtual void Set(const std::string& id, double normalized) = 0;
  // [host] "ID=VALUE" as the command line gives it: resolved, parsed, set.
  void ApplyAssignment(const std::string& assignment);

  // [host] The presets' names (AAX: none offered through this interface;
  // LV2: their labels), and applying one by label or URI (fails naming it).
  virtual std::vector<std::string> Presets() const = 0;
  virtual void ApplyPreset(const std::string& key) = 0;

  // [host] The latency the plug-in reports, in frames (LV2: its latency
  // port, which holds it after a run; a run of no frames when none ran yet).
  virtual int32_t Latency() const = 0;
  // [audio] Renders frames (at most the maximum the instance was made for)
  // from one buffer per input channel to one per output channel.
  virtual void Render(float** inputs, float** outputs, int32_t frames) = 0;

  // [host] The whole state to path (AAX: a chunk file; LV2: a state folder
  // as jalv writes it), written beside and renamed into place; and back.
  // LoadState refuses damaged input and leaves the instance as it was.
  virtual void SaveState(const std::string& path) const = 0;
  virtual void LoadState(const std::string& path) = 0;
  // [host] What the state at path holds (AAX: the chunk's identifier,
  // version and size; LV2: the folder's files). Fails as LoadState does.
  virtual StateSummary SummariseState(const std::string& path) const = 0;

  // [host] Opens the plug-in's editor in a window on the X display (DISPLAY,
  // else an Xvfb of its own), showing the values the instance has now; does
  // what run asks, printing what it did to out; closes it. Fails naming the
  // plug-in when it has no editor or the editor does not open; a usage
  // error for what the format's editors cannot do.
  virtual void ShowEditor(const EditorRun& run, std::ostream& out) = 0;
};

class PluginType
{
public:
  virtual ~PluginType() = default;

  virtual const char* Format() const = 0; // "AAX" or "LV2"
  virtual std::string Name() const = 0;
  virtual std::string Location() const = 0; // the bundle path or plug-in URI
  virtual int Inputs() const = 0;
  virtual int Outputs() const = 0;
  virtual bool HasEditor() const = 0;
  // [host] A new instance at sampleRate rendering at most maxFrames a call.
  // Fails naming the plug-in.
  virtual std::unique_ptr<HostedPlugin> NewInstance(double sampleRate, int maxFrames) const = 0;

  // [host] Everything the plug-in describes of itself, as JSON or as text
  // showing the same; the exit status (AAX: 1 when the module does not
  // unload cleanly). The last call on the type: AAX unloads the module.
  virtual int Describe(std::ostream& out, bool json) = 0;
  // [host] Refuses, before anything is rendered or written, a path a state
  // cannot be saved to (save) or loaded from: AAX wants a file, LV2 a
  // folder. option names where the path came from ("--save-state").
  virtual void CheckStatePath(const std::string& path, bool save,
                              const std::string& option) const = 0;
};

// [host] Opens target as the format it names: an LV2 bundle folder (with a
// manifest.ttl) or plug-in URI, else an AAX module bundle. One line, a
// failure, when neither fits ("no such bundle, module or LV2 plug-in").
std::unique_ptr<PluginType> OpenPlugin(const std::string& target);
// For a process that ends when its one job does (the tool): what a type
// loaded to find its plug-in (an LV2 world of every installed bundle) is
// left to the end of the process instead of torn down with the type, which
// takes milliseconds a process about to end need not spend. Left reachable,
// so leak checkers stay quiet. [host]
void LeaveTypesToProcessExit();

// "on" -> "on"; the parse of "ID=VALUE": false when there is no '=' or no ID.
bool SplitAssignment(const std::string& text, std::string& key, std::string& value);
} // namespace aaxtool

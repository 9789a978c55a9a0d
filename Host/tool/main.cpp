// aaxhost: drives an AAX module or an LV2 plug-in from the command line as
// a host would. Exit status 0 success, 1 failure, 2 usage error; every error is one
// line on stderr.

#include "Arguments.h"
#include "AudioFile.h"
#include "Commands.h"
#include "HostedPlugin.h"
#include "Signals.h"
#include "ToolError.h"
#include "Validate.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>

using namespace aaxtool;

namespace
{
void Bundle(CLI::App* app, std::string& into)
{
  app->add_option("BUNDLE-or-URI", into,
                  "an AAX module bundle (Name.aaxplugin) or its .so, an LV2 bundle folder, or an "
                  "LV2 plug-in URI (found on LV2_PATH)")
      ->required();
}

void Params(CLI::App* app, std::vector<std::string>& into)
{
  app->add_option("--param", into,
                  "ID=VALUE, repeatable, applied in order; ID is the identifier (AAX), the port "
                  "symbol (LV2) or the name; VALUE a display text or scale-point label (on, "
                  "off, ...) or a normalised number from 0 to 1")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}
// The innermost subcommand the command line reached.
const CLI::App* Deepest(const CLI::App* app)
{
  for (const CLI::App* sub : app->get_subcommands())
    return Deepest(sub);
  return app;
}

// "aaxhost state save"
std::string CommandPath(const CLI::App* app)
{
  const CLI::App* parent = app->get_parent();
  return parent ? CommandPath(parent) + " " + app->get_name() : std::string("aaxhost");
}

const CLI::App* Subcommand(const CLI::App& app, const std::string& name)
{
  for (const CLI::App* sub : app.get_subcommands({}))
    if (sub->check_name(name)) return sub;
  return nullptr;
}

std::string SubcommandNames(const CLI::App& app)
{
  std::string out;
  for (const CLI::App* sub : app.get_subcommands({}))
    out += (out.empty() ? "" : ", ") + sub->get_name();
  return out;
}
} // namespace

int main(int argc, char** argv)
{
  CLI::App app{"aaxhost: load an AAX module or an LV2 plug-in and drive it as a host would"};
  app.set_version_flag("--version", std::string("aaxhost ") + QV_VERSION);
  app.require_subcommand(1);

  DescribeOptions describe;
  CLI::App* cDescribe =
      app.add_subcommand("describe", "print what the plug-in describes of itself");
  Bundle(cDescribe, describe.bundle);
  cDescribe->add_flag("--json", describe.json, "print JSON");

  ParamsOptions params;
  CLI::App* cParams = app.add_subcommand("params", "list the plug-in's parameters");
  Bundle(cParams, params.bundle);
  Params(cParams, params.params);
  cParams->add_flag("--json", params.json, "print JSON");

  ProcessOptions process;
  CLI::App* cProcess = app.add_subcommand("process", "render audio files through the plug-in");
  Bundle(cProcess, process.bundle);
  cProcess->add_option("INPUT", process.inputs, "input audio files")->required();
  auto* out = cProcess->add_option("-o,--output", process.output, "output file (one input)");
  auto* outDir =
      cProcess->add_option("--out-dir", process.outDir, "folder for the outputs (same file names)");
  out->excludes(outDir);
  Params(cProcess, process.params);
  cProcess->add_option("--automation", process.automation,
                       "JSON automation: {\"ID\": [{\"at\": T, \"value\": V}, ...]}");
  cProcess->add_option("--block", process.block, "frames per render call (1 to 8192)")
      ->check(WholeNumber(1, 8192))
      ->capture_default_str();
  cProcess->add_option("--state", process.state,
                       "restore this state first (AAX: a chunk file; LV2: a state folder)");
  cProcess->add_option("--preset", process.preset,
                       "apply this preset (its label or URI) after --state, before --param "
                       "(LV2; an AAX module offers none to the host)");
  cProcess->add_option("--save-state", process.saveState,
                       "save the state after rendering, one input (AAX: a chunk file; LV2: a "
                       "state folder)");
  cProcess->add_option("--format", process.format, "output format: " + FormatNames());
  cProcess->add_option("--subtype", process.subtype, "output sample type: " + SubtypeNames());
  cProcess->add_flag("--no-latency-compensation", process.noLatencyCompensation,
                     "keep the plug-in's latency at the output start");
  cProcess->add_option("-j,--jobs", process.jobs, "files rendered at once (--out-dir)")
      ->check(WholeNumber(1, 256))
      ->capture_default_str();
  cProcess->add_flag("-q,--quiet", process.quiet, "no progress bar and no summary");

  StateOptions state;
  CLI::App* cState = app.add_subcommand(
      "state", "save, show or load a plug-in's state (AAX: chunk files; LV2: state folders)");
  cState->require_subcommand(1);
  CLI::App* cSave = cState->add_subcommand("save", "save the state after --param values");
  CLI::App* cShow = cState->add_subcommand("show", "print the values a saved state holds");
  CLI::App* cLoad = cState->add_subcommand("load", "restore a saved state and print the values");
  for (CLI::App* c : {cSave, cShow, cLoad})
  {
    Bundle(c, state.bundle);
    c->add_option("FILE", state.file,
                  "the state: an AAX chunk file, or an LV2 state folder (as jalv saves it)")
        ->required();
    c->add_flag("--json", state.json, "print JSON");
  }
  Params(cSave, state.params);

  DiffOptions diff;
  CLI::App* cDiff = app.add_subcommand("diff", "compare two audio files sample by sample");
  cDiff->add_option("A", diff.a, "first file")->required();
  cDiff->add_option("B", diff.b, "second file")->required();
  cDiff->add_option("--tolerance", diff.tolerance, "largest difference still equal (default 0)")
      ->check(Number(0, true, 1e30));
  cDiff->add_flag("--json", diff.json, "print JSON");

  EditorOptions editor;
  CLI::App* cEditor = app.add_subcommand("editor", "open the editor in an X11 window");
  Bundle(cEditor, editor.bundle);
  Params(cEditor, editor.params);
  cEditor->add_option("--click", editor.clicks, "X,Y in editor coordinates, repeatable")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  auto* snap = cEditor->add_option("--snapshot", editor.snapshot, "write the window as PNG");
  auto* inter = cEditor->add_flag("--interactive", editor.interactive,
                                  "keep the window open until it is closed");
  snap->excludes(inter);

  SignalOptions signal;
  CLI::App* cSignal =
      app.add_subcommand("testsignal", "write the built-in stereo test signal (float WAV)");
  cSignal->add_option("OUTPUT", signal.output, "file to write")->required();
  cSignal->add_option("--seconds", signal.seconds, "length (more than 0, at most 3600)")
      ->check(Number(0, false, 3600))
      ->capture_default_str();
  cSignal->add_option("--rate", signal.rate, "sample rate")
      ->check(WholeNumber(1000, 768000))
      ->capture_default_str();
  cSignal->add_flag("--swapped", signal.swapped, "left and right exchanged (a reference)");

  ValidateOptions validate;
  CLI::App* cValidate = AddValidate(app, validate);

  // A word where a subcommand belongs that is none is a mistyped one,
  // whatever CLI11 would make of it.
  {
    const CLI::App* at = &app;
    for (int i = 1; i < argc && argv[i][0] != '-' && !at->get_subcommands({}).empty(); ++i)
    {
      const CLI::App* next = Subcommand(*at, argv[i]);
      if (!next)
      {
        std::fprintf(stderr, "aaxhost: unknown subcommand \"%s\" (%s has: %s; see %s --help)\n",
                     argv[i], CommandPath(at).c_str(), SubcommandNames(*at).c_str(),
                     CommandPath(at).c_str());
        return kExitUsage;
      }
      at = next;
    }
  }
  try
  {
    app.parse(argc, argv);
  }
  catch (const CLI::CallForHelp& e)
  {
    return app.exit(e);
  }
  catch (const CLI::CallForAllHelp& e)
  {
    return app.exit(e);
  }
  catch (const CLI::CallForVersion& e)
  {
    return app.exit(e);
  }
  catch (const CLI::RequiredError& e)
  {
    // "A subcommand is required" at the top or under state: name the choices.
    const CLI::App* at = Deepest(&app);
    if (at->get_require_subcommand_min() > 0 && at->get_subcommands().empty())
      std::fprintf(stderr, "aaxhost: no subcommand given (%s has: %s; see %s --help)\n",
                   CommandPath(at).c_str(), SubcommandNames(*at).c_str(), CommandPath(at).c_str());
    else
      std::fprintf(stderr, "aaxhost: %s (see %s --help)\n", e.what(), CommandPath(at).c_str());
    return kExitUsage;
  }
  catch (const CLI::ParseError& e)
  {
    std::fprintf(stderr, "aaxhost: %s (see %s --help)\n", e.what(),
                 CommandPath(Deepest(&app)).c_str());
    return kExitUsage;
  }

  InstallSignalCleanup();
  LeaveTypesToProcessExit(); // one job per process: nothing to tear down for the next
  try
  {
    if (*cDescribe) return RunDescribe(describe);
    if (*cParams) return RunParams(params);
    if (*cProcess) return RunProcess(process);
    if (*cState)
    {
      state.action = *cSave ? "save" : *cShow ? "show" : "load";
      return RunState(state);
    }
    if (*cDiff) return RunDiff(diff);
    if (*cEditor) return RunEditor(editor);
    if (*cValidate) return RunValidate(validate);
    if (*cSignal) return RunSignal(signal);
  }
  catch (const ToolError& e)
  {
    if (e.Code() == kExitUsage)
      std::fprintf(stderr, "aaxhost: %s (see %s --help)\n", e.what(),
                   CommandPath(Deepest(&app)).c_str());
    else
      std::fprintf(stderr, "aaxhost: %s\n", e.what());
    return e.Code();
  }
  catch (const std::exception& e)
  {
    std::fprintf(stderr, "aaxhost: %s\n", e.what());
    return kExitFailure;
  }
  return kExitUsage;
}

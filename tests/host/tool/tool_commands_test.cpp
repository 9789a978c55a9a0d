// aaxhost describe, params, state, diff and the error paths: JSON that parses
// and holds the description, exit statuses, one-line errors naming what and
// where, and nothing left behind by a failed render.

#include "tool_run.h"

#include <elf.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using nlohmann::json;

namespace
{
// The first object key anywhere in j that is not snake_case, or "".
std::string SpacedKey(const json& j)
{
  if (j.is_object())
    for (auto it = j.begin(); it != j.end(); ++it)
    {
      if (it.key().find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != std::string::npos)
        return it.key();
      if (std::string inner = SpacedKey(it.value()); !inner.empty()) return inner;
    }
  if (j.is_array())
    for (const json& e : j)
      if (std::string inner = SpacedKey(e); !inner.empty()) return inner;
  return "";
}
} // namespace

TEST(AaxhostCommands, DescribeAndParamsJSONHoldTheDescription)
{
  const RunResult d = Aaxhost({"describe", kBundle, "--json"});
  ASSERT_EQ(d.status, 0) << d.err;
  const json desc = json::parse(d.out);
  EXPECT_EQ(desc["manufacturer"][0], "Orvantine");
  EXPECT_EQ(desc["package_version"], "0x00010000");
  EXPECT_EQ(desc["unloaded"], true);
  EXPECT_EQ(desc["live_objects_after_release"], 0);
  const json& effect = desc["effects"][0];
  EXPECT_EQ(effect["id"], "com.orvantine.aax.quorvane");
  EXPECT_EQ(effect["names"][0], "Quorvane");
  EXPECT_EQ(effect["creation_procedures"], json({0, 1}));
  const json& proc = effect["components"][0]["process_procedures"][0];
  EXPECT_EQ(proc["plugin_id"], "EFN1");
  EXPECT_EQ(proc["product_id"], "ln0p");
  EXPECT_EQ(proc["input_stem_format"], "0x00010002 (stereo: layout 1, 2 channels)");

  EXPECT_EQ(proc["properties"][4]["name"], "InputStemFormat");
  EXPECT_EQ(proc["properties"][4]["stem_format"], "stereo: layout 1, 2 channels");

  const RunResult p = Aaxhost({"params", kBundle, "--json", "--param", "Mono=on"});
  ASSERT_EQ(p.status, 0) << p.err;
  const json params = json::parse(p.out);
  for (const json* doc : {&desc, &params})
    EXPECT_EQ(SpacedKey(*doc), "");
  ASSERT_EQ(params.size(), 3u);
  EXPECT_EQ(params[1]["id"], "1");
  EXPECT_EQ(params[1]["name"], "Swap");
  EXPECT_EQ(params[1]["type"], "discrete");
  EXPECT_EQ(params[1]["steps"], 2);
  EXPECT_EQ(params[1]["automatable"], true);
  EXPECT_EQ(params[1]["texts"],
            json::parse(R"([{"value":0.0,"text":"off"},{"value":1.0,"text":"on"}])"));
  EXPECT_EQ(params[2]["text"], "on");
  EXPECT_EQ(params[2]["value"], 1.0);
}

TEST(AaxhostCommands, StateShowAndLoadPrintTheSavedValues)
{
  const std::string dir = TempFolder();
  const RunResult saved =
      Aaxhost({"state", "save", kBundle, dir + "/s.chunk", "--param", "Mono=on", "--json"});
  ASSERT_EQ(saved.status, 0);
  EXPECT_EQ(
      json::parse(saved.out)["version"],
      json::parse(Aaxhost({"state", "show", kBundle, dir + "/s.chunk", "--json"}).out)["version"]);
  EXPECT_EQ(Slurp(dir + "/s.chunk").substr(0, 12), "aaxchunkln0p");
  for (const char* action : {"show", "load"})
  {
    const RunResult r = Aaxhost({"state", action, kBundle, dir + "/s.chunk", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["parameters"][1]["text"], "off");
    EXPECT_EQ(j["parameters"][2]["text"], "on");
  }
  // Another plug-in's chunk identifier is refused by name.
  std::string other = Slurp(dir + "/s.chunk");
  other.replace(8, 4, "abcd");
  std::ofstream(dir + "/other.chunk", std::ios::binary) << other;
  const RunResult r = Aaxhost({"state", "load", kBundle, dir + "/other.chunk"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("chunk 'abcd' is not this plug-in's"), std::string::npos) << r.err;
}

TEST(AaxhostCommands, DiffExitsZeroOnlyWithinTolerance)
{
  const std::string dir = TempFolder();
  Audio a = TestStereo(100);
  WriteAudio(dir + "/a.wav", a, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  Audio b = a;
  b.samples[2 * 40 + 1] += 0.25f;
  WriteAudio(dir + "/b.wav", b, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  Audio shorter = a;
  shorter.samples.resize(180);
  WriteAudio(dir + "/short.wav", shorter, SF_FORMAT_WAV | SF_FORMAT_FLOAT);

  EXPECT_EQ(Aaxhost({"diff", dir + "/a.wav", dir + "/a.wav"}).status, 0);
  const RunResult d = Aaxhost({"diff", dir + "/a.wav", dir + "/b.wav", "--json"});
  EXPECT_EQ(d.status, 1);
  const json j = json::parse(d.out);
  EXPECT_EQ(SpacedKey(j), "");
  EXPECT_EQ(j["first_differing_frame"], 40);
  EXPECT_EQ(j["max_at_frame"], 40);
  EXPECT_EQ(j["max_at_channel"], 1);
  EXPECT_NEAR(j["max_abs_difference"].get<double>(), 0.25, 1e-6);
  EXPECT_NEAR(j["rms_difference"].get<double>(), 0.25 / std::sqrt(200.0), 1e-7);
  EXPECT_EQ(Aaxhost({"diff", dir + "/a.wav", dir + "/b.wav", "--tolerance", "0.3"}).status, 0);
  const RunResult l = Aaxhost({"diff", dir + "/a.wav", dir + "/short.wav", "--tolerance", "1"});
  EXPECT_EQ(l.status, 1);
  EXPECT_NE(l.out.find("lengths differ (100 and 90 frames)"), std::string::npos) << l.out;
}

TEST(AaxhostCommands, ErrorsAreOneLineNamingWhatAndWhereWithTheirStatus)
{
  const std::string dir = TempFolder();
  WriteAudio(dir + "/in.wav", TestStereo(100), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  Audio mono;
  mono.channels = 1;
  mono.samples.assign(100, 0.5f);
  WriteAudio(dir + "/mono.wav", mono, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  std::ofstream(dir + "/corrupt.wav") << "RIFF????WAVEnot really";
  std::ofstream(dir + "/bad.json") << "{\"Swap\": [\n  {\"at\": 10, \"value\": }\n]}";
  std::ofstream(dir + "/name.json") << R"({"Pan": [{"at": 0, "value": 1}]})";
  const std::string in = dir + "/in.wav";
  const struct
  {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"process", kBundle, dir + "/missing.wav", "-o", dir + "/o.wav"},
       1,
       "missing.wav: No such file"},
      {{"process", kBundle, dir + "/corrupt.wav", "-o", dir + "/o.wav"},
       1,
       "corrupt.wav: not a readable audio file"},
      {{"process", kBundle, dir + "/mono.wav", "-o", dir + "/o.wav"},
       1,
       "has 1 channel, the plug-in takes 2 input channels"},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--param", "Pan=on"},
       2,
       "unknown parameter \"Pan\""},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--param", "Swap=2"},
       2,
       "value 2 of parameter 1 is outside 0..1"},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--param", "Swap=sideways"},
       2,
       "\"sideways\" is no value of parameter 1"},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--automation", dir + "/bad.json"},
       1,
       "bad.json:2:23: invalid JSON"},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--automation", dir + "/name.json"},
       1,
       "name.json: \"Pan\": unknown parameter"},
      {{"process", kBundle, in, "-o", in + "/o.wav"},
       1,
       "in.wav: cannot write there (Not a directory)"},
      {{"process", kBundle, in, "-o", in}, 1, "in.wav: is the input file"},
      {{"process", kBundle, in, "-o", dir + "/./in.wav"}, 1, "is the input file"},
      {{"process", dir, in, "-o", dir + "/o.wav"}, 1, "has no module binary"},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--block", "0"}, 2, "--block"},
      {{"process", kBundle, in}, 2, "give -o OUTPUT or --out-dir DIR"},
      {{"frobnicate"}, 2, "subcommand"},
      {{"proc"}, 2, "unknown subcommand \"proc\" (aaxhost has: describe, params, process,"},
      {{"state", "sav"}, 2, "unknown subcommand \"sav\" (aaxhost state has: save, show, load"},
      {{"process", kBundle, in, "-o", dir},
       2,
       ": is a directory; give a file name or use --out-dir"},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--automation", dir},
       1,
       dir + ": is a directory"},
      {{"state", "show", kBundle, dir}, 1, dir + ": is a directory"},
      {{"process", kBundle, in, "-o", dir + "/o.wav", "--block", "abc"},
       2,
       "--block: abc is not a whole number from 1 to 8192 (see aaxhost process --help)"},
      {{"diff", in, in, "--tolerance", "-1"}, 2, "--tolerance: -1 is below 0 (see aaxhost diff"},
      {{"validate", kBundle, "--timeout", "0"}, 2, "--timeout: 0 must be more than 0"},
      {{"testsignal", dir + "/t.wav", "--seconds", "0"}, 2, "--seconds: 0 must be more than 0"},
  };
  for (const auto& c : cases)
  {
    const RunResult r = Aaxhost(c.args);
    EXPECT_EQ(r.status, c.status) << c.message << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
  // Nothing was written: no output, no temporary file, the input untouched.
  EXPECT_FALSE(Exists(dir + "/o.wav"));
  for (const std::string& e : Entries(dir))
    EXPECT_NE(e[0], '.') << e;
  EXPECT_EQ(ReadAudio(in).samples, TestStereo(100).samples);
}

TEST(AaxhostCommands, HelpAndVersionSucceed)
{
  EXPECT_EQ(Aaxhost({"--version"}).status, 0);
  const RunResult h = Aaxhost({"process", "--help"});
  EXPECT_EQ(h.status, 0);
  EXPECT_NE(h.out.find("--automation"), std::string::npos);
}

TEST(AaxhostCommands, BrokenModuleBinariesAreRefusedInOneLineWithoutACrash)
{
  const std::string dir = TempFolder();
  const std::string so = Slurp(kBundle + "/Contents/x86_64-linux/Quorvane.so");
  ASSERT_GT(so.size(), 100000u);
  std::string arm = so;
  arm[18] = char(EM_AARCH64), arm[19] = 0; // e_machine, little-endian
  struct Case
  {
    std::string name, bytes, reason;
  };
  const Case cases[] = {
      {"empty", "", "is empty"},
      {"ident", so.substr(0, 20), "cut short: 20 bytes, less than an ELF header"},
      {"header", so.substr(0, 64), "cut short: its program headers end"},
      {"head", so.substr(0, 5000), "cut short"},
      {"half", so.substr(0, so.size() / 2), "cut short"},
      {"tail", so.substr(0, so.size() - 1), "cut short: its section headers end"},
      {"arm", arm, "built for ARM64, not x86-64"},
  };
  for (const Case& c : cases)
  {
    const std::string path = dir + "/" + c.name + ".so";
    std::ofstream(path, std::ios::binary) << c.bytes;
    for (const char* command : {"describe", "params"})
    {
      const RunResult r = Aaxhost({command, path});
      EXPECT_EQ(r.status, 1) << c.name << " " << command << ": " << r.err;
      EXPECT_NE(r.err.find(path + ": " + c.reason), std::string::npos) << r.err;
      EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
  }
  const std::string folder = dir + "/folder.so";
  mkdir(folder.c_str(), 0755);
  const RunResult r = Aaxhost({"describe", folder});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(folder + ": is a directory"), std::string::npos) << r.err;
}

TEST(AaxhostCommands, RenamedBundleLoadsItsOnlyBinary)
{
  const std::string dir = TempFolder();
  const std::string bundle = dir + "/Q.aaxplugin";
  ASSERT_EQ(std::system(("cp -r '" + kBundle + "' '" + bundle + "'").c_str()), 0);
  const RunResult r = Aaxhost({"describe", bundle});
  EXPECT_EQ(r.status, 0) << r.err;
}

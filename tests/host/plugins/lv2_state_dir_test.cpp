// LV2 state folders: what lilv saves as jalv does loads, what the tool saves
// lilv reads back, and damaged folders are refused with the instance left
// as it was.

#include "Lv2StateDir.h"
#include "ToolError.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>

using namespace aaxtool;

namespace
{
const std::string kQvTest = QV_QVTEST_LV2;
const std::string kQuorvane = QV_QUORVANE_LV2;

std::string TempFolder()
{
  std::string t = testing::TempDir() + "/lv2stateXXXXXX";
  if (!mkdtemp(t.data())) std::abort();
  return t;
}

std::vector<std::string> Entries(const std::string& folder)
{
  std::vector<std::string> out;
  if (DIR* d = opendir(folder.c_str()))
  {
    while (const dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") out.push_back(e->d_name);
    closedir(d);
  }
  return out;
}

std::map<std::string, float> Controls(Lv2World& w, Lv2Instance& inst)
{
  std::map<std::string, float> out;
  for (const Lv2Port& p : w.Ports())
    if (p.control && p.input) out[p.symbol] = inst.Control(p.index);
  return out;
}

void Set(Lv2World& w, Lv2Instance& inst, const std::map<std::string, float>& values)
{
  for (const Lv2Port& p : w.Ports())
    if (values.count(p.symbol)) inst.Control(p.index) = values.at(p.symbol);
  // One block, so the plug-in's own state follows the ports as a host's would.
  std::vector<float> a(64), b(64), c(64), d(64);
  float* in[] = {a.data(), b.data()};
  float* out[] = {c.data(), d.data()};
  inst.Activate();
  inst.Run(in, out, 64);
}

const std::map<std::string, float> kSaved{{"gain", -6.5f}, {"mode", 2}, {"steps", 5}, {"mute", 1}};
} // namespace

TEST(Lv2StateDir, LoadsAStateLilvSavedAsJalvSavesIt)
{
  const std::string top = TempFolder(), dir = top + "/saved";
  // LV2_PATH lists folders of bundles: one holding only this bundle.
  mkdir((top + "/path").c_str(), 0755);
  ASSERT_EQ(symlink(kQvTest.c_str(), (top + "/path/QvTest.lv2").c_str()), 0);
  const std::string cmd = "LV2_PATH='" + top + "/path' '" + QV_LV2_SAVE_STATE +
                          "' urn:orvantine:qvtest '" + dir + "' gain=-6.5 mode=2 steps=5 mute=1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  Lv2World w(kQvTest);
  Lv2Instance inst(w, 48000.0, 64);
  LoadLv2StateDir(w, inst, dir);
  EXPECT_EQ(Controls(w, inst), kSaved);
}

TEST(Lv2StateDir, SavesWhatLilvReadsAndReplacesOnlyAStateFolder)
{
  const std::string top = TempFolder(), dir = top + "/state";
  Lv2World w(kQvTest);
  {
    Lv2Instance inst(w, 48000.0, 64);
    Set(w, inst, {{"gain", 3}, {"steps", 7}});
    SaveLv2StateDir(w, inst, dir);
    Set(w, inst, kSaved);
    SaveLv2StateDir(w, inst, dir); // replaces the first
  }
  EXPECT_EQ(Entries(top), std::vector<std::string>{"state"}); // no temporary folder left

  // lilv, as jalv -l reads it.
  LV2_URID_Map map{&w, [](LV2_URID_Map_Handle h, const char* uri)
                   { return static_cast<Lv2World*>(h)->Map(uri); }};
  LilvState* s = lilv_state_new_from_file(w.World(), &map, nullptr, (dir + "/state.ttl").c_str());
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(lilv_node_as_uri(lilv_state_get_plugin_uri(s)), "urn:orvantine:qvtest");
  std::map<std::string, float> ports;
  lilv_state_emit_port_values(
      s,
      [](const char* symbol, void* to, const void* value, uint32_t size, uint32_t)
      {
        if (size == sizeof(float))
          (*static_cast<std::map<std::string, float>*>(to))[symbol] =
              *static_cast<const float*>(value);
      },
      &ports);
  lilv_state_free(s);
  EXPECT_EQ(ports, kSaved);

  Lv2Instance fresh(w, 48000.0, 64);
  LoadLv2StateDir(w, fresh, dir);
  EXPECT_EQ(Controls(w, fresh), kSaved);

  // A folder of something else is never emptied for a state.
  const std::string other = top + "/other";
  mkdir(other.c_str(), 0755);
  std::ofstream(other + "/keep.txt") << "mine";
  EXPECT_THROW(SaveLv2StateDir(w, fresh, other), ToolError);
  EXPECT_EQ(Entries(other), std::vector<std::string>{"keep.txt"});
  EXPECT_EQ(Entries(top).size(), 2u);
}

TEST(Lv2StateDir, RefusesDamagedFoldersAndOtherPluginsStatesLeavingTheInstanceAsItWas)
{
  const std::string top = TempFolder();
  Lv2World quorvane(kQuorvane);
  {
    Lv2Instance q(quorvane, 48000.0, 64);
    SaveLv2StateDir(quorvane, q, top + "/quorvane");
  }
  Lv2World w(kQvTest);
  Lv2Instance inst(w, 48000.0, 64);
  Set(w, inst, kSaved);
  SaveLv2StateDir(w, inst, top + "/good");

  std::ofstream(top + "/file") << "x";
  mkdir((top + "/nostate").c_str(), 0755);
  std::ofstream(top + "/nostate/manifest.ttl") << "";
  mkdir((top + "/broken").c_str(), 0755);
  std::ofstream(top + "/broken/manifest.ttl") << "";
  std::ofstream(top + "/broken/state.ttl") << "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                                              "<> lv2:appliesTo <urn:orvantine:qvtest> ;\n"
                                              "   lv2:port [ lv2:symbol \"gain\" \n";
  mkdir((top + "/unrelated").c_str(), 0755);
  std::ofstream(top + "/unrelated/manifest.ttl") << "";
  std::ofstream(top + "/unrelated/state.ttl") << "<> a <urn:something:else> .\n";

  Set(w, inst, {{"gain", 1}, {"mode", 1}, {"steps", 1}, {"mute", 0}});
  const auto before = Controls(w, inst);
  const Lv2State stateBefore = inst.Save();
  for (const char* name : {"missing", "file", "nostate", "broken", "unrelated", "quorvane"})
  {
    const std::string dir = top + "/" + name;
    try
    {
      LoadLv2StateDir(w, inst, dir);
      ADD_FAILURE() << name << " was loaded";
    }
    catch (const ToolError& e)
    {
      const std::string what = e.what();
      EXPECT_EQ(what.find('\n'), std::string::npos) << what;
      EXPECT_EQ(what.rfind(dir + ": ", 0), 0u) << what;
    }
    EXPECT_EQ(Controls(w, inst), before) << name;
    EXPECT_EQ(inst.Save(), stateBefore) << name;
  }
  LoadLv2StateDir(w, inst, top + "/good");
  EXPECT_EQ(Controls(w, inst), kSaved);
}

// The module loader with real shared objects: a test module's whole life,
// and every kind of bad input answered with a clear message and a code.
#include "Module.h"

#include "AAX_Errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/stat.h>

using namespace aaxhost;

namespace
{
const std::string kBundle = QV_TEST_MODULE_BUNDLE;
const std::string kFailingBundle = QV_FAILING_MODULE_BUNDLE;
const std::string kNotAModule = QV_NOT_A_MODULE_SO;

bool Contains(const std::string& text, const std::string& part)
{
  return text.find(part) != std::string::npos;
}
} // namespace

TEST(ModuleLoader, RunsAModulesWholeLife)
{
  StandInHost host;
  Module module(host);
  const ModuleResult loaded = module.Load(kBundle);
  ASSERT_TRUE(loaded.ok()) << loaded.message;
  EXPECT_EQ(module.BinaryPath(), kBundle + "/Contents/x86_64-linux/TestModule.so");

  const Description& d = module.GetDescription();
  ASSERT_EQ(d.effects.size(), 1u);
  EXPECT_EQ(d.effects[0].id, "com.orvantine.aax.testmodule");
  EXPECT_EQ(d.effects[0].names, std::vector<std::string>{"Test Module"});
  ASSERT_EQ(d.effects[0].components.size(), 1u);
  EXPECT_EQ(d.effects[0].components[0].processProcs.size(), 1u);
  EXPECT_EQ(d.manufacturerNames, std::vector<std::string>{"Orvantine"});
  EXPECT_EQ(d.packageVersion, 0x00010000u);
  std::ostringstream listing;
  Print(listing, d);
  EXPECT_TRUE(Contains(listing.str(), "effect \"com.orvantine.aax.testmodule\"\n"
                                      "  name \"Test Module\" (11 characters)\n"
                                      "  category 512 (0x00000200)\n"
                                      "  creation procedure 0\n"))
      << listing.str();
  acfUInt64 version = 0;
  EXPECT_EQ(module.EntryPoints().getSDKVersion(&version), 0);
  EXPECT_EQ(version, 0x0000020300D5E5B4ull);

  IACFUnknown* object = nullptr;
  ASSERT_TRUE(module.Create(0, 0, &object).ok());
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(module.CanUnloadNow(), 1);
  const ModuleResult busy = module.Unload();
  EXPECT_EQ(busy.code, AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_TRUE(Contains(busy.message, "1 of its objects are still alive")) << busy.message;
  EXPECT_TRUE(module.Loaded());

  IACFUnknown* none = object;
  EXPECT_EQ(module.Create(0, 5, &none).code, AAX_ERROR_UNKNOWN_ID);
  EXPECT_EQ(none, nullptr);
  IACFUnknown* another = nullptr;
  ASSERT_TRUE(module.Create(0, 0, &another).ok());
  EXPECT_EQ(module.CanUnloadNow(), 2);
  another->Release();
  object->Release();
  EXPECT_EQ(module.CanUnloadNow(), 0);
  EXPECT_TRUE(module.Unload().ok());
}

TEST(ModuleLoader, UnloadsWhenNothingIsAliveAndRefusesASecondLoad)
{
  StandInHost host;
  Module first(host), second(host);
  ASSERT_TRUE(first.Load(kBundle + "/Contents/x86_64-linux/TestModule.so").ok());
  const ModuleResult again = second.Load(kBundle);
  EXPECT_EQ(again.code, AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_TRUE(Contains(again.message, "already loaded")) << again.message;
  EXPECT_FALSE(second.Loaded());

  IACFUnknown* object = nullptr;
  ASSERT_TRUE(first.Create(0, 0, &object).ok());
  object->Release();
  EXPECT_EQ(first.CanUnloadNow(), 0);
  const ModuleResult unloaded = first.Unload();
  EXPECT_TRUE(unloaded.ok()) << unloaded.message;
  EXPECT_FALSE(first.Loaded());
  EXPECT_TRUE(host.Services()->Traces().empty());
  EXPECT_TRUE(second.Load(kBundle).ok());
}

TEST(ModuleLoader, BadInputIsRefusedWithAClearMessageAndCode)
{
  StandInHost host;
  Module module(host);

  ModuleResult r = module.Load("/nonexistent/Nothing.aaxplugin");
  EXPECT_EQ(r.code, AAX_ERROR_INVALID_PATH);
  EXPECT_EQ(r.message,
            "no such bundle or module: /nonexistent/Nothing.aaxplugin (AAX_ERROR_INVALID_PATH, "
            "-20040)");

  char tmpl[] = "/tmp/qv_module_test_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string empty = std::string(tmpl) + "/Empty.aaxplugin";
  ASSERT_EQ(mkdir(empty.c_str(), 0700), 0);
  r = module.Load(empty);
  EXPECT_EQ(r.code, AAX_ERROR_INVALID_PATH);
  EXPECT_TRUE(
      Contains(r.message, "has no module binary " + empty + "/Contents/x86_64-linux/Empty.so"))
      << r.message;

  const std::string text = std::string(tmpl) + "/text.so";
  FILE* f = std::fopen(text.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("not a shared object\n", f);
  std::fclose(f);
  r = module.Load(text);
  EXPECT_EQ(r.code, AAX_ERROR_INVALID_PATH);
  EXPECT_TRUE(Contains(r.message, text + ": not an ELF shared object")) << r.message;

  r = module.Load(kNotAModule);
  EXPECT_EQ(r.code, AAX_ERROR_UNKNOWN_PLUGIN);
  EXPECT_TRUE(Contains(r.message, "is not an AAX module: entry point ACFRegisterPlugin is missing"))
      << r.message;

  r = module.Load(kFailingBundle);
  EXPECT_EQ(r.code, AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_TRUE(Contains(r.message, "ACFRegisterPlugin of ")) << r.message;
  EXPECT_TRUE(Contains(r.message, "failed (AAX_ERROR_INVALID_ARGUMENT, -20043)")) << r.message;
  EXPECT_FALSE(module.Loaded());
  // The failure was traced by the module before it shut down again.
  EXPECT_EQ(host.Services()->Traces().back().message,
            "AAXRegisterPlugin exception caught: AAX_ERROR_INVALID_ARGUMENT (-20043)");

  // After all that the loader still works.
  r = module.Load(kBundle);
  EXPECT_TRUE(r.ok()) << r.message;
  std::remove(text.c_str());
  rmdir(empty.c_str());
  rmdir(tmpl);
}

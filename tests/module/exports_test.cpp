// A built module defines exactly the expected dynamic symbols: the entry
// points, the counters, the identifier texts and the identifier data.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace
{
std::set<std::string> DefinedDynamicSymbols(const std::string& path)
{
  std::set<std::string> names;
  const std::string command = "nm -D --defined-only '" + path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return names;
  char line[512];
  while (std::fgets(line, sizeof(line), pipe))
  {
    std::istringstream is(line);
    std::string address, type, name;
    if (is >> address >> type >> name) names.insert(name);
  }
  EXPECT_EQ(pclose(pipe), 0) << command;
  return names;
}

std::set<std::string> ExpectedExports()
{
  std::set<std::string> names;
  std::ifstream in(QV_EXPECTED_EXPORTS);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty() && line[0] != '#') names.insert(line);
  return names;
}
} // namespace

TEST(ModuleExports, ExactlyTheEntryPointsCountersTextsAndIdentifiers)
{
  const std::set<std::string> expected = ExpectedExports();
  ASSERT_EQ(expected.size(), 57u); // 7 entry points, 2 counters, 2 texts, 46 identifiers
  EXPECT_EQ(DefinedDynamicSymbols(QV_TEST_MODULE_SO), expected);
}

TEST(ModuleExports, TheProductModuleExportsTheSameListAndNothingElse)
{
  EXPECT_EQ(DefinedDynamicSymbols(QV_QUORVANE_SO), ExpectedExports());
}

#include "HostedPlugin.h"

#include "ToolError.h"

namespace aaxtool
{
bool SplitAssignment(const std::string& text, std::string& key, std::string& value)
{
  const size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  key = text.substr(0, eq);
  value = text.substr(eq + 1);
  return true;
}

void HostedPlugin::ApplyAssignment(const std::string& assignment)
{
  std::string key, text;
  if (!SplitAssignment(assignment, key, text))
    Usage("--param " + assignment + ": expected ID=VALUE");
  const std::string id = Resolve(key);
  ValueSpec wanted;
  wanted.isText = true;
  wanted.text = text;
  Set(id, ParseValue(id, wanted, "--param " + assignment));
}
} // namespace aaxtool

// The bundle generator: linked with a product's LV2 objects, it makes one
// instance of the product and writes the bundle's data files from it.
//   usage: <generator> BUNDLE_DIR BINARY_NAME TTL_NAME
#include "IPlugLV2_TTL.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
  if (argc != 4)
  {
    std::fprintf(stderr, "usage: %s BUNDLE_DIR BINARY_NAME TTL_NAME\n", argv[0]);
    return 2;
  }
  std::unique_ptr<IPlugLV2> plug(MakePlug());
  if (!plug || !plug->Instantiate(48000.0, nullptr))
  {
    std::fprintf(stderr, "%s: the plug-in could not be made\n", argv[0]);
    return 1;
  }
  const std::string ttlName = argv[3];
  std::string error;
  if (!IPlugLV2_WriteBundleData(*plug, IPlugLV2_PluginURI(), argv[1], argv[2], ttlName, &error))
  {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  return 0;
}

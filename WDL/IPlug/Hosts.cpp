#include "Hosts.h"

#include <cctype>
#include <cstring>

namespace
{
struct HostKey
{
  const char* key;
  EHost host;
};

// The search order matters: names containing several keys resolve to the
// first one listed ("live" before "logic", "protools" late).
constexpr HostKey kHostKeys[] = {
    {"cubase", kHostCubase},         {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},         {"cakewalk", kHostSonar},
    {"samplitude", kHostSamplitude}, {"fruity", kHostFL},
    {"live", kHostAbletonLive},      {"melodyne", kHostMelodyneStudio},
    {"vstmanlib", kHostVSTScanner},  {"aulab", kHostAULab},
    {"garageband", kHostGarageBand}, {"forte", kHostForte},
    {"chainer", kHostChainer},       {"audition", kHostAudition},
    {"orion", kHostOrion},           {"sawstudio", kHostSAWStudio},
    {"logic", kHostLogic},           {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch}, {"presonus", kHostStudioOne},
    {"vst3plugintesthost", kHostVST3TestHost}, {"protools", kHostProTools},
    {"ardour", kHostArdour},         {"openmpt", kHostOpenMPT},
    {"renoise", kHostRenoise},       {"standalone", kHostStandalone},
};

// Display names indexed by EHost value; null rows read "Unknown".
constexpr const char* kHostNames[kNumHosts] = {
    nullptr,            // kHostUnknown
    "Reaper",           "ProTools",   "Cubase",  "Nuendo",   "Sonar",
    "Vegas",            "FLStudio",   "Samplitude", "Live",
    nullptr,            // kHostTracktion
    nullptr,            // kHostNTracks
    nullptr,            // kHostMelodyneStudio
    "VSTScanner",       "AULab",      "Forte",   "Chainer",  "Audition", "Orion",
    nullptr,            // kHostBias
    "SAWStudio",        "Logic",      "GarageBand", "DigitalPerformer", "Standalone",
    "AudioMulch",       "StudioOne",  "VST3PluginTestHost", "Ardour", "Renoise", "OpenMPT",
};
} // namespace

EHost LookUpHost(const char* inHost)
{
  char host[256];
  size_t n = 0;
  if (inHost)
    for (; n < sizeof(host) - 1 && inHost[n]; ++n)
      host[n] = static_cast<char>(std::tolower(static_cast<unsigned char>(inHost[n])));
  host[n] = '\0';

  for (const HostKey& k : kHostKeys)
    if (std::strstr(host, k.key)) return k.host;
  return kHostUnknown;
}

void GetHostNameStr(EHost host, char* rHostName)
{
  const char* name = (host >= 0 && host < kNumHosts) ? kHostNames[host] : nullptr;
  std::strcpy(rHostName, name ? name : "Unknown");
}

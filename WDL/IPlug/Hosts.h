#pragma once
// Host identification: the table of known hosts, looked up from the name a
// host reports.

enum EHost : int
{
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper,
  kHostProTools,
  kHostCubase,
  kHostNuendo,
  kHostSonar,
  kHostVegas,
  kHostFL,
  kHostSamplitude,
  kHostAbletonLive,
  kHostTracktion,
  kHostNTracks,
  kHostMelodyneStudio,
  kHostVSTScanner,
  kHostAULab,
  kHostForte,
  kHostChainer,
  kHostAudition,
  kHostOrion,
  kHostBias,
  kHostSAWStudio,
  kHostLogic,
  kHostGarageBand,
  kHostDigitalPerformer,
  kHostStandalone,
  kHostAudioMulch,
  kHostStudioOne,
  kHostVST3TestHost,
  kHostArdour,
  kHostRenoise,
  kHostOpenMPT,

  kNumHosts
};

// [any] Lower-cases the name (up to 255 characters) and tests the known keys
// as substrings in a fixed order; the first hit decides. No hit: kHostUnknown.
EHost LookUpHost(const char* inHost);

// [any] Copies the host's display name into rHostName (caller's buffer, 32
// bytes suffice); hosts without a name of their own give "Unknown".
void GetHostNameStr(EHost host, char* rHostName);

#pragma once
// The LV2 bundle's data files, written from a running plug-in instance so
// that ports, ranges, texts and presets have one source: the product.
//   manifest.ttl   the plug-in and each preset, with where they are described
//   <Name>.ttl     the plug-in: features, state interface, ports
//   presets.ttl    one pset:Preset per initialised preset (label = its name)

#include "IPlugLV2.h"

#include <string>

// The LV2 unit URI for a parameter label that names one ("dB", "Hz", "ms",
// "%", ...), or null.
const char* IPlugLV2_UnitForLabel(const char* label);

// [host] Writes the three files into dir (which must exist) for plug, whose
// binary in the bundle is binaryName and whose plug-in file is
// ttlName. Restores plug's presets one by one to read their values. False
// with a one-line reason in *pError when a file cannot be written.
bool IPlugLV2_WriteBundleData(IPlugLV2& plug, const char* uri, const std::string& dir,
                              const std::string& binaryName, const std::string& ttlName,
                              std::string* pError);

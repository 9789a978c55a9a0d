#pragma once
// The LV2 bundle's data files, written from a running plug-in instance so
// that ports, ranges, texts and presets have one source: the product.
//   manifest.ttl   the plug-in and each preset, with where they are described
//   <Name>.ttl     the plug-in: features, state interface, ports
//   presets.ttl    one pset:Preset per initialised preset (label = its name)
// and, when the bundle has one, the plug-in's X11 UI (<uri>#ui).

#include "IPlugLV2.h"

#include <string>

// The LV2 unit URI for a parameter label that names one ("dB", "Hz", "ms",
// "%", ...), or null.
const char* IPlugLV2_UnitForLabel(const char* label);

// [host] Writes the three files into dir (which must exist) for plug, whose
// binary in the bundle is binaryName and whose plug-in file is
// ttlName. Restores plug's presets one by one to read their values. False
// with a one-line reason in *pError when a file cannot be written.
// With uiBinaryName, the plug-in's X11 UI <uri>#ui in that binary is
// declared too (in the manifest and the plug-in file).
bool IPlugLV2_WriteBundleData(IPlugLV2& plug, const char* uri, const std::string& dir,
                              const std::string& binaryName, const std::string& ttlName,
                              std::string* pError, const std::string& uiBinaryName = "");

// The UI's manifest entry, and its description with the plug-in's ui:ui
// link: an X11 UI needing the host's idle interface, embedded in the host's
// parent window or shown in its own (show interface), not resizable by the
// user.
std::string IPlugLV2_UIManifestEntry(const char* uri, const std::string& uiBinaryName,
                                     const std::string& ttlName);
std::string IPlugLV2_UIDescription(const char* uri, const std::string& uiBinaryName);

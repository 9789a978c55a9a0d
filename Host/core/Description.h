// What a module described, as the stand-in host keeps it: a plain model that
// tests read and tools print.
#pragma once

#include "AAX.h"
#include "AAX_DescriptionTypes.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace aaxhost
{
struct DescribedProperties
{
  std::map<int32_t, int32_t> values;
  std::map<int32_t, std::vector<AAX_SPlugInIdentifierTriad>> idArrays;
  std::map<int32_t, const void*> pointers;

  // The numeric value, or fallback when absent.
  int32_t Value(int32_t id, int32_t fallback = 0) const;
  bool Has(int32_t id) const { return values.count(id) != 0; }
};

// One render-context field as registered: its slot, what it holds
// ("AudioIn", "PrivateData", "MIDINode", ...) and the call's other arguments.
struct DescribedField
{
  int32_t index = 0;
  std::string kind;
  std::vector<int64_t> numbers; // numeric arguments after the field index, in order
  std::string name;             // node or stem name; empty when the call has none
  std::vector<AAX_CTypeID> meterIDs;
};

struct DescribedProcessProc
{
  AAX_CSelector id = 0; // assigned by the host, from 1
  bool native = true;   // false: a TI procedure given by names
  AAX_CProcessProc process = nullptr;
  AAX_CInstanceInitProc instanceInit = nullptr;
  AAX_CBackgroundProc background = nullptr;
  std::string tiDLLFileName, tiProcess, tiInstanceInit, tiBackground;
  DescribedProperties properties;
};

struct DescribedComponent
{
  std::vector<DescribedField> fields; // in the order they were added
  std::vector<DescribedProcessProc> processProcs;

  // The first field registered at index, or null.
  const DescribedField* Field(int32_t index) const;
};

struct DescribedMeter
{
  AAX_CTypeID id = 0;
  std::string name;
  DescribedProperties properties;
};

struct DescribedEffect
{
  std::string id;
  std::vector<std::string> names;
  std::vector<uint32_t> categories;
  std::vector<std::pair<uint32_t, std::string>> categoryBypassParameters;
  std::map<AAX_CProcPtrID, void*> procPtrs; // creation procedures by ID
  std::vector<DescribedComponent> components;
  DescribedProperties properties;
  std::vector<std::pair<int32_t, std::string>> resources;
  std::vector<DescribedMeter> meters;
  std::vector<DescribedField> controlMIDINodes; // index holds the node ID
};

struct Description
{
  std::vector<std::string> manufacturerNames;
  std::vector<std::string> packageNames;
  bool hasPackageVersion = false;
  uint32_t packageVersion = 0;
  DescribedProperties properties;
  std::vector<DescribedEffect> effects;
};

// A four-character code as text ('Ovtn'); non-printable bytes as '.'.
std::string FourCC(uint32_t code);
// The name of a property number this host knows ("InputStemFormat"), or
// empty. [any]
std::string PropertyName(int32_t id);
// True for the properties whose values are four-character codes. [any]
bool IsFourCCProperty(int32_t id);
// A stem format spelled out: "stereo: layout 1, 2 channels", "none",
// "any". [any]
std::string StemFormatText(int32_t stem);
// An indented listing of everything described, one item per line; names
// with their lengths, properties with their names. [any]
void Print(std::ostream& os, const Description& description);
} // namespace aaxhost

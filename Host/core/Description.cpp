#include "Description.h"

#include "AAX.h"
#include "AAX_DescriptionTypes.h"

#include <cstdio>
#include <ostream>

namespace aaxhost
{
int32_t DescribedProperties::Value(int32_t id, int32_t fallback) const
{
  auto it = values.find(id);
  return it == values.end() ? fallback : it->second;
}

const DescribedField* DescribedComponent::Field(int32_t index) const
{
  for (const DescribedField& f : fields)
    if (f.index == index) return &f;
  return nullptr;
}

std::string FourCC(uint32_t code)
{
  std::string s(4, '.');
  for (int i = 0; i < 4; ++i)
  {
    const char c = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    if (c >= 0x20 && c < 0x7F) s[i] = c;
  }
  return s;
}

std::string PropertyName(int32_t id)
{
  switch (id)
  {
  case AAX_eProperty_ManufacturerID:
    return "ManufacturerID";
  case AAX_eProperty_ProductID:
    return "ProductID";
  case AAX_eProperty_PlugInID_Native:
    return "PlugInID_Native";
  case AAX_eProperty_PlugInID_AudioSuite:
    return "PlugInID_AudioSuite";
  case AAX_eProperty_PlugInID_TI:
    return "PlugInID_TI";
  case AAX_eProperty_NativeProcessProc:
    return "NativeProcessProc";
  case AAX_eProperty_NativeInstanceInitProc:
    return "NativeInstanceInitProc";
  case AAX_eProperty_NativeBackgroundProc:
    return "NativeBackgroundProc";
  case AAX_eProperty_TIDLLFileName:
    return "TIDLLFileName";
  case AAX_eProperty_TIProcessProc:
    return "TIProcessProc";
  case AAX_eProperty_TIInstanceInitProc:
    return "TIInstanceInitProc";
  case AAX_eProperty_TIBackgroundProc:
    return "TIBackgroundProc";
  case AAX_eProperty_InputStemFormat:
    return "InputStemFormat";
  case AAX_eProperty_OutputStemFormat:
    return "OutputStemFormat";
  case AAX_eProperty_AudioBufferLength:
    return "AudioBufferLength";
  default:
    return {};
  }
}

bool IsFourCCProperty(int32_t id)
{
  return id >= AAX_eProperty_ManufacturerID && id <= AAX_eProperty_PlugInID_TI;
}

std::string StemFormatText(int32_t stem)
{
  if (stem == AAX_eStemFormat_None) return "none";
  if (stem == AAX_eStemFormat_Any) return "any";
  const uint32_t s = static_cast<uint32_t>(stem);
  const unsigned channels = s & 0xFFFF;
  const std::string layout = "layout " + std::to_string(int16_t(s >> 16)) + ", " +
                             std::to_string(channels) + " channel" + (channels == 1 ? "" : "s");
  if (stem == AAX_STEM_FORMAT(0, 1)) return "mono: " + layout;
  if (stem == AAX_STEM_FORMAT(1, 2)) return "stereo: " + layout;
  return layout;
}

namespace
{
std::string Hex(uint32_t v)
{
  char buf[16];
  std::snprintf(buf, sizeof(buf), "0x%08X", v);
  return buf;
}

bool Printable(uint32_t code)
{
  for (int i = 0; i < 4; ++i)
  {
    const unsigned c = (code >> (8 * i)) & 0xFF;
    if (c < 0x20 || c >= 0x7F) return false;
  }
  return true;
}

std::string Labelled(int32_t id)
{
  const std::string name = PropertyName(id);
  return std::to_string(id) + (name.empty() ? "" : " " + name);
}

void PrintProperties(std::ostream& os, const DescribedProperties& p, const std::string& indent)
{
  for (const auto& v : p.values)
  {
    const uint32_t bits = uint32_t(v.second);
    os << indent << "property " << Labelled(v.first) << " = ";
    if (v.first == AAX_eProperty_InputStemFormat || v.first == AAX_eProperty_OutputStemFormat)
      os << Hex(bits) << " (" << StemFormatText(v.second) << ")\n";
    else if (IsFourCCProperty(v.first) || (Printable(bits) && bits > 0xFFFFFF))
      os << "'" << FourCC(bits) << "' (" << Hex(bits) << ")\n";
    else
      os << v.second << " (" << Hex(bits) << ")\n";
  }
  for (const auto& a : p.idArrays)
  {
    os << indent << "property " << Labelled(a.first) << " = [";
    for (size_t i = 0; i < a.second.size(); ++i)
      os << (i ? ", " : "") << "'" << FourCC(a.second[i].mManufacturerID) << "' '"
         << FourCC(a.second[i].mProductID) << "' '" << FourCC(a.second[i].mPlugInID) << "'";
    os << "]\n";
  }
  for (const auto& q : p.pointers)
    os << indent << "pointer property " << Labelled(q.first) << (q.second ? " set" : " null")
       << "\n";
}

// A module registers one name per display length it supports, longest
// first; the same text may come twice when it already fits a shorter one.
void PrintNames(std::ostream& os, const std::string& what, const std::vector<std::string>& names)
{
  for (size_t i = 0; i < names.size(); ++i)
  {
    os << what;
    if (names.size() > 1) os << " " << i + 1 << " of " << names.size();
    os << " \"" << names[i] << "\" (" << names[i].size() << " characters)\n";
  }
}

void PrintField(std::ostream& os, const DescribedField& f, const std::string& indent)
{
  os << indent << "field " << f.index << ": " << f.kind;
  for (int64_t n : f.numbers)
    os << " " << n;
  if (!f.name.empty()) os << " \"" << f.name << "\"";
  for (AAX_CTypeID m : f.meterIDs)
    os << " '" << FourCC(m) << "'";
  os << "\n";
}
} // namespace

void Print(std::ostream& os, const Description& d)
{
  PrintNames(os, "manufacturer", d.manufacturerNames);
  PrintNames(os, "package name", d.packageNames);
  if (d.hasPackageVersion) os << "package version " << Hex(d.packageVersion) << "\n";
  PrintProperties(os, d.properties, "");
  for (const DescribedEffect& e : d.effects)
  {
    os << "effect \"" << e.id << "\"\n";
    PrintNames(os, "  name", e.names);
    for (uint32_t c : e.categories)
      os << "  category " << c << " (" << Hex(c) << ")\n";
    for (const auto& b : e.categoryBypassParameters)
      os << "  category bypass " << b.first << " \"" << b.second << "\"\n";
    for (const auto& p : e.procPtrs)
      os << "  creation procedure " << p.first << "\n";
    for (const auto& r : e.resources)
      os << "  resource " << r.first << " \"" << r.second << "\"\n";
    for (const DescribedField& m : e.controlMIDINodes)
      PrintField(os, m, "  control MIDI node ");
    for (const DescribedMeter& m : e.meters)
    {
      os << "  meter '" << FourCC(m.id) << "' \"" << m.name << "\"\n";
      PrintProperties(os, m.properties, "    ");
    }
    PrintProperties(os, e.properties, "  ");
    for (size_t i = 0; i < e.components.size(); ++i)
    {
      const DescribedComponent& c = e.components[i];
      os << "  component " << i << "\n";
      for (const DescribedField& f : c.fields)
        PrintField(os, f, "    ");
      for (const DescribedProcessProc& p : c.processProcs)
      {
        os << "    process procedure " << p.id << (p.native ? " native" : " TI");
        if (!p.native) os << " \"" << p.tiDLLFileName << "\" \"" << p.tiProcess << "\"";
        os << "\n";
        PrintProperties(os, p.properties, "      ");
      }
    }
  }
}
} // namespace aaxhost

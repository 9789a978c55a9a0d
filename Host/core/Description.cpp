#include "Description.h"

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

namespace
{
std::string Hex(uint32_t v)
{
  char buf[16];
  std::snprintf(buf, sizeof(buf), "0x%08X", v);
  return buf;
}

void PrintProperties(std::ostream& os, const DescribedProperties& p, const std::string& indent)
{
  for (const auto& v : p.values)
    os << indent << "property " << v.first << " = " << v.second << " (" << Hex(uint32_t(v.second))
       << " '" << FourCC(uint32_t(v.second)) << "')\n";
  for (const auto& a : p.idArrays)
  {
    os << indent << "property " << a.first << " = [";
    for (size_t i = 0; i < a.second.size(); ++i)
      os << (i ? ", " : "") << "'" << FourCC(a.second[i].mManufacturerID) << "' '"
         << FourCC(a.second[i].mProductID) << "' '" << FourCC(a.second[i].mPlugInID) << "'";
    os << "]\n";
  }
  for (const auto& q : p.pointers)
    os << indent << "pointer property " << q.first << (q.second ? " set" : " null") << "\n";
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
  for (const std::string& n : d.manufacturerNames)
    os << "manufacturer \"" << n << "\"\n";
  for (const std::string& n : d.packageNames)
    os << "package name \"" << n << "\"\n";
  if (d.hasPackageVersion) os << "package version " << Hex(d.packageVersion) << "\n";
  PrintProperties(os, d.properties, "");
  for (const DescribedEffect& e : d.effects)
  {
    os << "effect \"" << e.id << "\"\n";
    for (const std::string& n : e.names)
      os << "  name \"" << n << "\"\n";
    for (uint32_t c : e.categories)
      os << "  category " << c << "\n";
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

#include "IPlugLV2_TTL.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace
{
const char* const kPrefixes = "@prefix atom:  <http://lv2plug.in/ns/ext/atom#> .\n"
                              "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
                              "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
                              "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
                              "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
                              "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
                              "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
                              "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
                              "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                              "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                              "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                              "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n\n";

// A Turtle decimal literal: always with a point, never an exponent, so its
// type is xsd:decimal whatever the value. Ports hold floats, so nine
// significant decimals are plenty.
std::string Num(double v)
{
  if (!std::isfinite(v)) v = 0.0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9f", v);
  std::string s(buf);
  while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.')
    s.pop_back();
  if (s == "-0.0") s = "0.0";
  return s;
}

// A Turtle string literal.
std::string Str(const char* text)
{
  std::string s = "\"";
  for (const char* c = text ? text : ""; *c; ++c)
  {
    switch (*c)
    {
    case '"':
      s += "\\\"";
      break;
    case '\\':
      s += "\\\\";
      break;
    case '\n':
      s += "\\n";
      break;
    case '\r':
      s += "\\r";
      break;
    case '\t':
      s += "\\t";
      break;
    default:
      s += *c;
    }
  }
  return s + "\"";
}

// One symbol per parameter, unique within the plug-in (a repeated one gets
// "_2", "_3", ...), never clashing with the audio and latency symbols.
std::vector<std::string> Symbols(IPlugLV2& plug, const std::set<std::string>& reserved)
{
  std::set<std::string> used = reserved;
  std::vector<std::string> out;
  for (int i = 0; i < plug.NParams(); ++i)
  {
    char sym[IParam::kMaxNameLen + 4];
    IPlugLV2::PortSymbol(plug.GetParam(i)->GetNameForHost(), sym, sizeof sym);
    std::string s = sym;
    for (int n = 2; used.count(s); ++n)
      s = std::string(sym) + "_" + std::to_string(n);
    used.insert(s);
    out.push_back(s);
  }
  return out;
}

bool WriteFile(const std::string& path, const std::string& text, std::string* pError)
{
  // Written beside and renamed, so a failed run leaves no half file.
  const std::string tmp = path + ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    f << text;
    f.close();
    if (!f)
    {
      std::remove(tmp.c_str());
      if (pError) *pError = "cannot write " + path;
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0)
  {
    std::remove(tmp.c_str());
    if (pError) *pError = "cannot write " + path;
    return false;
  }
  return true;
}

std::string AudioSymbol(bool input, int ch)
{
  return (input ? "in_" : "out_") + std::to_string(ch + 1);
}

std::string PluginFile(IPlugLV2& plug, const char* uri, const std::vector<std::string>& syms)
{
  std::ostringstream o;
  int major = 0, minor = 0, rev = 0;
  GetVersionParts(plug.GetEffectVersion(false), &major, &minor, &rev);
  o << kPrefixes;
  o << "<" << uri << ">\n"
    << "\ta lv2:Plugin , lv2:UtilityPlugin , doap:Project ;\n"
    << "\tdoap:name " << Str(plug.GetEffectName()) << " ;\n"
    << "\tdoap:maintainer [ foaf:name " << Str(plug.GetMfrName()) << " ] ;\n"
    << "\tlv2:minorVersion " << minor << " ;\n"
    << "\tlv2:microVersion " << rev << " ;\n"
    << "\tlv2:optionalFeature lv2:hardRTCapable , urid:map , opts:options ;\n"
    << "\topts:supportedOption bufsz:maxBlockLength ;\n"
    << "\tlv2:extensionData state:interface ;\n"
    << "\tlv2:port ";
  int index = 0;
  auto next = [&](bool last) { o << (last ? " .\n" : " , "); };
  for (int i = 0; i < plug.NParams(); ++i, ++index)
  {
    const IParam& p = *plug.GetParam(i);
    o << "[\n\t\ta lv2:InputPort , lv2:ControlPort ;\n"
      << "\t\tlv2:index " << index << " ;\n"
      << "\t\tlv2:symbol " << Str(syms[static_cast<size_t>(i)].c_str()) << " ;\n"
      << "\t\tlv2:name " << Str(p.GetNameForHost()) << " ;\n"
      << "\t\tlv2:default " << Num(p.GetDefault()) << " ;\n"
      << "\t\tlv2:minimum " << Num(p.GetMin()) << " ;\n"
      << "\t\tlv2:maximum " << Num(p.GetMax());
    switch (p.Type())
    {
    case IParam::kTypeBool:
      o << " ;\n\t\tlv2:portProperty lv2:toggled";
      break;
    case IParam::kTypeInt:
      o << " ;\n\t\tlv2:portProperty lv2:integer";
      if (p.GetNDisplayTexts()) o << " , lv2:enumeration";
      break;
    case IParam::kTypeEnum:
      o << " ;\n\t\tlv2:portProperty lv2:integer , lv2:enumeration";
      break;
    default:
      break;
    }
    // The label is a unit only when it names one; "Swap" is not a unit.
    if (const char* unit = IPlugLV2_UnitForLabel(p.GetLabelForHost()))
      o << " ;\n\t\tunits:unit " << unit;
    for (int t = 0, n = p.GetNDisplayTexts(); t < n; ++t)
    {
      int value = 0;
      const char* text = p.GetDisplayTextAtIdx(t, &value);
      o << " ;\n\t\tlv2:scalePoint [ rdfs:label " << Str(text) << " ; rdf:value " << Num(value)
        << " ]";
    }
    o << "\n\t]";
    next(false);
  }
  for (int c = 0; c < plug.NInChannels(); ++c, ++index)
  {
    o << "[\n\t\ta lv2:InputPort , lv2:AudioPort ;\n\t\tlv2:index " << index
      << " ;\n\t\tlv2:symbol " << Str(AudioSymbol(true, c).c_str()) << " ;\n\t\tlv2:name "
      << Str(("Input " + std::to_string(c + 1)).c_str()) << "\n\t]";
    next(false);
  }
  for (int c = 0; c < plug.NOutChannels(); ++c, ++index)
  {
    o << "[\n\t\ta lv2:OutputPort , lv2:AudioPort ;\n\t\tlv2:index " << index
      << " ;\n\t\tlv2:symbol " << Str(AudioSymbol(false, c).c_str()) << " ;\n\t\tlv2:name "
      << Str(("Output " + std::to_string(c + 1)).c_str()) << "\n\t]";
    next(false);
  }
  o << "[\n\t\ta lv2:OutputPort , lv2:ControlPort ;\n\t\tlv2:index " << index
    << " ;\n\t\tlv2:symbol \"latency\" ;\n\t\tlv2:name \"Latency\" ;\n"
    << "\t\tlv2:designation lv2:latency ;\n"
    << "\t\tlv2:portProperty lv2:integer , pprops:notOnGUI ;\n"
    << "\t\tlv2:minimum 0.0 ;\n\t\tlv2:maximum 192000.0 ;\n"
    << "\t\tunits:unit units:frame\n\t]";
  next(true);
  return o.str();
}

std::string PresetURI(const char* uri, int idx)
{
  return std::string(uri) + "#preset" + std::to_string(idx + 1);
}
} // namespace

const char* IPlugLV2_UnitForLabel(const char* label)
{
  static const struct
  {
    const char* label;
    const char* unit;
  } kUnits[] = {{"dB", "units:db"},
                {"Hz", "units:hz"},
                {"kHz", "units:khz"},
                {"MHz", "units:mhz"},
                {"ms", "units:ms"},
                {"s", "units:s"},
                {"min", "units:min"},
                {"%", "units:pc"},
                {"bpm", "units:bpm"},
                {"BPM", "units:bpm"},
                {"cents", "units:cent"},
                {"cent", "units:cent"},
                {"st", "units:semitone12TET"},
                {"semitones", "units:semitone12TET"},
                {"oct", "units:oct"},
                {"deg", "units:degree"},
                {"\xC2\xB0", "units:degree"},
                {"samples", "units:frame"},
                {"m", "units:m"},
                {"cm", "units:cm"},
                {"mm", "units:mm"},
                {"km", "units:km"},
                {"bars", "units:bar"},
                {"beats", "units:beat"}};
  if (!label || !*label) return nullptr;
  for (const auto& u : kUnits)
    if (std::strcmp(label, u.label) == 0) return u.unit;
  return nullptr;
}

bool IPlugLV2_WriteBundleData(IPlugLV2& plug, const char* uri, const std::string& dir,
                              const std::string& binaryName, const std::string& ttlName,
                              std::string* pError)
{
  std::set<std::string> reserved = {"latency"};
  for (int c = 0; c < plug.NInChannels(); ++c)
    reserved.insert(AudioSymbol(true, c));
  for (int c = 0; c < plug.NOutChannels(); ++c)
    reserved.insert(AudioSymbol(false, c));
  const std::vector<std::string> syms = Symbols(plug, reserved);

  std::ostringstream manifest, presets;
  manifest << kPrefixes << "<" << uri << ">\n\ta lv2:Plugin ;\n\tlv2:binary <" << binaryName
           << "> ;\n\trdfs:seeAlso <" << ttlName << "> .\n";
  presets << kPrefixes;
  for (int i = 0; i < plug.NPresets(); ++i)
  {
    if (!plug.IsPresetInitialized(i) || !plug.RestorePreset(i)) continue;
    const std::string puri = PresetURI(uri, i);
    manifest << "\n<" << puri << ">\n\ta pset:Preset ;\n\tlv2:appliesTo <" << uri
             << "> ;\n\trdfs:seeAlso <presets.ttl> .\n";
    presets << "<" << puri << ">\n\ta pset:Preset ;\n\tlv2:appliesTo <" << uri
            << "> ;\n\trdfs:label " << Str(plug.GetPresetName(i)) << " ;\n\tlv2:port ";
    for (int p = 0; p < plug.NParams(); ++p)
      presets << (p ? " , " : "") << "[\n\t\tlv2:symbol "
              << Str(syms[static_cast<size_t>(p)].c_str()) << " ;\n\t\tpset:value "
              << Num(static_cast<float>(plug.GetParam(p)->Value())) << "\n\t]";
    presets << " .\n\n";
  }
  return WriteFile(dir + "/manifest.ttl", manifest.str(), pError) &&
         WriteFile(dir + "/" + ttlName, PluginFile(plug, uri, syms), pError) &&
         WriteFile(dir + "/presets.ttl", presets.str(), pError);
}

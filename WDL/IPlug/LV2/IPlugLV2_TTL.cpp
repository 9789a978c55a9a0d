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
                              "@prefix pg:    <http://lv2plug.in/ns/ext/port-groups#> .\n"
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

// The stereo (or mono) group of a plug-in's audio inputs or outputs, and
// the designation of channel ch within it; no group for other counts.
const char* GroupClass(int nChannels)
{
  return nChannels == 2 ? "pg:StereoGroup" : nChannels == 1 ? "pg:MonoGroup" : nullptr;
}

const char* ChannelDesignation(int nChannels, int ch)
{
  if (nChannels == 1) return "pg:center";
  return ch == 0 ? "pg:left" : "pg:right";
}

const char* ChannelName(int nChannels, int ch)
{
  if (nChannels == 1) return "";
  return ch == 0 ? "left " : "right ";
}

std::string GroupURI(const char* uri, bool input)
{
  return std::string(uri) + (input ? "#in" : "#out");
}

std::string AudioPort(const char* uri, int index, bool input, int nChannels, int ch)
{
  std::ostringstream o;
  const std::string name = (input ? "Input " : "Output ") + std::to_string(ch + 1);
  const std::string comment = std::string("The ") + ChannelName(nChannels, ch) +
                              (input ? "channel in" : "channel out");
  o << "[\n\t\ta " << (input ? "lv2:InputPort" : "lv2:OutputPort")
    << " , lv2:AudioPort ;\n\t\tlv2:index " << index << " ;\n\t\tlv2:symbol "
    << Str(AudioSymbol(input, ch).c_str()) << " ;\n\t\tlv2:name " << Str(name.c_str())
    << " ;\n\t\trdfs:comment " << Str(comment.c_str());
  if (GroupClass(nChannels))
    o << " ;\n\t\tpg:group <" << GroupURI(uri, input) << "> ;\n\t\tlv2:designation "
      << ChannelDesignation(nChannels, ch);
  o << "\n\t]";
  return o.str();
}

// The groups themselves: the main input, and the main output fed by it.
std::string Groups(IPlugLV2& plug, const char* uri)
{
  std::ostringstream o;
  for (bool input : {true, false})
  {
    const int n = input ? plug.NInChannels() : plug.NOutChannels();
    if (!GroupClass(n)) continue;
    o << "\n<" << GroupURI(uri, input) << ">\n\ta " << GroupClass(n) << " , "
      << (input ? "pg:InputGroup" : "pg:OutputGroup") << " ;\n\tlv2:symbol "
      << Str(input ? "in" : "out") << " ;\n\trdfs:label " << Str(input ? "Input" : "Output");
    if (!input && GroupClass(plug.NInChannels()))
      o << " ;\n\tpg:source <" << GroupURI(uri, true) << ">";
    o << " .\n";
  }
  return o.str();
}

std::string PluginFile(IPlugLV2& plug, const char* uri, const std::vector<std::string>& syms,
                       const IPlugLV2Metadata& meta)
{
  std::ostringstream o;
  o << kPrefixes;
  o << "<" << uri << ">\n"
    << "\ta lv2:Plugin , lv2:UtilityPlugin , doap:Project ;\n"
    << "\tdoap:name " << Str(plug.GetEffectName()) << " ;\n";
  if (meta.shortDescription) o << "\tdoap:shortdesc " << Str(meta.shortDescription) << " ;\n";
  if (meta.description) o << "\trdfs:comment " << Str(meta.description) << " ;\n";
  if (meta.licenseURI) o << "\tdoap:license <" << meta.licenseURI << "> ;\n";
  o << "\tdoap:maintainer [\n\t\ta foaf:Person ;\n\t\tfoaf:name " << Str(plug.GetMfrName());
  if (meta.maintainerEmail) o << " ;\n\t\tfoaf:mbox <mailto:" << meta.maintainerEmail << ">";
  if (meta.maintainerHomepage) o << " ;\n\t\tfoaf:homepage <" << meta.maintainerHomepage << ">";
  o << "\n\t] ;\n"
    << "\tlv2:minorVersion " << meta.minorVersion << " ;\n"
    << "\tlv2:microVersion " << meta.microVersion << " ;\n"
    << "\tlv2:optionalFeature lv2:hardRTCapable , urid:map , opts:options ;\n"
    << "\topts:supportedOption bufsz:maxBlockLength ;\n"
    << "\tlv2:extensionData state:interface ;\n";
  if (GroupClass(plug.NInChannels())) o << "\tpg:mainInput <" << GroupURI(uri, true) << "> ;\n";
  if (GroupClass(plug.NOutChannels()))
    o << "\tpg:mainOutput <" << GroupURI(uri, false) << "> ;\n";
  o << "\tlv2:port ";
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
    if (i < meta.nParamComments && meta.paramComments && meta.paramComments[i])
      o << " ;\n\t\trdfs:comment " << Str(meta.paramComments[i]);
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
    o << AudioPort(uri, index, true, plug.NInChannels(), c);
    next(false);
  }
  for (int c = 0; c < plug.NOutChannels(); ++c, ++index)
  {
    o << AudioPort(uri, index, false, plug.NOutChannels(), c);
    next(false);
  }
  o << "[\n\t\ta lv2:OutputPort , lv2:ControlPort ;\n\t\tlv2:index " << index
    << " ;\n\t\tlv2:symbol \"latency\" ;\n\t\tlv2:name \"Latency\" ;\n"
    << "\t\trdfs:comment \"The delay the plug-in adds, in frames\" ;\n"
    << "\t\tlv2:designation lv2:latency ;\n"
    << "\t\tlv2:portProperty lv2:integer , pprops:notOnGUI ;\n"
    << "\t\tlv2:minimum 0.0 ;\n\t\tlv2:maximum 192000.0 ;\n"
    << "\t\tunits:unit units:frame\n\t]";
  next(true);
  o << Groups(plug, uri);
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

std::string IPlugLV2_UIManifestEntry(const char* uri, const std::string& uiBinaryName,
                                     const std::string& ttlName)
{
  return "\n<" + std::string(uri) + "#ui>\n\ta <http://lv2plug.in/ns/extensions/ui#X11UI> ;\n" +
         "\tlv2:binary <" + uiBinaryName + "> ;\n\trdfs:seeAlso <" + ttlName + "> .\n";
}

std::string IPlugLV2_UIDescription(const char* uri, const std::string& uiBinaryName)
{
  const std::string ui = std::string(uri) + "#ui";
  const std::string ns = "http://lv2plug.in/ns/extensions/ui#";
  return "\n<" + std::string(uri) + "> <" + ns + "ui> <" + ui + "> .\n\n<" + ui + ">\n\ta <" + ns +
         "X11UI> ;\n\tlv2:binary <" + uiBinaryName + "> ;\n\tlv2:requiredFeature <" + ns +
         "idleInterface> ;\n\tlv2:optionalFeature <" + ns + "parent> , <" + ns +
         "noUserResize> , <" + ns + "touch> ;\n\tlv2:extensionData <" + ns +
         "idleInterface> , <" + ns + "showInterface> .\n";
}

bool IPlugLV2_WriteBundleData(IPlugLV2& plug, const char* uri, const std::string& dir,
                              const std::string& binaryName, const std::string& ttlName,
                              std::string* pError, const std::string& uiBinaryName)
{
  // Group symbols share the port symbols' namespace.
  std::set<std::string> reserved = {"latency", "in", "out"};
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
  std::string pluginFile = PluginFile(plug, uri, syms, IPlugLV2_Metadata());
  if (!uiBinaryName.empty())
  {
    manifest << IPlugLV2_UIManifestEntry(uri, uiBinaryName, ttlName);
    pluginFile += IPlugLV2_UIDescription(uri, uiBinaryName);
  }
  return WriteFile(dir + "/manifest.ttl", manifest.str(), pError) &&
         WriteFile(dir + "/" + ttlName, pluginFile, pError) &&
         WriteFile(dir + "/presets.ttl", presets.str(), pError);
}

#include "AudioMetadata.h"

#include "AudioHeader.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace aaxtool
{
namespace
{
// libsndfile refuses structures of 16 KiB of history or more.
typedef SF_BROADCAST_INFO_VAR(16000) BigBroadcast;
typedef SF_CART_INFO_VAR(16000) BigCart;

const char* const kTextNames[] = {"",        "title", "copyright", "software", "artist",
                                  "comment", "date",  "album",     "license",  "track number",
                                  "",        "",      "",          "",         "",
                                  "",        "genre"};

std::string TextName(int type)
{
  return type > 0 && type <= SF_STR_LAST ? kTextNames[type] : "text";
}

bool IsRiff(int major)
{
  return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
}

// Chunks libsndfile writes itself, that describe the old samples (PEAK and
// levl would be wrong after processing), or that its calls carry.
bool HandledChunk(const std::string& id)
{
  static const char* const kIds[] = {"RIFF", "RF64", "fmt ", "fact", "data", "ds64",
                                     "JUNK", "junk", "FLLR", "pad ", "PAD ", "PEAK",
                                     "levl", "cue ", "bext", "smpl", "inst", "cart"};
  return std::any_of(std::begin(kIds), std::end(kIds), [&](const char* k) { return id == k; });
}

uint32_t Le32(const char* p)
{
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return u[0] | (u[1] << 8) | (u[2] << 16) | (uint32_t(u[3]) << 24);
}

void PutLe32(std::vector<char>& out, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

// INFO fields libsndfile maps to its text fields; any other is lost when the
// LIST chunk cannot go verbatim.
void CollectInfoFields(const AudioMetadata::Chunk& list, std::vector<std::string>& unmapped)
{
  static const char* const kMapped[] = {"INAM", "ICOP", "ISFT", "IART", "ICMT",
                                        "ICRD", "IPRD", "IGNR", "ITRK", "IPRT"};
  const std::vector<char>& d = list.data;
  for (size_t at = 4; at + 8 <= d.size();)
  {
    const std::string id(d.data() + at, 4);
    const uint32_t size = Le32(d.data() + at + 4);
    if (std::none_of(std::begin(kMapped), std::end(kMapped),
                     [&](const char* k) { return id == k; }))
      unmapped.push_back("INFO " + id);
    at += 8 + size + (size & 1);
  }
}

// FLAC metadata blocks libsndfile does not read: Vorbis comments beyond its
// text fields, pictures, cue sheets, application blocks.
void CollectFlacLosses(const std::string& path, std::vector<std::string>& lost)
{
  std::ifstream f(path, std::ios::binary);
  char head[10];
  if (!f.read(head, 4)) return;
  if (std::memcmp(head, "ID3", 3) == 0) // an ID3v2 tag before the stream
  {
    if (!f.read(head + 4, 6)) return;
    const auto* u = reinterpret_cast<const unsigned char*>(head);
    const uint32_t size = (u[6] << 21) | (u[7] << 14) | (u[8] << 7) | u[9];
    f.seekg(10 + size);
    lost.push_back("ID3 tag");
    if (!f.read(head, 4)) return;
  }
  if (std::memcmp(head, "fLaC", 4) != 0) return;
  static const char* const kMapped[] = {"title",       "copyright", "software", "artist",
                                        "comment",     "date",      "album",    "license",
                                        "tracknumber", "genre",     "encoder",  "description"};
  for (bool last = false; !last;)
  {
    unsigned char h[4];
    if (!f.read(reinterpret_cast<char*>(h), 4)) return;
    last = h[0] & 0x80;
    const int type = h[0] & 0x7f;
    const uint32_t size = (h[1] << 16) | (h[2] << 8) | h[3];
    if (type == 2) lost.push_back("FLAC application block");
    if (type == 5) lost.push_back("FLAC cue sheet");
    if (type == 6) lost.push_back("FLAC picture");
    if (type != 4)
    {
      f.seekg(size, std::ios::cur);
      continue;
    }
    std::vector<char> block(size);
    if (!f.read(block.data(), size)) return;
    size_t at = 0;
    auto take = [&](uint32_t& v)
    {
      if (at + 4 > block.size()) return false;
      v = Le32(block.data() + at);
      at += 4;
      return true;
    };
    uint32_t len = 0, count = 0;
    if (!take(len) || (at += len) > block.size() || !take(count)) return;
    for (uint32_t i = 0; i < count && take(len) && at + len <= block.size(); ++i, at += len)
    {
      std::string key(block.data() + at, len);
      key = key.substr(0, key.find('='));
      std::string lower = key;
      for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (std::none_of(std::begin(kMapped), std::end(kMapped),
                       [&](const char* k) { return lower == k; }))
        lost.push_back("Vorbis comment " + key);
    }
  }
}

// cue names as a LIST/adtl chunk of labl entries, for WAV outputs.
std::vector<char> LabelList(const std::vector<SF_CUE_POINT>& cues)
{
  std::vector<char> out{'a', 'd', 't', 'l'};
  for (const SF_CUE_POINT& c : cues)
  {
    const size_t n = strnlen(c.name, sizeof c.name);
    if (n == 0) continue;
    out.insert(out.end(), {'l', 'a', 'b', 'l'});
    PutLe32(out, static_cast<uint32_t>(4 + n + 1));
    PutLe32(out, static_cast<uint32_t>(c.indx));
    out.insert(out.end(), c.name, c.name + n);
    out.push_back('\0');
    if ((n + 1) & 1) out.push_back('\0');
  }
  return out.size() > 4 ? out : std::vector<char>();
}

// libsndfile pads a chunk it is given to a multiple of four bytes and
// declares the padded size; in a LIST two bytes of padding would read as
// the start of another entry. The last entry's text takes two more NULs
// instead, which keeps every entry whole.
void FitList(std::vector<char>& data)
{
  if (data.size() % 4 != 2) return;
  size_t last = 0;
  for (size_t at = 4; at + 8 <= data.size();)
  {
    last = at;
    const uint32_t size = Le32(data.data() + at + 4);
    at += 8 + size + (size & 1);
  }
  if (last == 0) return;
  const uint32_t size = Le32(data.data() + last + 4);
  if (last + 8 + size + (size & 1) != data.size()) return;
  data.insert(data.begin() + static_cast<long>(last + 8 + size), 2, '\0');
  const uint32_t grown = size + 2;
  for (int i = 0; i < 4; ++i)
    data[last + 4 + size_t(i)] = static_cast<char>((grown >> (8 * i)) & 0xff);
}

bool SetChunk(SNDFILE* out, const std::string& id, std::vector<char> data)
{
  if (id == "LIST") FitList(data);
  SF_CHUNK_INFO info{};
  std::memcpy(info.id, id.data(), 4);
  info.id_size = 4;
  info.datalen = static_cast<unsigned>(data.size());
  info.data = const_cast<char*>(data.data());
  return sf_set_chunk(out, &info) == SF_ERR_NO_ERROR;
}
} // namespace

AudioMetadata ReadMetadata(SNDFILE* in, const std::string& path)
{
  AudioMetadata m;
  SF_INFO info{};
  sf_command(in, SFC_GET_CURRENT_SF_INFO, &info, sizeof info);
  m.major = info.format & SF_FORMAT_TYPEMASK;
  for (int t = SF_STR_FIRST; t <= SF_STR_LAST; ++t)
    if (const char* s = sf_get_string(in, t))
      if (*s) m.texts.push_back({t, s});

  uint32_t count = 0;
  if (sf_command(in, SFC_GET_CUE_COUNT, &count, sizeof count) && count > 0)
  {
    std::vector<char> buf(sizeof(uint32_t) + count * sizeof(SF_CUE_POINT));
    if (sf_command(in, SFC_GET_CUE, buf.data(), static_cast<int>(buf.size())))
    {
      count = std::min(count, Le32(buf.data()));
      m.cues.resize(count);
      std::memcpy(m.cues.data(), buf.data() + sizeof(uint32_t), count * sizeof(SF_CUE_POINT));
    }
  }
  BigBroadcast bext{};
  if (sf_command(in, SFC_GET_BROADCAST_INFO, &bext, sizeof bext))
    m.broadcast.assign(reinterpret_cast<char*>(&bext), reinterpret_cast<char*>(&bext + 1));
  BigCart cart{};
  if (sf_command(in, SFC_GET_CART_INFO, &cart, sizeof cart))
    m.cart.assign(reinterpret_cast<char*>(&cart), reinterpret_cast<char*>(&cart + 1));
  m.hasInstrument = sf_command(in, SFC_GET_INSTRUMENT, &m.instrument, sizeof m.instrument);
  std::vector<int> map(static_cast<size_t>(std::max(info.channels, 1)));
  if (sf_command(in, SFC_GET_CHANNEL_MAP_INFO, map.data(),
                 static_cast<int>(map.size() * sizeof(int))))
    m.channelMap = map;

  if (IsRiff(m.major))
  {
    for (FileChunk& c : ListChunks(in))
      if (!HandledChunk(c.id)) m.chunks.push_back({c.id, std::move(c.data)});
  }
  if (m.major == SF_FORMAT_FLAC) CollectFlacLosses(path, m.lost);
  return m;
}

std::vector<std::string> WriteMetadata(SNDFILE* out, int outMajor, const AudioMetadata& m)
{
  std::vector<std::string> notKept = m.lost;
  // Between WAV files the chunks go verbatim (INFO lists keep every field);
  // otherwise through libsndfile's text fields, and labels as a new list.
  const bool verbatim = IsRiff(m.major) && IsRiff(outMajor);
  bool hasInfo = false, hasLabels = false;
  for (const AudioMetadata::Chunk& c : m.chunks)
  {
    const std::string list =
        c.id == "LIST" && c.data.size() >= 4 ? std::string(c.data.data(), 4) : "";
    hasInfo |= list == "INFO";
    hasLabels |= list == "adtl";
    if (verbatim)
    {
      if (!SetChunk(out, c.id, c.data)) notKept.push_back(c.id + " chunk");
    }
    else if (list == "INFO")
      CollectInfoFields(c, notKept);
    else if (list != "adtl")
      notKept.push_back((list.empty() ? c.id : "LIST/" + list) + " chunk");
  }
  if (!(verbatim && hasInfo))
    for (const AudioMetadata::Text& t : m.texts)
      if (sf_set_string(out, t.type, t.value.c_str()) != SF_ERR_NO_ERROR)
        notKept.push_back(TextName(t.type));

  // libsndfile accepts cues for any format but writes them only here.
  const bool holdsCues = IsRiff(outMajor) || outMajor == SF_FORMAT_AIFF;
  if (!m.cues.empty() && !holdsCues)
    notKept.push_back(hasLabels ? "cue points with their labels" : "cue points");
  else if (!m.cues.empty())
  {
    std::vector<char> buf;
    PutLe32(buf, static_cast<uint32_t>(m.cues.size()));
    const char* p = reinterpret_cast<const char*>(m.cues.data());
    buf.insert(buf.end(), p, p + m.cues.size() * sizeof(SF_CUE_POINT));
    if (!sf_command(out, SFC_SET_CUE, buf.data(), static_cast<int>(buf.size())))
      notKept.push_back("cue points");
    else if (!verbatim && IsRiff(outMajor))
    {
      const std::vector<char> labels = LabelList(m.cues);
      if (!labels.empty() && !SetChunk(out, "LIST", labels)) notKept.push_back("cue labels");
    }
  }
  if (!m.broadcast.empty() &&
      !sf_command(out, SFC_SET_BROADCAST_INFO, const_cast<char*>(m.broadcast.data()),
                  static_cast<int>(m.broadcast.size())))
    notKept.push_back("bext");
  if (!m.cart.empty() && !sf_command(out, SFC_SET_CART_INFO, const_cast<char*>(m.cart.data()),
                                     static_cast<int>(m.cart.size())))
    notKept.push_back("cart");
  if (m.hasInstrument &&
      !sf_command(out, SFC_SET_INSTRUMENT, const_cast<SF_INSTRUMENT*>(&m.instrument),
                  sizeof m.instrument))
    notKept.push_back("instrument");
  // A channel map is the layout of the input's channels; it only applies
  // while the output has as many (the caller drops it otherwise).
  if (!m.channelMap.empty())
    sf_command(out, SFC_SET_CHANNEL_MAP_INFO, const_cast<int*>(m.channelMap.data()),
               static_cast<int>(m.channelMap.size() * sizeof(int)));
  return notKept;
}

std::string JoinNames(const std::vector<std::string>& names)
{
  std::string out;
  for (size_t i = 0; i < names.size(); ++i)
    out += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return out;
}
} // namespace aaxtool

// Feeds arbitrary bytes, as a whole chunk record, to the chunk data reader;
// searches every name it found; writes what it read into a record of exactly
// the computed size; and reads that back, which must give the same entries
// (those of no type are not written, so they are left out of the comparison).

#include "AAX_CChunkDataParser.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
std::vector<AAX_CChunkDataParser::DataValue> Typed(const AAX_CChunkDataParser& p)
{
  std::vector<AAX_CChunkDataParser::DataValue> out;
  for (const auto& v : p.Entries())
    if (v.mDataType != AAX_ChunkDataParserDefs::NO_TYPE) out.push_back(v);
  return out;
}

bool Same(const AAX_CChunkDataParser::DataValue& a, const AAX_CChunkDataParser::DataValue& b)
{
  return a.mDataType == b.mDataType && a.mDataName == b.mDataName &&
         a.mIntValue == b.mIntValue && a.mStringValue.StdString() == b.mStringValue.StdString();
}

void SearchEveryName(const AAX_CChunkDataParser& p)
{
  for (const auto& v : p.Entries())
  {
    const char* name = v.mDataName.Get();
    if (p.FindName(v.mDataName) < 0) std::abort(); // every loaded name is found
    double d;
    float f;
    int32_t l;
    int16_t s;
    AAX_CString text;
    p.FindDouble(name, &d);
    p.FindFloat(name, &f);
    p.FindInt32(name, &l);
    p.FindInt16(name, &s);
    p.FindString(name, &text);
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  // An exact heap copy, so any read past the record is caught.
  std::unique_ptr<uint8_t[]> record(new uint8_t[size ? size : 1]);
  if (size) std::memcpy(record.get(), data, size);
  const auto* chunk = reinterpret_cast<const AAX_SPlugInChunk*>(record.get());

  AAX_CChunkDataParser first;
  first.LoadChunk(chunk, size);
  SearchEveryName(first);

  const int32_t dataSize = first.GetChunkDataSize();
  const size_t written = kAAX_SPlugInChunkHeaderSize + static_cast<size_t>(dataSize);
  std::unique_ptr<uint8_t[]> out(new uint8_t[written]());
  auto* outChunk = reinterpret_cast<AAX_SPlugInChunk*>(out.get());
  if (first.GetChunkData(outChunk) != 0 || outChunk->fSize != dataSize) std::abort();

  AAX_CChunkDataParser second;
  second.LoadChunk(outChunk, written);
  const auto a = Typed(first);
  const auto b = Typed(second);
  if (a.size() != b.size() || second.Entries().size() != b.size()) std::abort();
  for (size_t i = 0; i < a.size(); ++i)
    if (!Same(a[i], b[i])) std::abort();
  return 0;
}

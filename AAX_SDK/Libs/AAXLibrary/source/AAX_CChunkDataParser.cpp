#include "AAX_CChunkDataParser.h"

#include "AAX_CHostServices.h"

#include <cstring>

using namespace AAX_ChunkDataParserDefs;

namespace
{
uint32_t Align4(uint32_t n) { return (n + 3u) & ~3u; }

// Text lengths are C-string lengths: the format ends every text at its first
// NUL, so bytes after an embedded NUL could not be read back anyway.
uint32_t TextLength(const AAX_CString& s) { return static_cast<uint32_t>(std::strlen(s.Get())); }

// Bytes the value occupies after the aligned name field (int16 keeps two zeros).
uint32_t ValueFieldSize(const AAX_CChunkDataParser::DataValue& v)
{
  switch (v.mDataType)
  {
  case DOUBLE_TYPE: return 8;
  case FLOAT_TYPE:
  case LONG_TYPE:
  case SHORT_TYPE: return 4;
  case STRING_TYPE: return Align4(TextLength(v.mStringValue) + 1);
  default: return 0;
  }
}

const char* Tag(int32_t type)
{
  switch (type)
  {
  case DOUBLE_TYPE: return DOUBLE_STRING_IDENTIFIER;
  case FLOAT_TYPE: return FLOAT_STRING_IDENTIFIER;
  case LONG_TYPE: return LONG_STRING_IDENTIFIER;
  case SHORT_TYPE: return SHORT_STRING_IDENTIFIER;
  case STRING_TYPE: return STRING_STRING_IDENTIFIER;
  default: return nullptr;
  }
}

void PutBigEndian(uint8_t* p, uint64_t v, int bytes)
{
  for (int i = bytes - 1; i >= 0; --i)
  {
    p[i] = static_cast<uint8_t>(v & 0xFF);
    v >>= 8;
  }
}

uint64_t GetBigEndian(const uint8_t* p, int bytes)
{
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

// Length of the NUL-terminated text at p within `left` bytes, or -1 when no
// NUL lies within them.
int64_t TextAt(const uint8_t* p, uint32_t left)
{
  const void* nul = std::memchr(p, 0, left);
  return nul ? static_cast<const uint8_t*>(nul) - p : -1;
}
} // namespace

AAX_CChunkDataParser::AAX_CChunkDataParser() : mLastFoundIndex(-1), mChunkVersion(-1) {}

AAX_CChunkDataParser::~AAX_CChunkDataParser() = default;

void AAX_CChunkDataParser::AddFloat(const char* name, float value)
{
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  mDataValues.push_back(DataValue{FLOAT_TYPE, AAX_CString(name), static_cast<int64_t>(bits), {}});
}

void AAX_CChunkDataParser::AddDouble(const char* name, double value)
{
  int64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  mDataValues.push_back(DataValue{DOUBLE_TYPE, AAX_CString(name), bits, {}});
}

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value)
{
  mDataValues.push_back(
      DataValue{LONG_TYPE, AAX_CString(name), static_cast<int64_t>(static_cast<uint32_t>(value)), {}});
}

void AAX_CChunkDataParser::AddInt16(const char* name, int16_t value)
{
  mDataValues.push_back(
      DataValue{SHORT_TYPE, AAX_CString(name), static_cast<int64_t>(static_cast<uint16_t>(value)), {}});
}

void AAX_CChunkDataParser::AddString(const char* name, AAX_CString value)
{
  mDataValues.push_back(DataValue{STRING_TYPE, AAX_CString(name), 0, std::move(value)});
}

bool AAX_CChunkDataParser::FindFloat(const char* name, float* value) const
{
  if (!name || !value) return false;
  const int32_t i = FindName(AAX_CString(name));
  if (i < 0 || mDataValues[static_cast<size_t>(i)].mDataType != FLOAT_TYPE) return false;
  const uint32_t bits = static_cast<uint32_t>(mDataValues[static_cast<size_t>(i)].mIntValue);
  std::memcpy(value, &bits, sizeof bits);
  return true;
}

bool AAX_CChunkDataParser::FindDouble(const char* name, double* value) const
{
  if (!name || !value) return false;
  const int32_t i = FindName(AAX_CString(name));
  if (i < 0 || mDataValues[static_cast<size_t>(i)].mDataType != DOUBLE_TYPE) return false;
  std::memcpy(value, &mDataValues[static_cast<size_t>(i)].mIntValue, sizeof *value);
  return true;
}

bool AAX_CChunkDataParser::FindInt32(const char* name, int32_t* value) const
{
  if (!name || !value) return false;
  const int32_t i = FindName(AAX_CString(name));
  if (i < 0 || mDataValues[static_cast<size_t>(i)].mDataType != LONG_TYPE) return false;
  *value = static_cast<int32_t>(static_cast<uint32_t>(mDataValues[static_cast<size_t>(i)].mIntValue));
  return true;
}

bool AAX_CChunkDataParser::FindInt16(const char* name, int16_t* value) const
{
  if (!name || !value) return false;
  const int32_t i = FindName(AAX_CString(name));
  if (i < 0 || mDataValues[static_cast<size_t>(i)].mDataType != SHORT_TYPE) return false;
  *value = static_cast<int16_t>(static_cast<uint16_t>(mDataValues[static_cast<size_t>(i)].mIntValue));
  return true;
}

bool AAX_CChunkDataParser::FindString(const char* name, AAX_CString* value) const
{
  if (!name || !value) return false;
  const int32_t i = FindName(AAX_CString(name));
  if (i < 0 || mDataValues[static_cast<size_t>(i)].mDataType != STRING_TYPE) return false;
  *value = mDataValues[static_cast<size_t>(i)].mStringValue;
  return true;
}

bool AAX_CChunkDataParser::ReplaceDouble(const char* name, double value)
{
  if (!name) return false;
  const int32_t i = FindName(AAX_CString(name));
  if (i < 0 || mDataValues[static_cast<size_t>(i)].mDataType != DOUBLE_TYPE) return false;
  std::memcpy(&mDataValues[static_cast<size_t>(i)].mIntValue, &value, sizeof value);
  return true;
}

int32_t AAX_CChunkDataParser::FindName(const AAX_CString& name) const
{
  const int32_t count = static_cast<int32_t>(mDataValues.size());
  if (mLastFoundIndex >= count - 1) mLastFoundIndex = -1;
  for (int32_t i = mLastFoundIndex + 1; i < count; ++i)
  {
    if (mDataValues[static_cast<size_t>(i)].mDataName == name)
    {
      mLastFoundIndex = i;
      return i;
    }
  }
  if (mLastFoundIndex == -1) return -1;
  for (int32_t i = 0; i <= mLastFoundIndex; ++i)
  {
    if (mDataValues[static_cast<size_t>(i)].mDataName == name)
    {
      mLastFoundIndex = i;
      return i;
    }
  }
  return -1;
}

void AAX_CChunkDataParser::Clear()
{
  mDataValues.clear();
  mLastFoundIndex = -1;
  mChunkVersion = -1;
}

bool AAX_CChunkDataParser::IsEmpty() const { return mDataValues.empty(); }

int32_t AAX_CChunkDataParser::GetChunkVersion() const { return mChunkVersion; }

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
  uint32_t size = 4;
  for (const DataValue& v : mDataValues)
  {
    // Entries of no type carry no value and are not written.
    if (!Tag(v.mDataType)) continue;
    size += Align4(TextLength(v.mDataName) + 3) + ValueFieldSize(v);
  }
  return static_cast<int32_t>(size);
}

int32_t AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk) const
{
  const int32_t total = GetChunkDataSize();
  if (!chunk || total <= 3) return CHUNK_DATA_ERROR;
  const uint32_t n = static_cast<uint32_t>(total);
  uint8_t* data = reinterpret_cast<uint8_t*>(chunk->fData);
  std::memset(data, 0, n);
  PutBigEndian(data, VERSION_ID_1, 4);
  uint32_t offset = 4;
  for (const DataValue& v : mDataValues)
  {
    const char* tag = Tag(v.mDataType);
    if (!tag) continue;
    const uint32_t nameLength = TextLength(v.mDataName);
    const uint32_t valueOffset = Align4(offset + 2 + nameLength + 1);
    // The size was computed from these entries, so this holds; it is checked
    // here so that no write can ever leave the n bytes.
    if (valueOffset + ValueFieldSize(v) > n)
    {
      AAX_CHostServices::Trace(AAX_eTracePriorityHost_High,
                               "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                               "aborting: chunk data will overflow buffer");
      return CHUNK_DATA_ERROR;
    }
    std::memcpy(data + offset, tag, 2);
    std::memcpy(data + offset + 2, v.mDataName.Get(), nameLength); // NUL already there
    offset = valueOffset;
    const uint64_t bits = static_cast<uint64_t>(v.mIntValue);
    switch (v.mDataType)
    {
    case DOUBLE_TYPE: PutBigEndian(data + offset, bits, 8); break;
    case SHORT_TYPE: PutBigEndian(data + offset, bits, 2); break;
    case STRING_TYPE:
      std::memcpy(data + offset, v.mStringValue.Get(), TextLength(v.mStringValue));
      break;
    default: PutBigEndian(data + offset, bits, 4); break; // float, int32
    }
    offset += ValueFieldSize(v);
  }
  chunk->fSize = total;
  return 0;
}

void AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk)
{
  LoadChunk(chunk, static_cast<size_t>(-1));
}

void AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk, size_t recordSize)
{
  Clear();
  if (!chunk || recordSize < kAAX_SPlugInChunkHeaderSize) return;
  mChunkVersion = chunk->fVersion;
  if (chunk->fSize <= 4) return; // negative, empty or no room for an entry
  uint32_t size = static_cast<uint32_t>(chunk->fSize);
  if (recordSize - kAAX_SPlugInChunkHeaderSize < size)
    size = static_cast<uint32_t>(recordSize - kAAX_SPlugInChunkHeaderSize);
  if (size < 4) return;
  const uint8_t* data = reinterpret_cast<const uint8_t*>(chunk->fData);
  if (GetBigEndian(data, 4) != VERSION_ID_1) return;

  uint32_t offset = 4;
  while (offset < size)
  {
    // The name field: at most MAX_NAME_LENGTH bytes with its NUL. One without
    // its NUL in that room or before the end ends the load.
    const uint32_t left = size - offset;
    const int64_t fieldLength =
        TextAt(data + offset, left < uint32_t(MAX_NAME_LENGTH) ? left : uint32_t(MAX_NAME_LENGTH));
    if (fieldLength < 0) return;
    const char* field = reinterpret_cast<const char*>(data + offset);
    DataValue v;
    v.mDataName = AAX_CString(fieldLength > 2 ? std::string(field + 2, size_t(fieldLength - 2)) : "");
    offset = Align4(offset + static_cast<uint32_t>(fieldLength) + 1);

    // The type is decided by the first character alone. A value cut short by
    // the end drops the entry and ends the load.
    const uint32_t avail = offset < size ? size - offset : 0;
    switch (fieldLength > 0 ? field[0] : '\0')
    {
    case 'd':
      if (avail < 8) return;
      v.mDataType = DOUBLE_TYPE;
      v.mIntValue = static_cast<int64_t>(GetBigEndian(data + offset, 8));
      offset += 8;
      break;
    case 'f':
    case 'l':
      if (avail < 4) return;
      v.mDataType = field[0] == 'f' ? FLOAT_TYPE : LONG_TYPE;
      v.mIntValue = static_cast<int64_t>(GetBigEndian(data + offset, 4));
      offset += 4;
      break;
    case 's':
      if (avail < 2) return;
      v.mDataType = SHORT_TYPE;
      v.mIntValue = static_cast<int64_t>(GetBigEndian(data + offset, 2));
      offset += 4;
      break;
    case 'r':
    {
      const int64_t textLength = avail ? TextAt(data + offset, avail) : -1;
      if (textLength < 0) return;
      v.mDataType = STRING_TYPE;
      v.mStringValue = AAX_CString(
          std::string(reinterpret_cast<const char*>(data + offset), size_t(textLength)));
      // Skips the padding after the text too, so it does not read as an
      // empty entry of no type.
      offset = Align4(offset + static_cast<uint32_t>(textLength) + 1);
      break;
    }
    default: break; // no type, no value
    }
    mDataValues.push_back(std::move(v));
  }
}

void AAX_CChunkDataParser::WordAlign(int32_t& index) const
{
  index = static_cast<int32_t>(Align4(static_cast<uint32_t>(index)));
}

void AAX_CChunkDataParser::WordAlign(uint32_t& index) const { index = Align4(index); }

// AAX_CChunkDataParser: a list of named, typed values and its conversion to and
// from the data area of a chunk record.
//
// Data area: the format mark 01 01 01 01, then entries, each starting at a
// multiple of 4: a two-character type tag, the name and a NUL, zeros to the
// next multiple of 4, then the value big-endian (double 8 bytes, float and
// int32 4, int16 2 and two zeros, text its bytes and a NUL padded to 4).
#pragma once

#include "AAX_CString.h"
#include "AAX_SPlugInChunk.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace AAX_ChunkDataParserDefs
{
// Type of a DataValue.
const int32_t NO_TYPE = 0;
const int32_t FLOAT_TYPE = 1;
const int32_t LONG_TYPE = 2;
const int32_t DOUBLE_TYPE = 3;
const int32_t SHORT_TYPE = 4;
const int32_t STRING_TYPE = 5;

// Type tags written before each name.
const char FLOAT_STRING_IDENTIFIER[] = "f_";
const char LONG_STRING_IDENTIFIER[] = "l_";
const char DOUBLE_STRING_IDENTIFIER[] = "d_";
const char SHORT_STRING_IDENTIFIER[] = "s_";
const char STRING_STRING_IDENTIFIER[] = "r_";

// Longest name field (tag, name, NUL) taken when reading.
const int32_t MAX_NAME_LENGTH = 255;
// The first four bytes of the data area.
const uint32_t VERSION_ID_1 = 0x01010101;
// GetChunkData's failure result (not an AAX result-code name).
const int32_t CHUNK_DATA_ERROR = -333;
} // namespace AAX_ChunkDataParserDefs

// Reused by its owner: every save starts with Clear and Add calls, every
// restore with LoadChunk. Not safe for concurrent use. [host]
class AAX_CChunkDataParser
{
public:
  struct DataValue
  {
    int32_t mDataType = AAX_ChunkDataParserDefs::NO_TYPE;
    AAX_CString mDataName;   // without the tag
    int64_t mIntValue = 0;   // the double's bits, or the low 32 / 16 bits
    AAX_CString mStringValue;
  };

  AAX_CChunkDataParser();
  virtual ~AAX_CChunkDataParser();

  // Append an entry; duplicates are not checked. A null name is the empty name.
  void AddFloat(const char* name, float value);
  void AddDouble(const char* name, double value);
  void AddInt32(const char* name, int32_t value);
  void AddInt16(const char* name, int16_t value);
  void AddString(const char* name, AAX_CString value);

  // True and the value when the entry found under name has exactly this type;
  // otherwise false and *value untouched. Lookups in the order the entries were
  // written cost one comparison each (the search resumes after the last hit).
  bool FindFloat(const char* name, float* value) const;
  bool FindDouble(const char* name, double* value) const;
  bool FindInt32(const char* name, int32_t* value) const;
  bool FindInt16(const char* name, int16_t* value) const;
  bool FindString(const char* name, AAX_CString* value) const;
  // Replaces the value of a double entry; false when there is none under name.
  bool ReplaceDouble(const char* name, double value);
  // Index of the entry, or -1: a circular search that starts after the last hit.
  int32_t FindName(const AAX_CString& name) const;

  // Removes every entry; the last-found index and chunk version go back to -1.
  void Clear();
  bool IsEmpty() const;
  // The version field of the last loaded chunk (-1 after construction and Clear).
  int32_t GetChunkVersion() const;
  // Size of the data area for the current entries.
  int32_t GetChunkDataSize() const;
  // Writes the data area and the size field into chunk, whose data area must
  // hold GetChunkDataSize() bytes. 0, or -333 (CHUNK_DATA_ERROR) with nothing
  // written to the size field.
  int32_t GetChunkData(AAX_SPlugInChunk* chunk) const;
  // Replaces the entries with those of chunk's data area, reading no byte past
  // its size field. A wrong format mark or a size of 4 or less gives no entries;
  // an entry cut short by the end is dropped, the entries before it stay.
  void LoadChunk(const AAX_SPlugInChunk* chunk);
  // The same for a record known to hold recordSize bytes in all (header
  // included): a size field claiming more than the record holds is cut to it.
  void LoadChunk(const AAX_SPlugInChunk* chunk, size_t recordSize);

  // Rounds index up to the next multiple of 4.
  void WordAlign(int32_t& index) const;
  void WordAlign(uint32_t& index) const;

  // The entries in insertion or file order. [host]
  const std::vector<DataValue>& Entries() const { return mDataValues; }

protected:
  mutable int32_t mLastFoundIndex; // lookups move it; they are logically const
  int32_t mChunkVersion;
  std::vector<DataValue> mDataValues;
};

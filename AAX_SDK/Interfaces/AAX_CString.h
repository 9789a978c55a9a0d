// AAX_CString: the support library's byte string and its AAX_IString.
#pragma once

#include "AAX_IString.h"

#include <cstdint>
#include <iosfwd>
#include <string>

// Owns one std::string (bytes, no encoding assumed). Number formatting and
// parsing use the classic "C" conventions whatever the process locale is.
// Positions past the end of the text are programming errors: operator[] checks
// them (std::out_of_range), the editing operations ignore them.
class AAX_CString : public AAX_IString
{
public:
  // Reported by FindFirst / FindLast (which never find anything).
  static const uint32_t kInvalidIndex = 0xFFFFFFFFu;
  static const uint32_t kMaxStringLength = 0xFFFFFFFEu;

  AAX_CString() = default;
  AAX_CString(const char* str); // a null pointer gives the empty text
  AAX_CString(const std::string& str);
  AAX_CString(const AAX_CString& other);
  AAX_CString(const AAX_IString& other); // copies other.Get()
  AAX_CString(AAX_CString&& other) noexcept;
  ~AAX_CString() override = default;

  // AAX_IString
  uint32_t Length() const override;
  uint32_t MaxLength() const override; // 0xFFFFFFFE
  const char* Get() const override;
  void Set(const char* iString) override; // null gives the empty text
  AAX_IString& operator=(const AAX_IString& other) override;
  AAX_IString& operator=(const char* str) override;

  // Access
  const char* CString() const;
  std::string& StdString();
  const std::string& StdString() const;
  bool Empty() const;
  char& operator[](uint32_t index);             // bounds-checked
  const char& operator[](uint32_t index) const; // bounds-checked

  // Change
  void Clear();
  AAX_CString& operator=(const AAX_CString& other);
  AAX_CString& operator=(const std::string& other);
  AAX_CString& operator=(AAX_CString&& other) noexcept; // swaps the texts
  AAX_CString& Append(const AAX_CString& str);
  AAX_CString& Append(const char* str);
  AAX_CString& operator+=(const AAX_CString& str);
  AAX_CString& operator+=(const std::string& str);
  AAX_CString& operator+=(const char* str);
  AAX_CString& Insert(uint32_t pos, const AAX_CString& str);
  AAX_CString& Insert(uint32_t pos, const char* str);
  AAX_CString& Replace(uint32_t pos, uint32_t count, const AAX_CString& str);
  AAX_CString& Replace(uint32_t pos, uint32_t count, const char* str);
  // Removes count characters from pos, or everything from pos when fewer remain.
  AAX_CString& Erase(uint32_t pos, uint32_t count);

  // Numbers
  // Fixed-point with exactly `precision` decimals, as printf "%.*f" with a point.
  AAX_CString& AppendNumber(double number, int32_t precision);
  AAX_CString& AppendNumber(int32_t number); // plain decimal
  // "0x" then lowercase hex padded with '0' to at least `width` digits;
  // negatives print as their unsigned 32-bit pattern.
  AAX_CString& AppendHex(int32_t number, int32_t width);
  AAX_CString& InsertNumber(uint32_t pos, double number, int32_t precision);
  AAX_CString& InsertNumber(uint32_t pos, int32_t number);
  AAX_CString& InsertHex(uint32_t pos, int32_t number, int32_t width);
  // Reads one number from the start as an input stream does (leading blanks
  // skipped, trailing text ignored). On failure *oValue = 0 and false.
  bool ToDouble(double* oValue) const;
  bool ToInteger(int32_t* oValue) const;

  // Pieces: out is Set to at most count characters from pos (pos <= Length()).
  void SubString(uint32_t pos, uint32_t count, AAX_IString* outputStr) const;

  // Comparison: AAX_CString with AAX_CString compares the NUL-terminated texts
  // byte-wise (strcmp); with std::string the whole strings.
  bool operator==(const AAX_CString& other) const;
  bool operator==(const std::string& other) const;
  bool operator==(const char* other) const;
  bool operator!=(const AAX_CString& other) const;
  bool operator!=(const std::string& other) const;
  bool operator!=(const char* other) const;
  bool operator<(const AAX_CString& other) const;
  bool operator>(const AAX_CString& other) const;

  // Search: part of the interface, but they report "not found" (0xFFFFFFFF)
  // for every input without looking at the text. Nothing calls them.
  uint32_t FindFirst(const AAX_CString& findStr) const;
  uint32_t FindFirst(const char* findStr) const;
  uint32_t FindFirst(char findChar) const;
  uint32_t FindLast(const AAX_CString& findStr) const;
  uint32_t FindLast(const char* findStr) const;
  uint32_t FindLast(char findChar) const;

  friend std::ostream& operator<<(std::ostream& os, const AAX_CString& str);
  friend std::istream& operator>>(std::istream& is, AAX_CString& str);

private:
  std::string mString;
};

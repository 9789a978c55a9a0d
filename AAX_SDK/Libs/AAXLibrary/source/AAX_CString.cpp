#include "AAX_CString.h"

#include <cstdio>
#include <cstring>
#include <istream>
#include <locale>
#include <ostream>
#include <sstream>
#include <utility>

namespace
{
// The text that printf "%.*f" gives, always with a point: the stream is imbued
// with the classic locale (libstdc++ formats fixed output through "%.*f", and a
// negative precision means 6 as in printf).
std::string FormatFixed(double value, int32_t precision)
{
  std::ostringstream os;
  os.imbue(std::locale::classic());
  os.setf(std::ios::fixed, std::ios::floatfield);
  os.precision(precision);
  os << value;
  return os.str();
}

std::string FormatHex(int32_t value, int32_t width)
{
  if (width < 0) width = 0;
  if (width > 64) width = 64; // a pattern has at most 8 digits; more is padding only
  char buf[80];
  std::snprintf(buf, sizeof(buf), "0x%0*x", static_cast<int>(width),
                static_cast<unsigned>(static_cast<uint32_t>(value)));
  return buf;
}

template <class T> bool ReadNumber(const std::string& text, T* out)
{
  std::istringstream is(text);
  is.imbue(std::locale::classic());
  T value{};
  if (is >> value)
  {
    if (out) *out = value;
    return true;
  }
  if (out) *out = 0;
  return false;
}
} // namespace

AAX_CString::AAX_CString(const char* str) : mString(str ? str : "") {}
AAX_CString::AAX_CString(const std::string& str) : mString(str) {}
AAX_CString::AAX_CString(const AAX_CString& other) : AAX_IString(), mString(other.mString) {}
AAX_CString::AAX_CString(const AAX_IString& other) : mString(other.Get() ? other.Get() : "") {}
AAX_CString::AAX_CString(AAX_CString&& other) noexcept : mString(std::move(other.mString)) {}

uint32_t AAX_CString::Length() const { return static_cast<uint32_t>(mString.length()); }
uint32_t AAX_CString::MaxLength() const { return kMaxStringLength; }
const char* AAX_CString::Get() const { return mString.c_str(); }
void AAX_CString::Set(const char* iString) { mString.assign(iString ? iString : ""); }

AAX_IString& AAX_CString::operator=(const AAX_IString& other)
{
  if (&other != this) Set(other.Get());
  return *this;
}

AAX_IString& AAX_CString::operator=(const char* str)
{
  Set(str);
  return *this;
}

const char* AAX_CString::CString() const { return mString.c_str(); }
std::string& AAX_CString::StdString() { return mString; }
const std::string& AAX_CString::StdString() const { return mString; }
bool AAX_CString::Empty() const { return mString.empty(); }
char& AAX_CString::operator[](uint32_t index) { return mString.at(index); }
const char& AAX_CString::operator[](uint32_t index) const { return mString.at(index); }

void AAX_CString::Clear() { mString.clear(); }

AAX_CString& AAX_CString::operator=(const AAX_CString& other)
{
  if (&other != this) mString = other.mString;
  return *this;
}

AAX_CString& AAX_CString::operator=(const std::string& other)
{
  mString = other;
  return *this;
}

AAX_CString& AAX_CString::operator=(AAX_CString&& other) noexcept
{
  mString.swap(other.mString);
  return *this;
}

AAX_CString& AAX_CString::Append(const AAX_CString& str)
{
  mString.append(str.mString);
  return *this;
}

AAX_CString& AAX_CString::Append(const char* str)
{
  if (str) mString.append(str);
  return *this;
}

AAX_CString& AAX_CString::operator+=(const AAX_CString& str) { return Append(str); }
AAX_CString& AAX_CString::operator+=(const std::string& str)
{
  mString.append(str);
  return *this;
}
AAX_CString& AAX_CString::operator+=(const char* str) { return Append(str); }

AAX_CString& AAX_CString::Insert(uint32_t pos, const AAX_CString& str)
{
  if (pos <= mString.length()) mString.insert(pos, str.mString);
  return *this;
}

AAX_CString& AAX_CString::Insert(uint32_t pos, const char* str)
{
  if (str && pos <= mString.length()) mString.insert(pos, str);
  return *this;
}

AAX_CString& AAX_CString::Replace(uint32_t pos, uint32_t count, const AAX_CString& str)
{
  if (pos <= mString.length()) mString.replace(pos, count, str.mString);
  return *this;
}

AAX_CString& AAX_CString::Replace(uint32_t pos, uint32_t count, const char* str)
{
  if (pos <= mString.length()) mString.replace(pos, count, str ? str : "");
  return *this;
}

AAX_CString& AAX_CString::Erase(uint32_t pos, uint32_t count)
{
  // std::string::erase already stops at the end when fewer than count remain.
  if (pos <= mString.length()) mString.erase(pos, count);
  return *this;
}

AAX_CString& AAX_CString::AppendNumber(double number, int32_t precision)
{
  mString.append(FormatFixed(number, precision));
  return *this;
}

AAX_CString& AAX_CString::AppendNumber(int32_t number)
{
  mString.append(std::to_string(number));
  return *this;
}

AAX_CString& AAX_CString::AppendHex(int32_t number, int32_t width)
{
  mString.append(FormatHex(number, width));
  return *this;
}

AAX_CString& AAX_CString::InsertNumber(uint32_t pos, double number, int32_t precision)
{
  if (pos <= mString.length()) mString.insert(pos, FormatFixed(number, precision));
  return *this;
}

AAX_CString& AAX_CString::InsertNumber(uint32_t pos, int32_t number)
{
  if (pos <= mString.length()) mString.insert(pos, std::to_string(number));
  return *this;
}

AAX_CString& AAX_CString::InsertHex(uint32_t pos, int32_t number, int32_t width)
{
  if (pos <= mString.length()) mString.insert(pos, FormatHex(number, width));
  return *this;
}

bool AAX_CString::ToDouble(double* oValue) const { return ReadNumber(mString, oValue); }
bool AAX_CString::ToInteger(int32_t* oValue) const { return ReadNumber(mString, oValue); }

void AAX_CString::SubString(uint32_t pos, uint32_t count, AAX_IString* outputStr) const
{
  if (!outputStr) return;
  if (pos > mString.length())
  {
    outputStr->Set("");
    return;
  }
  outputStr->Set(mString.substr(pos, count).c_str());
}

bool AAX_CString::operator==(const AAX_CString& other) const
{
  return std::strcmp(mString.c_str(), other.mString.c_str()) == 0;
}
bool AAX_CString::operator==(const std::string& other) const { return mString == other; }
bool AAX_CString::operator==(const char* other) const
{
  return std::strcmp(mString.c_str(), other ? other : "") == 0;
}
bool AAX_CString::operator!=(const AAX_CString& other) const { return !(*this == other); }
bool AAX_CString::operator!=(const std::string& other) const { return !(*this == other); }
bool AAX_CString::operator!=(const char* other) const { return !(*this == other); }
bool AAX_CString::operator<(const AAX_CString& other) const
{
  return std::strcmp(mString.c_str(), other.mString.c_str()) < 0;
}
bool AAX_CString::operator>(const AAX_CString& other) const
{
  return std::strcmp(mString.c_str(), other.mString.c_str()) > 0;
}

uint32_t AAX_CString::FindFirst(const AAX_CString&) const { return kInvalidIndex; }
uint32_t AAX_CString::FindFirst(const char*) const { return kInvalidIndex; }
uint32_t AAX_CString::FindFirst(char) const { return kInvalidIndex; }
uint32_t AAX_CString::FindLast(const AAX_CString&) const { return kInvalidIndex; }
uint32_t AAX_CString::FindLast(const char*) const { return kInvalidIndex; }
uint32_t AAX_CString::FindLast(char) const { return kInvalidIndex; }

std::ostream& operator<<(std::ostream& os, const AAX_CString& str) { return os << str.mString; }
std::istream& operator>>(std::istream& is, AAX_CString& str) { return is >> str.mString; }

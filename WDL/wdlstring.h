#pragma once
// WDL_String: a growable NUL-terminated text. Get() never returns null.

#include <cstdarg>
#include <cstdio>
#include <string>

class WDL_String
{
public:
  WDL_String() = default;
  explicit WDL_String(const char* s) { Set(s); }

  const char* Get() const { return mText.c_str(); }
  int GetLength() const { return static_cast<int>(mText.size()); }

  // Copies s (null counts as ""); with maxlen > 0 at most maxlen characters.
  void Set(const char* s, int maxlen = 0)
  {
    mText.clear();
    Append(s, maxlen);
  }
  void Append(const char* s, int maxlen = 0)
  {
    if (!s) return;
    if (maxlen > 0)
    {
      size_t n = 0;
      while (n < static_cast<size_t>(maxlen) && s[n]) ++n;
      mText.append(s, n);
    }
    else
      mText.append(s);
  }

  // printf-style; the text becomes exactly the formatted result.
  void SetFormatted(const char* fmt, ...) __attribute__((format(printf, 2, 3)))
  {
    va_list ap;
    va_start(ap, fmt);
    mText.clear();
    AppendV(fmt, ap);
    va_end(ap);
  }
  void AppendFormatted(const char* fmt, ...) __attribute__((format(printf, 2, 3)))
  {
    va_list ap;
    va_start(ap, fmt);
    AppendV(fmt, ap);
    va_end(ap);
  }

  // Shortens to at most n characters.
  void SetLen(int n)
  {
    if (n >= 0 && static_cast<size_t>(n) < mText.size()) mText.resize(static_cast<size_t>(n));
  }

private:
  void AppendV(const char* fmt, va_list ap)
  {
    va_list copy;
    va_copy(copy, ap);
    const int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return;
    const size_t at = mText.size();
    mText.resize(at + static_cast<size_t>(n) + 1);
    std::vsnprintf(&mText[at], static_cast<size_t>(n) + 1, fmt, ap);
    mText.resize(at + static_cast<size_t>(n));
  }

  std::string mText;
};

// Result-code names, the exception classes and AAX_CheckedResult.
//
// Only AAX_CheckedResult throws, inside sequences of host calls that catch at
// the host boundary: catch AAX::Exception::ResultError and return its Result();
// turn any other AAX::Exception::Any into AAX_ERROR_UNKNOWN_EXCEPTION (-20042).
#pragma once

#include "AAX.h"
#include "AAX_Errors.h"

#include <set>
#include <string>

namespace AAX
{
// The code's name (AAX_Errors.h); "plug-in defined error" for
// -21000..-20600 not in the table; "<unknown error code>" otherwise.
std::string AsStringResult(AAX_Result result);
// Decimal text, minus sign for negatives, no padding.
std::string AsStringInt32(int32_t value);
// Its argument.
std::string AsString(const std::string& str);

namespace Exception
{
// Base of the AAX exceptions. Not a std::exception: the host boundary catches
// the two kinds separately.
class Any
{
public:
  explicit Any(const std::string& description, const std::string& function = std::string(),
               const std::string& line = std::string());
  explicit Any(const char* description, const char* function = "", const char* line = "");
  virtual ~Any();

  // description, then " func:" + function when function is not empty, then
  // " line:" + line when line is not empty.
  static std::string CreateWhat(const std::string& description, const std::string& function,
                                const std::string& line);

  const std::string& What() const { return mWhat; }
  const std::string& Desc() const { return mDesc; }
  const std::string& Function() const { return mFunction; }
  const std::string& Line() const { return mLine; }

private:
  std::string mDesc;
  std::string mFunction;
  std::string mLine;
  std::string mWhat;
};

// An unaccepted result code; its description is FormatResult(code).
class ResultError : public Any
{
public:
  explicit ResultError(AAX_Result result, const std::string& function = std::string(),
                       const std::string& line = std::string());
  ~ResultError() override;

  // name + " (" + decimal code + ")", for example "AAX_ERROR_NULL_OBJECT (-20004)".
  static std::string FormatResult(AAX_Result result);

  AAX_Result Result() const { return mResult; }

private:
  AAX_Result mResult;
};
} // namespace Exception
} // namespace AAX

// Holds a result code and throws AAX::Exception::ResultError as soon as it holds
// one that is not accepted (only 0 is accepted). Before throwing it resets
// itself to 0, remembers the code as the last error, traces
// "AAX_CheckedResult - throwing <what>" (priority 0x04000000) and asks the host
// for a stack trace (0x01000000, 0x01000000). [any]
class AAX_CheckedResult
{
public:
  AAX_CheckedResult(AAX_Result result = AAX_SUCCESS); // may throw
  AAX_CheckedResult& operator=(AAX_Result result);    // may throw

  void Check();
  void Initialize();
  void ResetAcceptedResults();

  // The current result (0 after a throw) and the last failing code (0 if none).
  operator AAX_Result() const { return mCurResult; }
  AAX_Result LastError() const { return mLastError; }

private:
  AAX_Result mCurResult;
  AAX_Result mLastError;
  std::set<AAX_Result> mAcceptedResults;
};

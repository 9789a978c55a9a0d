#include "AAX_Exception.h"

#include "AAX_CHostServices.h"

#include <map>

namespace
{
const std::map<AAX_Result, const char*>& ResultNames()
{
  static const std::map<AAX_Result, const char*> names = {
#define QV_NAME(code) {code, #code}
      QV_NAME(AAX_SUCCESS),
      QV_NAME(AAX_ERROR_INVALID_PARAMETER_ID),
      QV_NAME(AAX_ERROR_INVALID_STRING_CONVERSION),
      QV_NAME(AAX_ERROR_INVALID_METER_INDEX),
      QV_NAME(AAX_ERROR_NULL_OBJECT),
      QV_NAME(AAX_ERROR_OLDER_VERSION),
      QV_NAME(AAX_ERROR_INVALID_CHUNK_INDEX),
      QV_NAME(AAX_ERROR_INVALID_CHUNK_ID),
      QV_NAME(AAX_ERROR_INCORRECT_CHUNK_SIZE),
      QV_NAME(AAX_ERROR_UNIMPLEMENTED),
      QV_NAME(AAX_ERROR_INVALID_PARAMETER_INDEX),
      QV_NAME(AAX_ERROR_NOT_INITIALIZED),
      QV_NAME(AAX_ERROR_ACF_ERROR),
      QV_NAME(AAX_ERROR_INVALID_METER_TYPE),
      QV_NAME(AAX_ERROR_CONTEXT_ALREADY_HAS_METERS),
      QV_NAME(AAX_ERROR_NULL_COMPONENT),
      QV_NAME(AAX_ERROR_PORT_ID_OUT_OF_RANGE),
      QV_NAME(AAX_ERROR_FIELD_TYPE_DOES_NOT_SUPPORT_DIRECT_ACCESS),
      QV_NAME(AAX_ERROR_DIRECT_ACCESS_OUT_OF_BOUNDS),
      QV_NAME(AAX_ERROR_FIFO_FULL),
      QV_NAME(AAX_ERROR_INITIALIZING_PACKET_STREAM_THREAD),
      QV_NAME(AAX_ERROR_POST_PACKET_FAILED),
      QV_NAME(AAX_RESULT_PACKET_STREAM_NOT_EMPTY),
      QV_NAME(AAX_RESULT_ADD_FIELD_UNSUPPORTED_FIELD_TYPE),
      QV_NAME(AAX_ERROR_MIXER_THREAD_FALLING_BEHIND),
      QV_NAME(AAX_ERROR_INVALID_FIELD_INDEX),
      QV_NAME(AAX_ERROR_MALFORMED_CHUNK),
      QV_NAME(AAX_ERROR_TOD_BEHIND),
      QV_NAME(AAX_RESULT_NEW_PACKET_POSTED),
      QV_NAME(AAX_ERROR_PLUGIN_NULL_PARAMETER),
      QV_NAME(AAX_ERROR_NOTIFICATION_FAILED),
      QV_NAME(AAX_ERROR_INVALID_VIEW_SIZE),
      QV_NAME(AAX_ERROR_SIGNED_INT_OVERFLOW),
      QV_NAME(AAX_ERROR_NO_COMPONENTS),
      QV_NAME(AAX_ERROR_DUPLICATE_EFFECT_ID),
      QV_NAME(AAX_ERROR_DUPLICATE_TYPE_ID),
      QV_NAME(AAX_ERROR_EMPTY_EFFECT_NAME),
      QV_NAME(AAX_ERROR_UNKNOWN_PLUGIN),
      QV_NAME(AAX_ERROR_PROPERTY_UNDEFINED),
      QV_NAME(AAX_ERROR_INVALID_PATH),
      QV_NAME(AAX_ERROR_UNKNOWN_ID),
      QV_NAME(AAX_ERROR_UNKNOWN_EXCEPTION),
      QV_NAME(AAX_ERROR_INVALID_ARGUMENT),
      QV_NAME(AAX_ERROR_NULL_ARGUMENT),
      QV_NAME(AAX_ERROR_INVALID_INTERNAL_DATA),
      QV_NAME(AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW),
#undef QV_NAME
  };
  return names;
}
} // namespace

std::string AAX::AsStringResult(AAX_Result result)
{
  const auto& names = ResultNames();
  const auto it = names.find(result);
  if (it != names.end()) return it->second;
  if (result >= AAX_ERROR_PLUGIN_BEGIN && result <= AAX_ERROR_PLUGIN_END)
    return "plug-in defined error";
  return "<unknown error code>";
}

std::string AAX::AsStringInt32(int32_t value) { return std::to_string(value); }

std::string AAX::AsString(const std::string& str) { return str; }

AAX::Exception::Any::Any(const std::string& description, const std::string& function,
                         const std::string& line)
    : mDesc(description), mFunction(function), mLine(line),
      mWhat(CreateWhat(description, function, line))
{
}

AAX::Exception::Any::Any(const char* description, const char* function, const char* line)
    : Any(std::string(description ? description : ""), std::string(function ? function : ""),
          std::string(line ? line : ""))
{
}

AAX::Exception::Any::~Any() = default;

std::string AAX::Exception::Any::CreateWhat(const std::string& description,
                                            const std::string& function, const std::string& line)
{
  std::string what = description;
  if (!function.empty()) what += " func:" + function;
  if (!line.empty()) what += " line:" + line;
  return what;
}

AAX::Exception::ResultError::ResultError(AAX_Result result, const std::string& function,
                                         const std::string& line)
    : Any(FormatResult(result), function, line), mResult(result)
{
}

AAX::Exception::ResultError::~ResultError() = default;

std::string AAX::Exception::ResultError::FormatResult(AAX_Result result)
{
  return AsStringResult(result) + " (" + AsStringInt32(result) + ")";
}

AAX_CheckedResult::AAX_CheckedResult(AAX_Result result)
    : mCurResult(result), mLastError(AAX_SUCCESS)
{
  Initialize();
  Check();
}

AAX_CheckedResult& AAX_CheckedResult::operator=(AAX_Result result)
{
  mCurResult = result;
  Check();
  return *this;
}

void AAX_CheckedResult::Check()
{
  if (mAcceptedResults.count(mCurResult)) return;
  const AAX::Exception::ResultError error(mCurResult);
  mLastError = mCurResult;
  mCurResult = AAX_SUCCESS;
  AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal, "AAX_CheckedResult - throwing %s",
                           error.What().c_str());
  AAX_CHostServices::StackTrace(AAX_eTracePriorityHost_Lowest, AAX_eTracePriorityHost_Lowest, "%s",
                                "");
  throw error;
}

void AAX_CheckedResult::Initialize() { ResetAcceptedResults(); }

void AAX_CheckedResult::ResetAcceptedResults()
{
  mAcceptedResults.clear();
  mAcceptedResults.insert(AAX_SUCCESS);
}

#include "AAX_CHostServices.h"

#include "AAX_VHostServices.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace
{
// The process-wide instance. Set and cleared only by the module's start-up and
// shut-down calls; read from any thread (atomic so readers never see a torn value).
std::atomic<AAX_VHostServices*> sHostServices{nullptr};

// printf-style into 512 bytes: at most 511 characters are kept.
struct Message
{
  char text[512];
};
} // namespace

void AAX_CHostServices::Set(IACFUnknown* pUnkHost)
{
  AAX_VHostServices* current = sHostServices.load();
  if (pUnkHost && !current)
  {
    sHostServices.store(new AAX_VHostServices(pUnkHost));
  }
  else if (!pUnkHost && current)
  {
    sHostServices.store(nullptr);
    delete current;
  }
}

AAX_Result AAX_CHostServices::HandleAssertFailure(const char* iFile, int32_t iLine,
                                                  const char* iNote, int32_t iFlags)
{
  AAX_VHostServices* hs = sHostServices.load();
  return hs ? hs->HandleAssertFailure(iFile, iLine, iNote, iFlags) : 0;
}

AAX_Result AAX_CHostServices::Trace(int32_t iPriority, const char* iFormat, ...)
{
  AAX_VHostServices* hs = sHostServices.load();
  if (!hs) return 0;
  Message m;
  va_list args;
  va_start(args, iFormat);
  std::vsnprintf(m.text, sizeof(m.text), iFormat, args);
  va_end(args);
  return hs->Trace(iPriority, m.text);
}

AAX_Result AAX_CHostServices::StackTrace(int32_t iTracePriority, int32_t iStackTracePriority,
                                         const char* iFormat, ...)
{
  AAX_VHostServices* hs = sHostServices.load();
  if (!hs) return 0;
  Message m;
  va_list args;
  va_start(args, iFormat);
  std::vsnprintf(m.text, sizeof(m.text), iFormat, args);
  va_end(args);
  return hs->StackTrace(iTracePriority, iStackTracePriority, m.text);
}

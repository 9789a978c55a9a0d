#include "AAX_CParameterValue.h"

#include "AAX_CHostServices.h"

#include <cstring>

void AAX_CopyParameterIdentifier(char (&dest)[eParemeterDefaultMaxIdentifierSize],
                                 AAX_CParamID identifier)
{
  const char* text = identifier ? identifier : "";
  // strnlen: a longer identifier is only measured up to the cut.
  size_t len = strnlen(text, eParemeterDefaultMaxIdentifierSize);
  if (!(len < eParemeterDefaultMaxIdentifierSize))
  {
    AAX_CHostServices::HandleAssertFailure(__FILE__, __LINE__,
                                           "len < eParemeterDefaultMaxIdentifierSize",
                                           AAX_kAssertFlags);
    len = eParemeterDefaultMaxIdentifierSize - 1;
  }
  // memmove: a copy constructor may pass the source record's own array.
  std::memmove(dest, text, len);
  dest[len] = '\0';
}

// IGraphics: text drawing and measuring.
#include "IGraphics.h"

bool IGraphics::MeasureIText(IText* pTxt, const char* str, IRECT* pR)
{
  return DrawIText(pTxt, str, pR, true);
}

bool IGraphics::DrawIText(IText* pTxt, const char* str, IRECT* /*pR*/, bool /*measure*/)
{
  if (!str || !str[0]) return true;
  return CacheFont(pTxt) != nullptr;
}

LICE_IFont* IGraphics::CacheFont(IText* /*pTxt*/)
{
  return nullptr;
}

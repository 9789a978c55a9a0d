// The base class's one state chunk, 'elck': every unfiltered parameter's
// value stored by the chunk parser under the parameter's identifier.
#include "AAX_CEffectParameters.h"

#include "AAX_CHostServices.h"
#include "AAX_CString.h"
#include "AAX_Errors.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace
{
// Single precision of a double, without the undefined conversion of finite
// values beyond float's range (a restored chunk may hold any double): those
// become the infinity of their sign, as rounding would make them.
float NarrowToFloat(double d)
{
  if (d > FLT_MAX) return HUGE_VALF;
  if (d < -FLT_MAX) return -HUGE_VALF;
  return static_cast<float>(d);
}

void ReportMissingParameter(int line)
{
  AAX_CHostServices::HandleAssertFailure(__FILE__, line, "NULL != parameter", AAX_kAssertFlags);
}
} // namespace

void AAX_CEffectParameters::BuildChunkData() const
{
  mChunkParser.Clear();
  int32_t numParameters = 0;
  GetNumberOfParameters(&numParameters);
  for (int32_t index = 0; index < numParameters; ++index)
  {
    const AAX_IParameter* parameter = mParameterManager.GetParameter(index);
    if (!parameter)
    {
      ReportMissingParameter(__LINE__);
      continue;
    }
    const char* id = parameter->Identifier();
    if (mFilteredParameters.count(id)) continue;

    // The first probe that succeeds decides the entry's kind; floats are
    // widened to double entries and bools stored as int32 0 or 1.
    float f = 0;
    int32_t i = 0;
    bool b = false;
    double d = 0;
    AAX_CString s;
    if (parameter->GetValueAsFloat(&f))
      mChunkParser.AddDouble(id, f);
    else if (parameter->GetValueAsInt32(&i))
      mChunkParser.AddInt32(id, i);
    else if (parameter->GetValueAsBool(&b))
      mChunkParser.AddInt32(id, b ? 1 : 0);
    else if (parameter->GetValueAsDouble(&d))
      mChunkParser.AddDouble(id, d);
    else if (parameter->GetValueAsString(&s))
      mChunkParser.AddString(id, s);
  }
}

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* oNumChunks) const
{
  if (!oNumChunks) return AAX_ERROR_NULL_ARGUMENT;
  *oNumChunks = 1;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t iIndex,
                                                      AAX_CTypeID* oChunkID) const
{
  if (!oChunkID) return AAX_ERROR_NULL_ARGUMENT;
  if (iIndex != 0)
  {
    *oChunkID = 0;
    return AAX_ERROR_INVALID_CHUNK_INDEX;
  }
  *oChunkID = AAX_kEffectParametersChunkID;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID iChunkID, uint32_t* oSize) const
{
  if (!oSize) return AAX_ERROR_NULL_ARGUMENT;
  if (iChunkID != AAX_kEffectParametersChunkID)
  {
    *oSize = 0;
    return AAX_ERROR_INVALID_CHUNK_ID;
  }
  BuildChunkData();
  mChunkSize = static_cast<int32_t>(mChunkParser.GetChunkDataSize());
  if (mChunkSize < 0) return AAX_ERROR_INCORRECT_CHUNK_SIZE;
  *oSize = static_cast<uint32_t>(mChunkSize);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID iChunkID, AAX_SPlugInChunk* oChunk) const
{
  if (iChunkID != AAX_kEffectParametersChunkID) return AAX_ERROR_INVALID_CHUNK_ID;
  if (!oChunk) return AAX_ERROR_NULL_ARGUMENT;
  // The host sized the record from GetChunkSize: writing a different size
  // would overrun it or leave it short.
  BuildChunkData();
  const int32_t size = static_cast<int32_t>(mChunkParser.GetChunkDataSize());
  if (size != mChunkSize || mChunkSize == 0) return AAX_ERROR_INCORRECT_CHUNK_SIZE;

  oChunk->fVersion = mChunkParser.GetChunkVersion();
  std::memset(oChunk->fName, 0, sizeof(oChunk->fName));
  std::strncpy(reinterpret_cast<char*>(oChunk->fName), AAX_kEffectParametersChunkName,
               sizeof(oChunk->fName) - 1);
  return mChunkParser.GetChunkData(oChunk);
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID iChunkID, const AAX_SPlugInChunk* iChunk)
{
  if (iChunkID != AAX_kEffectParametersChunkID) return AAX_ERROR_INVALID_CHUNK_ID;
  if (!iChunk) return AAX_ERROR_NULL_ARGUMENT;
  // A record that is not parser data simply yields no entries.
  mChunkParser.LoadChunk(iChunk);

  int32_t numParameters = 0;
  GetNumberOfParameters(&numParameters);
  for (int32_t index = 0; index < numParameters; ++index)
  {
    AAX_IParameter* parameter = mParameterManager.GetParameter(index);
    if (!parameter) continue;
    const char* id = parameter->Identifier();
    if (mFilteredParameters.count(id)) continue;

    // Each entry applies only to a parameter of its kind; the others keep
    // their values. Applying is a SetValue, so with an automation delegate
    // the value arrives through the host's echo.
    float f = 0;
    int32_t i = 0;
    bool b = false;
    double d = 0;
    AAX_CString s;
    if (parameter->GetValueAsFloat(&f))
    {
      if (mChunkParser.FindDouble(id, &d)) parameter->SetValueWithFloat(NarrowToFloat(d));
    }
    else if (parameter->GetValueAsInt32(&i))
    {
      if (mChunkParser.FindInt32(id, &i)) parameter->SetValueWithInt32(i);
    }
    else if (parameter->GetValueAsBool(&b))
    {
      if (mChunkParser.FindInt32(id, &i)) parameter->SetValueWithBool(i != 0);
    }
    else if (parameter->GetValueAsDouble(&d))
    {
      if (mChunkParser.FindDouble(id, &d)) parameter->SetValueWithDouble(d);
    }
    else if (parameter->GetValueAsString(&s))
    {
      if (mChunkParser.FindString(id, &s)) parameter->SetValueWithString(s);
    }
  }
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* iChunk,
                                                     AAX_CBoolean* oIsEqual) const
{
  if (!iChunk || !oIsEqual) return AAX_ERROR_NULL_ARGUMENT;
  // Another plug-in's or another version's chunk says nothing about our state.
  if (iChunk->fChunkID != AAX_kEffectParametersChunkID)
  {
    *oIsEqual = 1;
    return AAX_SUCCESS;
  }
  *oIsEqual = 0;
  mChunkParser.LoadChunk(iChunk);

  int32_t numParameters = 0;
  GetNumberOfParameters(&numParameters);
  for (int32_t index = 0; index < numParameters; ++index)
  {
    const AAX_IParameter* parameter = mParameterManager.GetParameter(index);
    if (!parameter)
    {
      ReportMissingParameter(__LINE__);
      continue;
    }
    const char* id = parameter->Identifier();
    if (mFilteredParameters.count(id)) continue;

    // A missing entry, one of another kind or another value is a difference;
    // floating values count as equal when they agree in single precision.
    float f = 0;
    int32_t i = 0;
    bool b = false;
    double d = 0;
    double entryD = 0;
    int32_t entryI = 0;
    AAX_CString s;
    AAX_CString entryS;
    bool same = true;
    if (parameter->GetValueAsFloat(&f))
      same = mChunkParser.FindDouble(id, &entryD) && NarrowToFloat(entryD) == f;
    else if (parameter->GetValueAsInt32(&i))
      same = mChunkParser.FindInt32(id, &entryI) && entryI == i;
    else if (parameter->GetValueAsBool(&b))
      same = mChunkParser.FindInt32(id, &entryI) && (entryI != 0) == b;
    else if (parameter->GetValueAsDouble(&d))
      same = mChunkParser.FindDouble(id, &entryD) && NarrowToFloat(entryD) == NarrowToFloat(d);
    else if (parameter->GetValueAsString(&s))
      same = mChunkParser.FindString(id, &entryS) && entryS == s;
    if (!same) return AAX_SUCCESS;
  }
  *oIsEqual = 1;
  return AAX_SUCCESS;
}

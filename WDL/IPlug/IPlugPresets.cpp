// Presets: making, restoring and serialising the preset list.

#include "IPlugBase.h"
#include "base64encdec.h"

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{
// Preset names are kept as NUL-terminated prefixes of at most 255 bytes.
void CopyPresetName(IPreset* pPreset, const char* pName)
{
  std::snprintf(pPreset->mName, sizeof(pPreset->mName), "%s", pName ? pName : "");
}

// Marks a preset that may be filled, or null.
IPreset* TakeNextUninitialized(WDL_PtrList<IPreset>* pPresets, const char* pName)
{
  IPreset* preset = GetNextUninitializedPreset(pPresets);
  if (!preset) return nullptr;
  preset->mInitialized = true;
  CopyPresetName(preset, pName);
  preset->mChunk.Clear();
  return preset;
}

// Value of the next variadic argument for a parameter: ints for the
// switch-like kinds, doubles for the rest.
double NextValue(const IParam* param, va_list& vp)
{
  switch (param->Type())
  {
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum: return static_cast<double>(va_arg(vp, int));
  default: return va_arg(vp, double);
  }
}
} // namespace

IPreset* GetNextUninitializedPreset(WDL_PtrList<IPreset>* pPresets)
{
  for (int i = 0, n = pPresets->GetSize(); i < n; ++i)
  {
    IPreset* preset = pPresets->Get(i);
    if (!preset->mInitialized) return preset;
  }
  return nullptr;
}

void MakeDefaultUserPresetName(WDL_PtrList<IPreset>* pPresets, char* pName)
{
  int nDefaultNames = 0;
  for (int i = 0, n = pPresets->GetSize(); i < n; ++i)
    if (std::strstr(pPresets->Get(i)->mName, "user preset")) ++nDefaultNames;
  std::snprintf(pName, IPreset::kMaxPresetNameLen, "%s %d", "user preset", nDefaultNames + 1);
}

void IPlugBase::MakeDefaultPreset(const char* pName, int nPresets)
{
  for (int i = 0; i < nPresets; ++i)
  {
    IPreset* preset = TakeNextUninitialized(&mPresets, pName ? pName : "Empty");
    if (preset) SerializeState(&preset->mChunk);
  }
}

bool IPlugBase::MakePreset(const char* pName, ...)
{
  IPreset* preset = TakeNextUninitialized(&mPresets, pName);
  if (!preset) return false;
  va_list vp;
  va_start(vp, pName);
  for (int i = 0, n = NParams(); i < n; ++i)
  {
    const double v = NextValue(GetParam(i), vp);
    preset->mChunk.Put(&v);
  }
  va_end(vp);
  return true;
}

bool IPlugBase::MakePresetFromNamedParams(const char* pName, int nParamsNamed, ...)
{
  IPreset* preset = TakeNextUninitialized(&mPresets, pName);
  if (!preset) return false;

  // Entries still holding the marker take the live value: an explicit value
  // equal to the marker is indistinguishable from a parameter left out.
  constexpr double kUnsetMarker = 9.999e-8;
  const int n = NParams();
  WDL_TypedBuf<double> values;
  values.Resize(n);
  for (int i = 0; i < n; ++i) values.Get()[i] = kUnsetMarker;

  va_list vp;
  va_start(vp, nParamsNamed);
  for (int i = 0; i < nParamsNamed; ++i)
  {
    const int paramIdx = va_arg(vp, int);
    assert(paramIdx >= 0 && paramIdx < n);
    if (paramIdx < 0 || paramIdx >= n)
    {
      // The value's type is unknown without a parameter; stop reading the
      // argument list rather than misread it.
      break;
    }
    values.Get()[paramIdx] = NextValue(GetParam(paramIdx), vp);
  }
  va_end(vp);

  for (int i = 0; i < n; ++i)
  {
    double v = values.Get()[i];
    if (v == kUnsetMarker) v = GetParam(i)->Value();
    preset->mChunk.Put(&v);
  }
  return true;
}

bool IPlugBase::MakePresetFromChunk(const char* pName, ByteChunk* pChunk)
{
  IPreset* preset = TakeNextUninitialized(&mPresets, pName);
  if (!preset) return false;
  preset->mChunk.PutChunk(pChunk);
  return true;
}

bool IPlugBase::MakePresetFromBlob(const char* pName, const char* pBlob, int sizeOfChunk)
{
  ByteChunk presetChunk;
  presetChunk.Resize(sizeOfChunk);
  base64decode(pBlob, presetChunk.GetBytes(), sizeOfChunk);
  return MakePresetFromChunk(pName, &presetChunk);
}

void IPlugBase::EnsureDefaultPreset() { MakeDefaultPreset("Empty", NPresets()); }

void IPlugBase::PruneUninitializedPresets()
{
  // The current index follows its preset to its new position.
  const IPreset* current = mPresets.Get(mCurrentPresetIdx);
  for (int i = 0; i < mPresets.GetSize();)
  {
    IPreset* preset = mPresets.Get(i);
    if (preset->mInitialized)
    {
      ++i;
      continue;
    }
    if (preset == current) current = nullptr;
    mPresets.Delete(i, true);
  }
  const int idx = current ? mPresets.Find(current) : -1;
  mCurrentPresetIdx = idx >= 0 ? idx : 0;
}

bool IPlugBase::RestorePreset(int idx)
{
  if (idx < 0 || idx >= NPresets()) return false;
  IPreset* preset = mPresets.Get(idx);
  bool restoredOK;
  if (preset->mInitialized)
  {
    restoredOK = UnserializeState(&preset->mChunk, 0) > 0;
  }
  else
  {
    preset->mInitialized = true;
    MakeDefaultUserPresetName(&mPresets, preset->mName);
    preset->mChunk.Clear();
    restoredOK = SerializeState(&preset->mChunk);
  }
  if (restoredOK)
  {
    mCurrentPresetIdx = idx;
    PresetsChangedByHost();
    RedrawParamControls();
  }
  return restoredOK;
}

bool IPlugBase::RestorePreset(const char* pName)
{
  if (!pName || !*pName) return false;
  for (int i = 0, n = NPresets(); i < n; ++i)
    if (!std::strcmp(mPresets.Get(i)->mName, pName)) return RestorePreset(i);
  return false;
}

const char* IPlugBase::GetPresetName(int idx)
{
  const IPreset* preset = mPresets.Get(idx);
  return preset ? preset->mName : "";
}

void IPlugBase::ModifyCurrentPreset(const char* pName)
{
  IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!preset) return;
  preset->mChunk.Clear();
  SerializeState(&preset->mChunk);
  if (pName && *pName) CopyPresetName(preset, pName);
}

bool IPlugBase::SerializePresets(ByteChunk* pChunk)
{
  bool savedOK = true;
  for (int i = 0, n = NPresets(); i < n && savedOK; ++i)
  {
    IPreset* preset = mPresets.Get(i);
    pChunk->PutStr(preset->mName);
    pChunk->PutBool(preset->mInitialized);
    if (preset->mInitialized) savedOK &= (pChunk->PutChunk(&preset->mChunk) > 0);
  }
  return savedOK;
}

int IPlugBase::UnserializePresets(ByteChunk* pChunk, int startPos)
{
  WDL_String name;
  int pos = startPos;
  for (int i = 0, n = NPresets(); i < n && pos >= 0; ++i)
  {
    IPreset* preset = mPresets.Get(i);
    // A record cut short leaves this preset exactly as it was.
    name.Set("");
    bool initialized = false;
    pos = pChunk->GetStr(&name, pos);
    pos = pChunk->GetBool(&initialized, pos);
    if (pos < 0) break;
    if (initialized)
    {
      // Loads the stored state into the live parameters; the current preset
      // is restored after the loop, whatever happens here.
      pos = UnserializeState(pChunk, pos);
      if (pos <= 0) break; // cut short: this preset keeps what it had
      preset->mChunk.Clear();
      SerializeState(&preset->mChunk); // as the running plug-in encodes it
    }
    else
    {
      preset->mChunk.Clear(); // an uninitialised preset holds no state
    }
    CopyPresetName(preset, name.Get());
    preset->mInitialized = initialized;
  }
  RestorePreset(mCurrentPresetIdx);
  return pos;
}

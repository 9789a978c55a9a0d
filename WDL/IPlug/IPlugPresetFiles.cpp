// Program and bank files in the VST 2 fxProgram / fxBank layouts, and the
// developer dumps. All 32-bit file fields are big-endian; the state inside a
// chunk-form file is the plug-in's own native-order state, after the
// framework version header.

#include "IPlugBase.h"
#include "base64encdec.h"
#include "wdlendian.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
constexpr int kNameFieldLen = 28;      // name field of program files
constexpr int kProgramHeaderLen = 56;  // up to the first parameter / state length
constexpr int kBankReservedLen = 124;  // zero bytes after the current preset index

const uint32_t kCcnK = WDL_FourCC("CcnK");
const uint32_t kFPCh = WDL_FourCC("FPCh");
const uint32_t kFxCk = WDL_FourCC("FxCk");
const uint32_t kFBCh = WDL_FourCC("FBCh");
const uint32_t kFxBk = WDL_FourCC("FxBk");

void PutBE(ByteChunk* pChunk, uint32_t v)
{
  unsigned char b[4];
  WDL_WriteBE32(b, v);
  pChunk->PutBytes(b, 4);
}

void PutBEFloat(ByteChunk* pChunk, float f) { PutBE(pChunk, WDL_bswap32_if_le(WDL_FloatToBE32(f))); }

// The seven big-endian fields at the start of a program (and of a bank,
// whose seventh field counts presets instead of parameters).
struct ProgramFields
{
  uint32_t magic, byteSize, form, formatVersion, id, version, count;
};

// A reader over a file's bytes that never reads past the end: every read
// after a failed one fails too.
class FileReader
{
public:
  explicit FileReader(const ByteChunk* pChunk) : mChunk(pChunk) {}

  bool BE(uint32_t* pV)
  {
    unsigned char b[4];
    mPos = mChunk->GetBytes(b, 4, mPos);
    if (mPos < 0) return false;
    *pV = WDL_ReadBE32(b);
    return true;
  }
  bool BEFloat(float* pF)
  {
    uint32_t v;
    if (!BE(&v)) return false;
    *pF = WDL_BE32ToFloat(WDL_bswap32_if_le(v));
    return true;
  }
  bool Fields(ProgramFields* f)
  {
    return BE(&f->magic) && BE(&f->byteSize) && BE(&f->form) && BE(&f->formatVersion) &&
           BE(&f->id) && BE(&f->version) && BE(&f->count);
  }
  // The 28-byte name, used up to its first zero byte or whole.
  bool Name(char* pName)
  {
    char field[kNameFieldLen];
    mPos = mChunk->GetBytes(field, kNameFieldLen, mPos);
    if (mPos < 0) return false;
    size_t n = 0;
    while (n < sizeof(field) && field[n]) ++n;
    std::memcpy(pName, field, n);
    pName[n] = '\0';
    return true;
  }
  bool Skip(int n)
  {
    if (mPos < 0 || n < 0 || mPos + static_cast<int64_t>(n) > mChunk->Size()) return mFail();
    mPos += n;
    return true;
  }
  int Pos() const { return mPos; }
  void SetPos(int pos) { mPos = pos; }
  int Remaining() const { return mPos < 0 ? 0 : mChunk->Size() - mPos; }

private:
  bool mFail()
  {
    mPos = -1;
    return false;
  }
  const ByteChunk* mChunk;
  int mPos = 0;
};

// A normalised value from a file: anything outside [0, 1] (NaN included)
// is brought into range so a bad file cannot push a parameter out of it.
double SafeNormalized(float f)
{
  if (!(f > 0.0f)) return 0.0;
  return f < 1.0f ? static_cast<double>(f) : 1.0;
}

void PutName(ByteChunk* pChunk, const char* pName)
{
  // At most 27 characters, so the field always ends in a zero byte.
  char field[kNameFieldLen] = {};
  const size_t n = strnlen(pName, kNameFieldLen - 1);
  std::memcpy(field, pName, n);
  pChunk->PutBytes(field, kNameFieldLen);
}

bool ReadFile(const char* pFileName, ByteChunk* pOut)
{
  if (!pFileName || !*pFileName) return false;
  std::unique_ptr<FILE, int (*)(FILE*)> fp(std::fopen(pFileName, "rb"), &std::fclose);
  if (!fp) return false;
  unsigned char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), fp.get())) > 0)
  {
    if (pOut->Size() > INT32_MAX - static_cast<int>(n)) return false; // too large for a chunk
    pOut->PutBytes(buf, static_cast<int>(n));
  }
  return !std::ferror(fp.get());
}

// The seven fields and the name that start every program.
void PutProgramHeader(ByteChunk* pOut, uint32_t byteSize, uint32_t form, IPlugBase* pPlug,
                      const char* pName)
{
  PutBE(pOut, kCcnK);
  PutBE(pOut, byteSize);
  PutBE(pOut, form);
  PutBE(pOut, 1);
  PutBE(pOut, static_cast<uint32_t>(pPlug->GetUniqueID()));
  PutBE(pOut, static_cast<uint32_t>(pPlug->GetEffectVersion(true)));
  PutBE(pOut, static_cast<uint32_t>(pPlug->NParams()));
  PutName(pOut, pName);
}

bool WriteFile(const char* pFileName, const ByteChunk& data)
{
  if (!pFileName || !*pFileName) return false;
  FILE* fp = std::fopen(pFileName, "wb");
  if (!fp) return false;
  const size_t n = static_cast<size_t>(data.Size());
  const bool ok = std::fwrite(data.GetBytes(), 1, n, fp) == n;
  return (std::fclose(fp) == 0) && ok;
}
} // namespace

void IPlugBase::InitChunkWithIPlugVer(ByteChunk* pChunk)
{
  pChunk->Clear();
  const int magic = static_cast<int>(WDL_bswap32_if_le(WDL_FourCC("tffp")));
  const int ver = kIPlugVersion;
  pChunk->Put(&magic);
  pChunk->Put(&ver);
}

int IPlugBase::GetIPlugVerFromChunk(ByteChunk* pChunk, int* pPos)
{
  const int expected = static_cast<int>(WDL_bswap32_if_le(WDL_FourCC("tffp")));
  int magic = 0, ver = 0;
  const int pos = pChunk->Get(&magic, *pPos);
  if (pos > *pPos && magic == expected)
  {
    const int end = pChunk->Get(&ver, pos);
    if (end < 0) return 0;
    *pPos = end;
    return ver;
  }
  return 0;
}

bool IPlugBase::MakeProgramFXPData(ByteChunk* pOut)
{
  const bool chunks = DoesStateChunks();
  ByteChunk state;
  if (chunks)
  {
    InitChunkWithIPlugVer(&state);
    if (!SerializeState(&state)) return false;
  }
  PutProgramHeader(pOut, chunks ? static_cast<uint32_t>(state.Size() + 60) : 0u,
                   chunks ? kFPCh : kFxCk, this, GetPresetName(GetCurrentPresetIdx()));
  if (chunks)
  {
    PutBE(pOut, static_cast<uint32_t>(state.Size()));
    pOut->PutChunk(&state);
  }
  else
  {
    for (int i = 0, n = NParams(); i < n; ++i)
      PutBEFloat(pOut, static_cast<float>(GetParam(i)->GetNormalized()));
  }
  return true;
}

bool IPlugBase::MakeBankFXBData(ByteChunk* pOut)
{
  const bool chunks = DoesStateChunks();
  ByteChunk bank;
  if (chunks)
  {
    InitChunkWithIPlugVer(&bank);
    if (!SerializePresets(&bank)) return false;
  }
  PutBE(pOut, kCcnK);
  PutBE(pOut, chunks ? static_cast<uint32_t>(bank.Size() + 160) : 0u);
  PutBE(pOut, chunks ? kFBCh : kFxBk);
  PutBE(pOut, 2);
  PutBE(pOut, static_cast<uint32_t>(GetUniqueID()));
  PutBE(pOut, static_cast<uint32_t>(GetEffectVersion(true)));
  PutBE(pOut, static_cast<uint32_t>(NPresets()));
  PutBE(pOut, static_cast<uint32_t>(GetCurrentPresetIdx()));
  const unsigned char reserved[kBankReservedLen] = {};
  pOut->PutBytes(reserved, kBankReservedLen);
  if (chunks)
  {
    PutBE(pOut, static_cast<uint32_t>(bank.Size()));
    pOut->PutChunk(&bank);
    return true;
  }
  for (int p = 0, nPresets = NPresets(); p < nPresets; ++p)
  {
    IPreset* preset = mPresets.Get(p);
    PutProgramHeader(pOut, 0, kFxCk, this, preset->mName);
    int pos = 0;
    for (int i = 0, n = NParams(); i < n; ++i)
    {
      double v = 0.0;
      pos = preset->mChunk.Get(&v, pos);
      if (pos < 0) v = 0.0; // a shorter chunk reads as zeros from here on
      PutBEFloat(pOut, static_cast<float>(GetParam(i)->GetNormalized(v)));
    }
  }
  return true;
}

bool IPlugBase::SaveProgramAsFXP(const char* defaultFileName)
{
  if (!defaultFileName || !*defaultFileName) return false;
  ByteChunk data;
  return MakeProgramFXPData(&data) && WriteFile(defaultFileName, data);
}

bool IPlugBase::SaveBankAsFXB(const char* defaultFileName)
{
  if (!defaultFileName || !*defaultFileName) return false;
  ByteChunk data;
  return MakeBankFXBData(&data) && WriteFile(defaultFileName, data);
}

bool IPlugBase::LoadProgramFromFXP(const char* defaultFileName)
{
  ByteChunk data;
  return ReadFile(defaultFileName, &data) && LoadProgramFromFXPData(&data);
}

bool IPlugBase::LoadBankFromFXB(const char* defaultFileName)
{
  ByteChunk data;
  return ReadFile(defaultFileName, &data) && LoadBankFromFXBData(&data);
}

bool IPlugBase::LoadProgramFromFXPData(const ByteChunk* pFile)
{
  FileReader in(pFile);
  ProgramFields f;
  char name[kNameFieldLen + 1];
  if (!(in.Fields(&f) && in.Name(name))) return false;
  if (f.magic != kCcnK || f.formatVersion != 1 || f.id != static_cast<uint32_t>(GetUniqueID()))
    return false;

  if (f.form == kFPCh && DoesStateChunks())
  {
    uint32_t stateLen;
    if (!in.BE(&stateLen)) return false;
    ByteChunk* file = const_cast<ByteChunk*>(pFile); // readers never modify it
    int pos = in.Pos();
    GetIPlugVerFromChunk(file, &pos);
    // Keep the live state so a state that cannot be read changes nothing.
    ByteChunk backup;
    SerializeState(&backup);
    if (UnserializeState(file, pos) < 0)
    {
      UnserializeState(&backup, 0);
      return false;
    }
  }
  else if (f.form == kFxCk)
  {
    // Every value must be there before any parameter changes. The writes
    // hold the plug-in mutex so a render in progress never sees half a
    // program; RestorePreset below tells the plug-in about the new values.
    const int n = NParams();
    if (in.Remaining() < 4 * static_cast<int64_t>(n)) return false;
    IMutexLock lock(this);
    for (int i = 0; i < n; ++i)
    {
      float v = 0.0f;
      in.BEFloat(&v);
      GetParam(i)->SetNormalized(SafeNormalized(v));
    }
  }
  else
  {
    return false;
  }
  ModifyCurrentPreset(name);
  RestorePreset(GetCurrentPresetIdx());
  InformHostOfProgramChange();
  return true;
}

bool IPlugBase::LoadBankFromFXBData(const ByteChunk* pFile)
{
  FileReader in(pFile);
  ProgramFields f;
  uint32_t currentPreset;
  if (!(in.Fields(&f) && in.BE(&currentPreset) && in.Skip(kBankReservedLen))) return false;
  if (f.magic != kCcnK || f.id != static_cast<uint32_t>(GetUniqueID())) return false;

  if (f.form == kFBCh && DoesStateChunks())
  {
    uint32_t bankLen;
    if (!in.BE(&bankLen)) return false;
    ByteChunk* file = const_cast<ByteChunk*>(pFile); // readers never modify it
    int pos = in.Pos();
    GetIPlugVerFromChunk(file, &pos);
    // A bank cut short would leave some presets loaded and others not:
    // keep the old bank and put it back when the new one fails.
    ByteChunk backup;
    SerializePresets(&backup);
    if (UnserializePresets(file, pos) < 0)
    {
      UnserializePresets(&backup, 0);
      return false;
    }
    InformHostOfProgramChange();
    return true;
  }
  if (f.form != kFxBk) return false;

  // Check every program before changing anything, so a bad bank changes
  // no preset.
  const int n = NParams();
  const int programStart = in.Pos();
  const int64_t programLen = kProgramHeaderLen + 4 * static_cast<int64_t>(n);
  const uint32_t nPresets = f.count < static_cast<uint32_t>(NPresets())
                                ? f.count
                                : static_cast<uint32_t>(NPresets());
  for (uint32_t p = 0; p < nPresets; ++p)
  {
    ProgramFields pf;
    if (!in.Fields(&pf)) return false;
    if (pf.magic != kCcnK || pf.form != kFxCk || pf.formatVersion != 1 ||
        pf.count != static_cast<uint32_t>(n))
      return false;
    if (!in.Skip(static_cast<int>(programLen - 28))) return false;
  }

  in.SetPos(programStart);
  for (uint32_t p = 0; p < nPresets; ++p)
  {
    char name[kNameFieldLen + 1];
    in.Skip(28);
    in.Name(name);
    RestorePreset(static_cast<int>(p));
    {
      IMutexLock lock(this);
      for (int i = 0; i < n; ++i)
      {
        float v = 0.0f;
        in.BEFloat(&v);
        GetParam(i)->SetNormalized(SafeNormalized(v));
      }
    }
    ModifyCurrentPreset(name);
  }
  RestorePreset(static_cast<int>(currentPreset));
  InformHostOfProgramChange();
  return true;
}

void IPlugBase::DumpPresetSrcCode(const char* filename, const char* paramEnumNames[])
{
  FILE* fp = filename ? std::fopen(filename, "w") : nullptr;
  if (!fp) return;
  const int n = NParams();
  std::fprintf(fp, "  MakePresetFromNamedParams(\"name\", %d", n);
  for (int i = 0; i < n; ++i)
  {
    const IParam* param = GetParam(i);
    char paramVal[32];
    switch (param->Type())
    {
    case IParam::kTypeBool: std::snprintf(paramVal, sizeof(paramVal), "%s", param->Bool() ? "true" : "false"); break;
    case IParam::kTypeInt:
    case IParam::kTypeEnum: std::snprintf(paramVal, sizeof(paramVal), "%d", param->Int()); break;
    default: std::snprintf(paramVal, sizeof(paramVal), "%.6f", param->Value()); break;
    }
    std::fprintf(fp, ",\n    %s, %s", paramEnumNames[i], paramVal);
  }
  std::fprintf(fp, ");\n");
  std::fclose(fp);
}

namespace
{
// The Base64 text of a chunk, sized to the chunk.
std::vector<char> Base64Of(const ByteChunk& chunk)
{
  std::vector<char> text(static_cast<size_t>(Base64EncodedSize(chunk.Size())));
  base64encode(chunk.GetBytes(), text.data(), chunk.Size());
  return text;
}
} // namespace

void IPlugBase::DumpPresetBlob(const char* filename)
{
  FILE* fp = filename ? std::fopen(filename, "w") : nullptr;
  if (!fp) return;
  IPreset* preset = mPresets.Get(GetCurrentPresetIdx());
  if (preset)
  {
    std::fprintf(fp, "MakePresetFromBlob(\"name\", \"");
    std::fprintf(fp, "%s\", %i);\n", Base64Of(preset->mChunk).data(), preset->mChunk.Size());
  }
  std::fclose(fp);
}

void IPlugBase::DumpBankBlob(const char* filename)
{
  FILE* fp = filename ? std::fopen(filename, "w") : nullptr;
  if (!fp) return;
  for (int i = 0, n = NPresets(); i < n; ++i)
  {
    IPreset* preset = mPresets.Get(i);
    std::fprintf(fp, "MakePresetFromBlob(\"%s\", \"", preset->mName);
    std::fprintf(fp, "%s\", %i);\n", Base64Of(preset->mChunk).data(), preset->mChunk.Size());
  }
  std::fclose(fp);
}

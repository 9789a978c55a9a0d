// Text, caption, URL, file-selector and picture-text controls.
#include "IControl.h"

#include "IParam.h"
#include "IPlugBase.h"

#include <cstring>

namespace
{
void CopyInto(char* dst, const char* src, size_t size)
{
  std::strncpy(dst, src ? src : "", size - 1);
  dst[size - 1] = '\0';
}
} // namespace

ITextControl::ITextControl(IPlugBase* pPlug, IRECT pR, IText* pText, const char* str)
    : IControl(pPlug, pR)
{
  if (pText) mText = *pText;
  mStr.Set(str ? str : "");
}

void ITextControl::SetTextFromPlug(const char* str)
{
  if (!str) str = "";
  if (strcmp(mStr.Get(), str))
  {
    SetDirty(false);
    mStr.Set(str);
  }
}

bool ITextControl::Draw(IGraphics* pGraphics)
{
  const char* cStr = mStr.Get();
  if (!cStr[0]) return true;
  return pGraphics->DrawIText(&mText, cStr, &mRECT);
}

ICaptionControl::ICaptionControl(IPlugBase* pPlug, IRECT pR, int paramIdx, IText* pText,
                                 bool showParamLabel)
    : ITextControl(pPlug, pR, pText), mShowParamLabel(showParamLabel)
{
  mParamIdx = paramIdx;
  // Its clicks exist to prompt for a value.
  mDisablePrompt = false;
}

void ICaptionControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* pMod)
{
  if (pMod && (pMod->L || pMod->R)) PromptUserInput();
}

void ICaptionControl::OnMouseDblClick(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  PromptUserInput();
}

bool ICaptionControl::Draw(IGraphics* pGraphics)
{
  if (IParam* pParam = GetParam())
  {
    char cStr[64];
    pParam->GetDisplayForHost(cStr);
    mStr.Set(cStr);
    if (mShowParamLabel)
    {
      mStr.Append(" ");
      mStr.Append(pParam->GetLabelForHost());
    }
  }
  return ITextControl::Draw(pGraphics);
}

IURLControl::IURLControl(IPlugBase* pPlug, IRECT pR, const char* url, const char* backupURL,
                         const char* errMsgOnFailure)
    : IControl(pPlug, pR)
{
  CopyInto(mURL, url, sizeof(mURL));
  CopyInto(mBackupURL, backupURL, sizeof(mBackupURL));
  CopyInto(mErrMsg, errMsgOnFailure, sizeof(mErrMsg));
}

void IURLControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  IGraphics* pGraphics = GetGUI();
  if (!pGraphics) return;
  bool opened = false;
  if (mURL[0]) opened = pGraphics->OpenURL(mURL, nullptr, nullptr, mErrMsg);
  if (!opened && mBackupURL[0]) pGraphics->OpenURL(mBackupURL, nullptr, nullptr, mErrMsg);
}

IFileSelectorControl::IFileSelectorControl(IPlugBase* pPlug, IRECT pR, int paramIdx,
                                           IBitmap* pBitmap, IGraphics::EFileAction action,
                                           const char* dir, const char* extensions)
    : IControl(pPlug, pR, paramIdx), mBitmap(*pBitmap), mFileAction(action)
{
  mDir.Set(dir ? dir : "");
  mExtensions.Set(extensions ? extensions : "");
}

void IFileSelectorControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  IGraphics* pGraphics = GetGUI();
  if (!pGraphics) return;
  mState = kFSSelecting;
  SetDirty(false);
  pGraphics->PromptForFile(&mFile, mFileAction, &mDir, mExtensions.Get());
  mValue += 1.0;
  if (mValue > 1.0) mValue = 0.0;
  mState = kFSDone;
  SetDirty();
}

bool IFileSelectorControl::Draw(IGraphics* pGraphics)
{
  if (mState == kFSSelecting) pGraphics->DrawBitmap(&mBitmap, &mRECT, 0, 0, &mBlend);
  return true;
}

bool IFileSelectorControl::IsDirty()
{
  if (mDirty) return true;
  if (mState == kFSDone)
  {
    mState = kFSNone;
    return true;
  }
  return false;
}

IBitmapTextControl::IBitmapTextControl(IPlugBase* pPlug, IRECT pR, IBitmap* pBitmap,
                                       const char* str, IText* pText, int charWidth,
                                       int charHeight, int charOffset, bool multiLine,
                                       bool vCenter)
    : IControl(pPlug, pR), mTextBitmap(*pBitmap), mCharWidth(charWidth), mCharHeight(charHeight),
      mCharOffset(charOffset), mMultiLine(multiLine), mVCenter(vCenter)
{
  mStr.Set(str ? str : "");
  if (pText) mText = *pText;
}

void IBitmapTextControl::SetTextFromPlug(const char* str)
{
  if (!str) str = "";
  if (strcmp(mStr.Get(), str))
  {
    SetDirty(false);
    mStr.Set(str);
  }
}

bool IBitmapTextControl::Draw(IGraphics* pGraphics)
{
  const char* cStr = mStr.Get();
  if (!cStr[0] || mCharWidth < 1) return true;
  const int len = mStr.GetLength();
  const int W = mRECT.W();
  const int y0 = mVCenter ? mRECT.T + (mRECT.H() - mCharHeight) / 2 : mRECT.T;
  int x0 = mRECT.L;
  if (mText.mAlign == IText::kAlignCenter)
    x0 = mRECT.L + (W - mCharWidth * len) / 2;
  else if (mText.mAlign == IText::kAlignFar)
    x0 = mRECT.R - mCharWidth * len;

  int perLine = W / mCharWidth, nLines = 1;
  if (mMultiLine)
  {
    if (mCharWidth * len > W && W > 0)
      nLines = (mCharWidth * len) / W + 1;
    else
      perLine = len;
  }
  int idx = 0;
  for (int line = 0; line < nLines; ++line)
    for (int col = 0; col < perLine; ++col)
    {
      if (!cStr[idx]) return true;
      const int frame = (int)(unsigned char)cStr[idx++] - 31;
      const int x = x0 + col * (mCharWidth + mCharOffset);
      const int y = y0 + line * mCharHeight;
      IRECT chr(x, y, x + mCharWidth, y + mCharHeight);
      pGraphics->DrawBitmap(&mTextBitmap, &chr, frame, &mBlend);
    }
  return true;
}

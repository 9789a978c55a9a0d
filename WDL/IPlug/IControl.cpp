// IControl: the base control's value, dirty and prompt handling.
#include "IControl.h"

#include "IParam.h"
#include "IPlugBase.h"

#include <cassert>

IControl::IControl(IPlugBase* pPlug, IRECT pR, int paramIdx, IChannelBlend blendMethod)
    : mPlug(pPlug), mRECT(pR), mTargetRECT(pR), mParamIdx(paramIdx), mBlend(blendMethod)
{
}

IParam* IControl::GetParam()
{
  return mPlug ? mPlug->GetParam(mParamIdx) : nullptr;
}

IGraphics* IControl::GetGUI()
{
  return mPlug ? mPlug->GetGUI() : nullptr;
}

void IControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* pMod)
{
  if (pMod && pMod->R) PromptUserInput();
}

void IControl::OnMouseDblClick(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  if (mDefaultValue >= 0.0)
  {
    mValue = mDefaultValue;
    SetDirty();
  }
}

void IControl::SetValueFromPlug(double value)
{
  if (mDefaultValue < 0.0) mDefaultValue = mValue = value;
  if (mValue != value)
  {
    mValue = value;
    SetDirty(false);
    Redraw();
  }
}

void IControl::SetValueFromUserInput(double value)
{
  if (mValue != value)
  {
    mValue = value;
    SetDirty();
    Redraw();
  }
}

void IControl::Hide(bool hide)
{
  mHide = hide;
  mRedraw = true;
  SetDirty(false);
}

void IControl::GrayOut(bool gray)
{
  mGrayed = gray;
  mBlend.mWeight = gray ? GRAYED_ALPHA : 1.0f;
  SetDirty(false);
}

void IControl::SetDirty(bool pushParamToPlug)
{
  // A NaN (a degenerate geometry's 0 / 0) is treated as below the range.
  if (!(mValue >= mClampLo))
    mValue = mClampLo;
  else if (mValue > mClampHi)
    mValue = mClampHi;
  mDirty = true;
  IParam* pParam = GetParam();
  if (!pParam) return;
  if (pushParamToPlug) mPlug->SetParameterFromGUI(mParamIdx, mValue);
  if (mValDisplayControl)
  {
    char display[64];
    pParam->GetDisplayForHost(display);
    WDL_String plusLabel;
    plusLabel.Set(display, IParam::kMaxNameLen);
    plusLabel.Append(" ", IParam::kMaxNameLen);
    plusLabel.Append(pParam->GetLabelForHost(), IParam::kMaxNameLen);
    mValDisplayControl->SetTextFromPlug(plusLabel.Get());
  }
  if (mNameDisplayControl) mNameDisplayControl->SetTextFromPlug(pParam->GetNameForHost());
}

void IControl::SetClean()
{
  mDirty = mRedraw;
  mRedraw = false;
}

void IControl::SetAuxParamValueFromPlug(int auxParamIdx, double value)
{
  AuxParam* pAux = GetAuxParam(auxParamIdx);
  if (!pAux || pAux->mValue == value) return;
  pAux->mValue = value;
  SetDirty(false);
  Redraw();
}

void IControl::PromptUserInput()
{
  if (mDisablePrompt) return;
  IParam* pParam = GetParam();
  IGraphics* pGraphics = GetGUI();
  if (!pParam || !pGraphics) return;
  if (pParam->GetNDisplayTexts())
  {
    pGraphics->PromptUserInput(this, pParam, &mRECT);
  }
  else
  {
    const int cX = (int)mRECT.MW(), cY = (int)mRECT.MH();
    IRECT txtRECT(cX - 20, cY - 8, cX + 20, cY + 8);
    pGraphics->PromptUserInput(this, pParam, &txtRECT);
  }
  Redraw();
}

void IControl::PromptUserInput(IRECT* pTextRect)
{
  if (mDisablePrompt) return;
  IParam* pParam = GetParam();
  IGraphics* pGraphics = GetGUI();
  if (!pParam || !pGraphics) return;
  pGraphics->PromptUserInput(this, pParam, pTextRect);
  Redraw();
}

void IControl::AddAuxParam(int paramIdx)
{
  assert(paramIdx > -1);
  if (!mPlug || !mPlug->GetParam(paramIdx)) return;
  AuxParam aux;
  aux.mParamIdx = paramIdx;
  mAuxParams.Add(aux);
}

IControl::AuxParam* IControl::GetAuxParam(int idx)
{
  assert(idx > -1 && idx < mAuxParams.GetSize());
  if (idx < 0 || idx >= mAuxParams.GetSize()) return nullptr;
  return mAuxParams.Get() + idx;
}

int IControl::AuxParamIdx(int paramIdx) const
{
  const AuxParam* p = mAuxParams.Get();
  for (int i = 0; i < mAuxParams.GetSize(); ++i)
    if (p[i].mParamIdx == paramIdx) return i;
  return -1;
}

void IControl::SetAllAuxParamsFromGUI()
{
  if (!mPlug) return;
  const AuxParam* p = mAuxParams.Get();
  for (int i = 0; i < mAuxParams.GetSize(); ++i)
    if (mPlug->GetParam(p[i].mParamIdx)) mPlug->SetParameterFromGUI(p[i].mParamIdx, p[i].mValue);
}

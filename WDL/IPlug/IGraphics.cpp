// IGraphics: construction, layout, parameter binding, prompts, dirty
// polling, drawing passes and event dispatch.
#include "IGraphics.h"

#include "AAX_IViewContainer.h"
#include "IControl.h"
#include "IPlugBase.h"
#include "IPopupMenu.h"
#include "lice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// The host's modifier bits for a click (shift, control, option, right button).
uint32_t HostModifiers(const IMouseMod* pMod)
{
  uint32_t m = 0;
  if (pMod->S) m |= 1;
  if (pMod->C) m |= 2;
  if (pMod->A) m |= 4;
  if (pMod->R) m |= 8 | 16;
  return m;
}
} // namespace

IGraphics::IGraphics(IPlugBase* pPlug, int w, int h, int refreshFPS)
    : mPlug(pPlug), mWidth(w), mHeight(h), mFPS(refreshFPS > 0 ? refreshFPS : 25),
      mGUIThread(std::this_thread::get_id())
{
  mNPending = pPlug ? pPlug->NParams() : 0;
  if (mNPending > 0)
  {
    mPendingValue.reset(new std::atomic<double>[static_cast<size_t>(mNPending)]);
    mPendingFlag.reset(new std::atomic<bool>[static_cast<size_t>(mNPending)]);
    for (int i = 0; i < mNPending; ++i)
    {
      mPendingValue[i].store(0.0, std::memory_order_relaxed);
      mPendingFlag[i].store(false, std::memory_order_relaxed);
    }
  }
}

IGraphics::~IGraphics()
{
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
  mControls.Empty(true);
  delete mDrawBitmap;
  delete mTmpBitmap;
}

void IGraphics::PrepDraw()
{
  delete mDrawBitmap;
  delete mTmpBitmap;
  mDrawBitmap = new LICE_SysBitmap(mWidth, mHeight);
  mTmpBitmap = new LICE_MemBitmap(0, 0, 4);
}

void IGraphics::Resize(int w, int h)
{
  mWidth = w;
  mHeight = h;
  ReleaseMouseCapture();
  mMouseOver = -1;
  mControls.Empty(true);
  delete mDrawBitmap;
  delete mTmpBitmap;
  mDrawBitmap = nullptr;
  mTmpBitmap = nullptr;
  PrepDraw();
  if (mPlug) mPlug->ResizeGraphics(w, h);
}

void IGraphics::AttachBackground(int ID, const char* name)
{
  IBitmap bg = LoadIBitmap(ID, name, 1, false);
  mControls.Insert(0, new IBitmapControl(mPlug, 0, 0, -1, &bg, IChannelBlend::kBlendClobber));
}

void IGraphics::AttachPanelBackground(const IColor* pColor)
{
  mControls.Insert(0, new IPanelControl(mPlug, IRECT(0, 0, mWidth, mHeight), pColor));
}

int IGraphics::AttachControl(IControl* pControl)
{
  mControls.Add(pControl);
  return mControls.GetSize() - 1;
}

void IGraphics::AttachKeyCatcher(IControl* pControl)
{
  if (mKeyCatcher != pControl) delete mKeyCatcher;
  mKeyCatcher = pControl;
}

void IGraphics::SetStrictDrawing(bool strict)
{
  mStrict = strict;
  SetAllControlsDirty();
}

unsigned int* IGraphics::GetBits()
{
  return mDrawBitmap ? mDrawBitmap->getBits() : nullptr;
}

// ---- Parameter binding ----

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized)
{
  IParam* pParam = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
  if (!pParam) return;
  if (!normalized) value = pParam->GetNormalized(value);
  if (paramIdx < mNPending && std::this_thread::get_id() != mGUIThread.load())
  {
    // Parked for the GUI thread; a later push of the same parameter wins.
    mPendingValue[paramIdx].store(value, std::memory_order_relaxed);
    mPendingFlag[paramIdx].store(true, std::memory_order_release);
    mAnyPending.store(true, std::memory_order_release);
    return;
  }
  if (paramIdx < mNPending) mPendingFlag[paramIdx].store(false, std::memory_order_relaxed);
  ApplyParameterFromPlug(paramIdx, value);
}

void IGraphics::ApplyParameterFromPlug(int paramIdx, double normalizedValue)
{
  for (int i = 0; i < mControls.GetSize(); ++i)
  {
    IControl* pControl = mControls.Get(i);
    if (pControl->ParamIdx() == paramIdx) pControl->SetValueFromPlug(normalizedValue);
    const int auxIdx = pControl->AuxParamIdx(paramIdx);
    if (auxIdx > -1) pControl->SetAuxParamValueFromPlug(auxIdx, normalizedValue);
  }
}

void IGraphics::ApplyPendingValues()
{
  if (!mAnyPending.exchange(false, std::memory_order_acquire)) return;
  for (int i = 0; i < mNPending; ++i)
    if (mPendingFlag[i].exchange(false, std::memory_order_acquire))
      ApplyParameterFromPlug(i, mPendingValue[i].load(std::memory_order_relaxed));
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue)
{
  if (IControl* pControl = mControls.Get(controlIdx)) pControl->SetValueFromPlug(normalizedValue);
}

void IGraphics::SetParameterFromGUI(int paramIdx, double normalizedValue)
{
  if (!mPlug || !mPlug->GetParam(paramIdx)) return;
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx)
      mControls.Get(i)->SetValueFromUserInput(normalizedValue);
}

void IGraphics::SetAllControlsDirty()
{
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->SetDirty(false);
}

void IGraphics::HideControl(int paramIdx, bool hide)
{
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->Hide(hide);
}

void IGraphics::GrayOutControl(int paramIdx, bool gray)
{
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->GrayOut(gray);
}

void IGraphics::ClampControl(int paramIdx, double lo, double hi, bool normalized)
{
  IParam* pParam = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
  if (!pParam) return;
  if (!normalized)
  {
    lo = pParam->GetNormalized(lo);
    hi = pParam->GetNormalized(hi);
  }
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (mControls.Get(i)->ParamIdx() == paramIdx) mControls.Get(i)->Clamp(lo, hi);
}

void IGraphics::AssignParamNameToolTips()
{
  for (int i = 0; i < mControls.GetSize(); ++i)
    if (IParam* pParam = mControls.Get(i)->GetParam())
      mControls.Get(i)->SetTooltip(pParam->GetNameForHost());
}

void IGraphics::PromptUserInput(IControl* pControl, IParam* pParam, IRECT* pTextRect)
{
  if (!pControl || !pParam || !pTextRect) return;
  char currentText[64];
  pParam->GetDisplayForHost(currentText);
  const IParam::EParamType type = pParam->Type();
  const int n = pParam->GetNDisplayTexts();
  if ((type == IParam::kTypeEnum || type == IParam::kTypeBool) && n > 0)
  {
    IPopupMenu menu;
    for (int i = 0; i < n; ++i)
    {
      const char* str = pParam->GetDisplayTextAtIdx(i);
      menu.AddItem(str, -1,
                   !strcmp(str, currentText) ? IPopupMenuItem::kChecked : IPopupMenuItem::kNoFlags);
    }
    IPopupMenu* pChosen = CreateIPopupMenu(&menu, pTextRect);
    const int idx = pChosen ? pChosen->GetChosenItemIdx() : -1;
    if (pChosen == &menu && idx >= 0 && idx < n)
    {
      // The item stands for its display text's value, which is its position
      // only when the texts were added in value order.
      int value = idx;
      pParam->GetDisplayTextAtIdx(idx, &value);
      pControl->SetValueFromUserInput(pParam->GetNormalized(static_cast<double>(value)));
    }
  }
  else
  {
    CreateTextEntry(pControl, pControl->GetText(), pTextRect, currentText, pParam);
  }
}

void IGraphics::SetFromStringAfterPrompt(IControl* pControl, IParam* pParam, const char* txt)
{
  if (!pControl || !pParam) return;
  if (!txt) txt = "";
  double v;
  const IParam::EParamType type = pParam->Type();
  if (type == IParam::kTypeEnum || type == IParam::kTypeBool)
  {
    int vi = 0;
    pParam->MapDisplayText(txt, &vi);
    v = static_cast<double>(vi);
  }
  else
  {
    v = atof(txt);
    if (pParam->DisplayIsNegated()) v = -v;
  }
  pControl->SetValueFromUserInput(pParam->GetNormalized(v));
}

// ---- Dirty polling and drawing ----

bool IGraphics::IsDirty(IRECT& rect)
{
  ApplyPendingValues();
  if (mShowControlBounds)
  {
    rect = mDrawRECT;
    return true;
  }
  bool dirty = false;
  for (int i = 0; i < mControls.GetSize(); ++i)
  {
    IControl* pControl = mControls.Get(i);
    if (pControl->IsDirty())
    {
      rect = rect.Union(pControl->GetRECT());
      dirty = true;
    }
  }
  return dirty;
}

bool IGraphics::Draw(IRECT& rect)
{
  ApplyPendingValues();
  const int n = mControls.GetSize();
  if (!n) return true;
  if (mStrict)
  {
    mDrawRECT = rect;
    for (int i = 0; i < n; ++i)
    {
      IControl* pControl = mControls.Get(i);
      if (!pControl->IsHidden() && rect.Intersects(pControl->GetRECT())) pControl->Draw(this);
      pControl->SetClean();
    }
  }
  else
  {
    IControl* pBG = mControls.Get(0);
    if (pBG->IsDirty())
    {
      mDrawRECT = *pBG->GetRECT();
      for (int i = 0; i < n; ++i)
      {
        IControl* pControl = mControls.Get(i);
        if (!i || !pControl->IsHidden()) pControl->Draw(this);
        pControl->SetClean();
      }
    }
    else
    {
      for (int j = 1; j < n; ++j)
      {
        IControl* pDirty = mControls.Get(j);
        if (!pDirty->IsDirty()) continue;
        mDrawRECT = *pDirty->GetRECT();
        for (int k = 0; k < n; ++k)
        {
          IControl* pControl = mControls.Get(k);
          if (!pControl->IsHidden() && (k == j || pControl->GetRECT()->Intersects(&mDrawRECT)))
            pControl->Draw(this);
        }
        pDirty->SetClean();
      }
    }
  }
  if (mShowControlBounds) DrawControlBounds();
  return DrawScreen(&rect);
}

void IGraphics::DrawControlBounds()
{
  for (int i = 1; i < mControls.GetSize(); ++i) DrawRect(&COLOR_GREEN, mControls.Get(i)->GetRECT());
  IText txt(20, &COLOR_GREEN, nullptr, IText::kStyleNormal, IText::kAlignCenter);
  IRECT rect(Width() - 150, Height() - 20, Width(), Height());
  char str[64];
  snprintf(str, sizeof(str), "x: %i, y: %i", mMouseX, mMouseY);
  DrawIText(&txt, str, &rect);
}

// ---- Mouse and keys ----

int IGraphics::GetMouseControlIdx(int x, int y, bool mo)
{
  if (mMouseCapture >= 0) return mMouseCapture;
  for (int i = mControls.GetSize() - 1; i >= 0; --i)
  {
    IControl* pControl = mControls.Get(i);
    if (pControl->IsHidden()) continue;
    if (pControl->IsGrayed() && !(mo && pControl->GetMOWhenGrayed())) continue;
    if (pControl->IsHit(x, y)) return i;
  }
  return -1;
}

void IGraphics::ReleaseMouseCapture()
{
  mMouseCapture = mMouseX = mMouseY = -1;
}

void IGraphics::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  ApplyPendingValues();
  ReleaseMouseCapture();
  mHostTookClick = false;
  mGestureParam = -1;
  const int c = GetMouseControlIdx(x, y);
  if (c < 0) return;
  mMouseCapture = c;
  mMouseX = x;
  mMouseY = y;
  IControl* pControl = mControls.Get(c);
  const int paramIdx = pControl->ParamIdx();
  const bool bound = pControl->GetParam() != nullptr;
  if (bound && mAAXViewContainer)
  {
    char name[32];
    snprintf(name, sizeof(name), "%i", paramIdx + 1);
    if (mAAXViewContainer->HandleParameterMouseDown(name, HostModifiers(pMod)) == 0)
    {
      // The host owns this click: the control lets go, and the mouse-up
      // that follows must not end a gesture that never began.
      ReleaseMouseCapture();
      mHostTookClick = true;
      return;
    }
  }
  if (bound)
  {
    mPlug->BeginInformHostOfParamChange(paramIdx);
    mGestureParam = paramIdx;
  }
  pControl->OnMouseDown(x, y, pMod);
}

void IGraphics::OnMouseUp(int x, int y, IMouseMod* pMod)
{
  ApplyPendingValues();
  const int c = GetMouseControlIdx(x, y);
  ReleaseMouseCapture();
  if (mHostTookClick)
  {
    mHostTookClick = false;
    return;
  }
  if (IControl* pControl = mControls.Get(c)) pControl->OnMouseUp(x, y, pMod);
  if (mGestureParam >= 0)
  {
    const int paramIdx = mGestureParam;
    mGestureParam = -1;
    mPlug->EndInformHostOfParamChange(paramIdx);
  }
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* pMod)
{
  ApplyPendingValues();
  IControl* pControl = mControls.Get(mMouseCapture);
  if (!pControl || (x == mMouseX && y == mMouseY)) return;
  const int dX = x - mMouseX, dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  pControl->OnMouseDrag(x, y, dX, dY, pMod);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* pMod)
{
  ApplyPendingValues();
  ReleaseMouseCapture();
  const int c = GetMouseControlIdx(x, y);
  IControl* pControl = mControls.Get(c);
  if (!pControl) return false;
  if (pControl->MouseDblAsSingleClick())
  {
    // A full mouse-down, so that the host may take it and the gesture that
    // the following mouse-up ends is begun.
    OnMouseDown(x, y, pMod);
    return true;
  }
  pControl->OnMouseDblClick(x, y, pMod);
  return false;
}

void IGraphics::OnMouseWheel(int x, int y, IMouseMod* pMod, int d)
{
  ApplyPendingValues();
  if (IControl* pControl = mControls.Get(GetMouseControlIdx(x, y)))
    pControl->OnMouseWheel(x, y, pMod, d);
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* pMod)
{
  if (!mHandleMouseOver) return false;
  ApplyPendingValues();
  const int c = GetMouseControlIdx(x, y, true);
  if (c >= 0)
  {
    mMouseX = x;
    mMouseY = y;
    mControls.Get(c)->OnMouseOver(x, y, pMod);
    if (mMouseOver >= 0 && mMouseOver != c)
      if (IControl* pOld = mControls.Get(mMouseOver)) pOld->OnMouseOut();
    mMouseOver = c;
  }
  return true;
}

void IGraphics::OnMouseOut()
{
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnMouseOut();
  mMouseOver = -1;
}

bool IGraphics::OnKeyDown(int x, int y, int key)
{
  ApplyPendingValues();
  const int c = GetMouseControlIdx(x, y);
  if (c > 0) return mControls.Get(c)->OnKeyDown(x, y, key);
  if (mKeyCatcher) return mKeyCatcher->OnKeyDown(x, y, key);
  return false;
}

int IGraphics::GetParamIdxForPTAutomation(int x, int y)
{
  const int c = GetMouseControlIdx(x, y);
  const int idx = c > 0 ? mControls.Get(c)->ParamIdx() : -1;
  mLastClickedParam = idx;
  return idx;
}

int IGraphics::GetLastClickedParamForPTAutomation()
{
  const int idx = mLastClickedParam;
  mLastClickedParam = -1;
  return idx;
}

void IGraphics::OnGUIIdle()
{
  ApplyPendingValues();
  ++mIdleTicks;
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnGUIIdle();
}

#include "IGraphicsHeadless.h"

#include "IControl.h"
#include "IPopupMenu.h"
#include "lice.h"

#include <strings.h>

#include <cstring>

IGraphicsHeadless::IGraphicsHeadless(IPlugBase* pPlug, int w, int h, int fps)
    : IGraphics(pPlug, w, h, fps)
{
}

IGraphicsHeadless::~IGraphicsHeadless()
{
  CloseWindow();
}

void IGraphicsHeadless::SetNextTextEntry(const char* str)
{
  mTextAnswers.emplace_back(str != nullptr, str ? str : "");
}

bool IGraphicsHeadless::DrawScreen(IRECT* /*pR*/)
{
  ++mDrawScreenCalls;
  return true;
}

int IGraphicsHeadless::ShowMessageBox(const char* /*pText*/, const char* /*pCaption*/, int /*type*/)
{
  return kIDOK;
}

IPopupMenu* IGraphicsHeadless::CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pAreaRect)
{
  if (!pMenu) return nullptr;
  MenuRecord rec;
  for (int i = 0; i < pMenu->GetNItems(); ++i)
  {
    rec.items.push_back(pMenu->GetItemText(i));
    rec.checked.push_back(pMenu->IsItemChecked(i));
  }
  if (pAreaRect) rec.rect = *pAreaRect;
  mMenusShown.push_back(rec);

  int choice = -1;
  if (!mMenuChoices.empty())
  {
    choice = mMenuChoices.front();
    mMenuChoices.pop_front();
  }
  if (choice < 0 || choice >= pMenu->GetNItems()) return nullptr;
  pMenu->SetChosenItemIdx(choice);
  return pMenu;
}

void IGraphicsHeadless::CreateTextEntry(IControl* pControl, IText* pText, IRECT* pTextRect,
                                        const char* str, IParam* pParam)
{
  if (!pControl) return;
  mTextEntries.push_back(
      {pControl, pParam, pTextRect ? *pTextRect : IRECT(), str ? str : "", pText ? pText->mSize : 0});
  if (mTextAnswers.empty()) return;
  const std::pair<bool, std::string> answer = mTextAnswers.front();
  mTextAnswers.pop_front();
  if (!answer.first) return;
  if (pParam)
    SetFromStringAfterPrompt(pControl, pParam, answer.second.c_str());
  else
    pControl->TextFromTextEntry(answer.second.c_str());
}

void IGraphicsHeadless::PromptForFile(WDL_String* pFilename, EFileAction /*action*/,
                                      WDL_String* /*pDir*/, const char* /*extensions*/)
{
  if (pFilename) pFilename->Set(mWindow ? mNextFile.c_str() : "");
}

bool IGraphicsHeadless::OpenURL(const char* url, const char* /*msgWindowTitle*/,
                                const char* /*confirmMsg*/, const char* /*errMsgOnFailure*/)
{
  mURLsOpened.push_back(url ? url : "");
  return mOpenURLResult;
}

void* IGraphicsHeadless::OpenWindow(void* pParentWnd)
{
  if (!pParentWnd) return nullptr;
  SetGUIThread();
  mWindow = pParentWnd;
  return mWindow;
}

LICE_IBitmap* IGraphicsHeadless::OSLoadBitmap(int /*ID*/, const char* name)
{
  if (!name) return nullptr;
  const char* dot = strrchr(name, '.');
  const char* ext = dot ? dot + 1 : name;
  if (strcasecmp(ext, "png")) return nullptr;
  const char* slash = strrchr(name, '/');
  const std::string path = mResourceFolder + "/" + (slash ? slash + 1 : name);
  return LICE_LoadPNG(path.c_str());
}

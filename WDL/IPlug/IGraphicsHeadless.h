#pragma once
// IGraphicsHeadless: a platform for the editor without any window system,
// for tests, tools and the validator. Pictures come from a folder, menus and
// text entries answer from scripted queues, the screen copy does nothing,
// and the redraw cycle (IsDirty, Draw) is run by the caller. [gui]

#include "IGraphics.h"

#include <deque>
#include <string>
#include <vector>

class IGraphicsHeadless : public IGraphics
{
public:
  // What CreateTextEntry was asked.
  struct TextEntryRecord
  {
    IControl* control;
    IParam* param;
    IRECT rect;
    std::string initial;
    int textSize;
  };
  // What CreateIPopupMenu was shown: item texts and checked states.
  struct MenuRecord
  {
    std::vector<std::string> items;
    std::vector<bool> checked;
    IRECT rect;
  };

  IGraphicsHeadless(IPlugBase* pPlug, int w, int h, int fps = 0);
  ~IGraphicsHeadless() override;

  // Pictures are read from "<dir>/<last path component of the name>" (PNG only).
  void SetResourceFolder(const char* dir) { mResourceFolder = dir ? dir : ""; }

  // The next menu shown answers index (-1: dismissed). Queued; an empty
  // queue dismisses.
  void SetNextMenuChoice(int index) { mMenuChoices.push_back(index); }
  // The next text entry ends with str (null: abandoned). Queued; an empty
  // queue abandons.
  void SetNextTextEntry(const char* str);
  const std::vector<MenuRecord>& MenusShown() const { return mMenusShown; }
  const std::vector<TextEntryRecord>& TextEntries() const { return mTextEntries; }
  const std::vector<std::string>& URLsOpened() const { return mURLsOpened; }
  void SetOpenURLResult(bool opened) { mOpenURLResult = opened; }
  // The file PromptForFile answers ("" for a cancelled panel).
  void SetNextFile(const char* path) { mNextFile = path ? path : ""; }
  int DrawScreenCalls() const { return mDrawScreenCalls; }

  // The redraw cycle, run by hand.
  using IGraphics::Draw;
  using IGraphics::IsDirty;

  bool DrawScreen(IRECT* pR) override;
  void ForceEndUserEdit() override {}
  const char* GetGUIAPI() override { return "headless"; }
  int ShowMessageBox(const char* pText, const char* pCaption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pAreaRect) override;
  void CreateTextEntry(IControl* pControl, IText* pText, IRECT* pTextRect, const char* str = "",
                       IParam* pParam = nullptr) override;
  void HostPath(WDL_String* pPath) override { pPath->Set(""); }
  void PluginPath(WDL_String* pPath) override { pPath->Set(mResourceFolder.c_str()); }
  void DesktopPath(WDL_String* pPath) override { pPath->Set(""); }
  void AppSupportPath(WDL_String* pPath, bool /*isSystem*/ = false) override { pPath->Set(""); }
  void SandboxSafeAppSupportPath(WDL_String* pPath) override { pPath->Set(""); }
  void PromptForFile(WDL_String* pFilename, EFileAction action = kFileOpen,
                     WDL_String* pDir = nullptr, const char* extensions = "") override;
  bool PromptForColor(IColor* /*pColor*/, const char* /*prompt*/ = "") override { return false; }
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
               const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) override;
  // Accepts any non-null parent; the calling thread becomes the GUI thread.
  void* OpenWindow(void* pParentWnd) override;
  using IGraphics::OpenWindow;
  void CloseWindow() override { mWindow = nullptr; }
  void* GetWindow() override { return mWindow; }
  bool GetTextFromClipboard(WDL_String* pStr) override
  {
    pStr->Set("");
    return false;
  }
  void UpdateTooltips() override {}
  LICE_IBitmap* OSLoadBitmap(int ID, const char* name) override;

private:
  std::string mResourceFolder;
  std::deque<int> mMenuChoices;
  std::deque<std::pair<bool, std::string>> mTextAnswers;
  std::vector<MenuRecord> mMenusShown;
  std::vector<TextEntryRecord> mTextEntries;
  std::vector<std::string> mURLsOpened;
  std::string mNextFile;
  bool mOpenURLResult = false;
  void* mWindow = nullptr;
  int mDrawScreenCalls = 0;
};

#pragma once
// IPopupMenu: a platform-independent popup menu: ordered items with flags,
// optional submenus, an optional numbering prefix and the chosen item. The
// platform shows it (IGraphics::CreateIPopupMenu) and sets the chosen index
// on the menu that holds the chosen item. [gui]

#include "ptrlist.h"
#include "wdlstring.h"

class IPopupMenu;

class IPopupMenuItem
{
public:
  enum Flags
  {
    kNoFlags = 0,
    kDisabled = 1,
    kTitle = 2,
    kChecked = 4,
    kSeparator = 8
  };

  IPopupMenuItem(const char* str, int flags = kNoFlags) : mSubmenu(nullptr), mFlags(flags)
  {
    SetText(str);
  }
  // A submenu item: the submenu is borrowed, never deleted by the item.
  IPopupMenuItem(const char* str, IPopupMenu* pSubMenu) : mSubmenu(pSubMenu), mFlags(kNoFlags)
  {
    SetText(str);
  }

  void SetText(const char* str) { mText.Set(str ? str : ""); }
  const char* GetText() const { return mText.Get(); }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }

  bool GetEnabled() const { return !(mFlags & kDisabled); }
  bool GetIsTitle() const { return (mFlags & kTitle) != 0; }
  bool GetChecked() const { return (mFlags & kChecked) != 0; }
  bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }
  void SetChecked(bool state) { mFlags = state ? (mFlags | kChecked) : (mFlags & ~kChecked); }
  int GetFlags() const { return mFlags; }

private:
  WDL_String mText;
  IPopupMenu* mSubmenu;
  int mFlags;
};

class IPopupMenu
{
public:
  // prefix: 0 none, 1 "%1d: ", 2 "%02d: ", 3 "%03d: " before each 1-based position.
  explicit IPopupMenu(int prefix = 0, bool multicheck = false);
  // Deletes the items (not their submenus).
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // Adds pItem (the menu owns it): appended for index -1 or past the end,
  // first for any other negative index, else inserted at index. Returns it.
  IPopupMenuItem* AddItem(IPopupMenuItem* pItem, int index = -1);
  IPopupMenuItem* AddItem(const char* text, int index = -1, int itemFlags = IPopupMenuItem::kNoFlags);
  IPopupMenuItem* AddItem(const char* text, int index, IPopupMenu* pSubmenu);
  IPopupMenuItem* AddItem(const char* text, IPopupMenu* pSubmenu);
  IPopupMenuItem* AddSeparator(int index = -1);

  // Values outside 0-3 keep the current prefix.
  void SetPrefix(int count);
  int GetPrefix() const { return mPrefix; }
  bool GetCanMultiCheck() const { return mCanMultiCheck; }

  int GetNItems() const { return mMenuItems.GetSize(); }
  // The item, or null outside 0 .. GetNItems() - 1.
  IPopupMenuItem* GetItem(int index) const { return mMenuItems.Get(index); }
  // The item's text, or null when there is no such item.
  const char* GetItemText(int index) const;

  // False when there is no such item.
  bool CheckItem(int index, bool state);
  // Checks that item (if it exists) and unchecks every other one.
  void CheckItemAlone(int index);
  bool IsItemChecked(int index) const;

  // -1 until the platform records a choice.
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }

private:
  int mPrefix;
  int mChosenItemIdx = -1;
  bool mCanMultiCheck;
  WDL_PtrList<IPopupMenuItem> mMenuItems;
};

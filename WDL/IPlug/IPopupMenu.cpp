#include "IPopupMenu.h"

IPopupMenu::IPopupMenu(int prefix, bool multicheck) : mPrefix(0), mCanMultiCheck(multicheck)
{
  SetPrefix(prefix);
}

IPopupMenu::~IPopupMenu()
{
  mMenuItems.Empty(true);
}

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* pItem, int index)
{
  if (index == -1 || index >= mMenuItems.GetSize())
    mMenuItems.Add(pItem);
  else
    mMenuItems.Insert(index < 0 ? 0 : index, pItem);
  return pItem;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, int itemFlags)
{
  return AddItem(new IPopupMenuItem(text, itemFlags), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* pSubmenu)
{
  return AddItem(new IPopupMenuItem(text, pSubmenu), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, IPopupMenu* pSubmenu)
{
  return AddItem(new IPopupMenuItem(text, pSubmenu), -1);
}

IPopupMenuItem* IPopupMenu::AddSeparator(int index)
{
  return AddItem(new IPopupMenuItem("", IPopupMenuItem::kSeparator), index);
}

void IPopupMenu::SetPrefix(int count)
{
  if (count >= 0 && count <= 3) mPrefix = count;
}

const char* IPopupMenu::GetItemText(int index) const
{
  IPopupMenuItem* item = mMenuItems.Get(index);
  return item ? item->GetText() : nullptr;
}

bool IPopupMenu::CheckItem(int index, bool state)
{
  IPopupMenuItem* item = mMenuItems.Get(index);
  if (!item) return false;
  item->SetChecked(state);
  return true;
}

void IPopupMenu::CheckItemAlone(int index)
{
  for (int i = 0; i < mMenuItems.GetSize(); ++i) mMenuItems.Get(i)->SetChecked(i == index);
}

bool IPopupMenu::IsItemChecked(int index) const
{
  IPopupMenuItem* item = mMenuItems.Get(index);
  return item && item->GetChecked();
}

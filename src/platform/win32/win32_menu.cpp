#include "platform/win32/win32_menu.h"

#include <vector>

#include "platform/menu_model.h"

namespace {

bool AddItems(HMENU menu, const CMenuModel& model) {
  UINT position = 0;
  for (const CMenuItem& item : model.items) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    // The system may write into the text it is given; each item gets its own copy.
    std::vector<wchar_t> text(item.text.begin(), item.text.end());
    text.push_back(L'\0');
    if (item.separator) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID;
      info.dwTypeData = text.data();
      info.wID = static_cast<UINT>(item.id);
      info.fState = (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.greyed ? MFS_GRAYED : MFS_ENABLED);
      if (item.subMenu) {
        HMENU sub = CreatePopupMenu();
        if (sub == nullptr || !AddItems(sub, *item.subMenu)) {
          if (sub != nullptr) DestroyMenu(sub);
          return false;
        }
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = sub;  // owned by the parent from here on
      }
    }
    if (!InsertMenuItemW(menu, position++, TRUE, &info)) {
      if (info.hSubMenu != nullptr) DestroyMenu(info.hSubMenu);
      return false;
    }
  }
  return true;
}

}  // namespace

HMENU BuildWin32Menu(const CMenuModel& model) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return nullptr;
  if (!AddItems(menu, model)) {
    DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}

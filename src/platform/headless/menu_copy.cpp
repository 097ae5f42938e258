#include "platform/headless/menu_copy.h"

std::unique_ptr<CMenuModel> CopyMenu(const CMenuModel& menu) {
  auto copy = std::make_unique<CMenuModel>();
  copy->items.reserve(menu.items.size());
  for (const CMenuItem& item : menu.items) {
    CMenuItem& added = copy->items.emplace_back();
    added.id = item.id;
    added.text = item.text;
    added.separator = item.separator;
    added.checked = item.checked;
    added.greyed = item.greyed;
    if (item.subMenu) added.subMenu = CopyMenu(*item.subMenu);
  }
  return copy;
}

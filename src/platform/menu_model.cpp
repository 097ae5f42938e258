#include "platform/menu_model.h"

CMenuItem* CMenuModel::FindById(int id) {
  return const_cast<CMenuItem*>(static_cast<const CMenuModel*>(this)->FindById(id));
}

const CMenuItem* CMenuModel::FindById(int id) const {
  for (const CMenuItem& item : items) {
    if (item.subMenu) {
      if (const CMenuItem* found = item.subMenu->FindById(id)) return found;
    } else if (!item.separator && item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

void CMenuModel::InsertAt(size_t position, int id, std::u16string text) {
  CMenuItem item;
  item.id = id;
  item.text = std::move(text);
  if (position > items.size()) position = items.size();
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
}

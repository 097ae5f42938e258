#include "platform/menu_model.h"

#include <string>

namespace {

void AppendTraceItems(const CMenuModel& menu, const std::u16string& prefix, std::vector<std::u16string>& out) {
  for (const CMenuItem& item : menu.items) {
    if (item.subMenu) {
      AppendTraceItems(*item.subMenu, prefix + item.text + u'/', out);
      continue;
    }
    std::u16string& line = out.emplace_back(prefix);
    if (item.separator) {
      line += u'-';
      continue;
    }
    for (const char digit : std::to_string(item.id)) line += static_cast<char16_t>(digit);
    line += u' ';
    line += item.text;
    if (item.checked) line += u" +checked";
    if (item.greyed) line += u" +grey";
  }
}

}  // namespace

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

std::vector<std::u16string> MenuTraceItems(const CMenuModel& menu) {
  std::vector<std::u16string> out;
  AppendTraceItems(menu, std::u16string(), out);
  return out;
}

#include "app/app_menus.h"

#include <utility>

#include "runtime/settings_menu.h"
#include "window/command_ids.h"

namespace {

CMenuItem Command(int id, std::u16string text) {
  CMenuItem item;
  item.id = id;
  item.text = std::move(text);
  return item;
}

}  // namespace

CMenuModel BuildSystemMenu() {
  CMenuModel menu;
  CMenuItem settings;
  settings.text = u"全体設定";
  settings.subMenu = std::make_unique<CMenuModel>(BuildSettingsMenu(false));
  menu.items.push_back(std::move(settings));
  menu.items.push_back(Command(kCmdAbout, u"バージョン情報"));
  menu.items.push_back(Command(kCmdExit, u"終了"));
  return menu;
}

CMenuModel BuildExitMenu() {
  CMenuModel menu;
  menu.items.push_back(Command(kCmdQuitNow, u"終了"));
  return menu;
}

#include "app/app_menus.h"

#include <utility>

#include "runtime/settings_menu.h"
#include "window/command_ids.h"

CMenuModel BuildSystemMenu() {
  CMenuModel menu;
  CMenuItem settings;
  settings.text = u"全体設定";
  settings.subMenu = std::make_unique<CMenuModel>(BuildSettingsMenu(false));
  menu.items.push_back(std::move(settings));
  menu.items.push_back(MenuCommand(kCmdAbout, u"バージョン情報"));
  menu.items.push_back(MenuCommand(kCmdExit, u"終了"));
  return menu;
}

CMenuModel BuildExitMenu() {
  CMenuModel menu;
  menu.items.push_back(MenuCommand(kCmdQuitNow, u"終了"));
  return menu;
}

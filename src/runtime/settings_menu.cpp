#include "runtime/settings_menu.h"

#include <utility>

#include "window/command_ids.h"

CMenuItem MenuCommand(int id, std::u16string text) {
  CMenuItem item;
  item.id = id;
  item.text = std::move(text);
  return item;
}

namespace {


CMenuItem Separator() {
  CMenuItem item;
  item.separator = true;
  return item;
}

CMenuItem SubMenu(std::u16string text, CMenuModel menu) {
  CMenuItem item;
  item.text = std::move(text);
  item.subMenu = std::make_unique<CMenuModel>(std::move(menu));
  return item;
}

CMenuModel ScaleMenu() {
  CMenuModel menu;
  const char16_t* texts[] = {u"200%", u"175%", u"150%", u"125%", u"100%", u"75%", u"50%"};
  int id = kCmdScaleFirst + 2;  // 300 % and 250 % have no entry
  for (const char16_t* text : texts) menu.items.push_back(MenuCommand(id++, text));
  return menu;
}

CMenuModel OpacityMenu() {
  CMenuModel menu;
  const char16_t* texts[] = {u"100%", u"90%", u"80%", u"70%", u"60%",
                             u"50%",  u"40%", u"30%", u"20%", u"10%"};
  int id = kCmdOpacityFirst;
  for (const char16_t* text : texts) menu.items.push_back(MenuCommand(id++, text));
  return menu;
}

template <class Visit>
void ForEachItem(CMenuModel& menu, const Visit& visit) {
  for (CMenuItem& item : menu.items) {
    if (item.subMenu) ForEachItem(*item.subMenu, visit);
    visit(item);
  }
}

}  // namespace

CMenuModel BuildSettingsMenu(bool separatorAfterSound) {
  CMenuModel settings;
  settings.items.push_back(SubMenu(u"倍率", ScaleMenu()));
  settings.items.push_back(SubMenu(u"不透明度", OpacityMenu()));
  settings.items.push_back(MenuCommand(kCmdAllSoundOn, u"全サウンド（ON）"));
  settings.items.push_back(MenuCommand(kCmdAllSoundOff, u"全サウンド（OFF）"));
  if (separatorAfterSound) settings.items.push_back(Separator());
  settings.items.push_back(MenuCommand(kCmdLowQuality, u"軽量画質"));
  settings.items.push_back(MenuCommand(kCmdAlwaysOnTop, u"常に最前面に表示"));
  settings.items.push_back(MenuCommand(kCmdMouseDisabled, u"マウス操作不可"));
  settings.items.push_back(MenuCommand(kCmdMoveRange, u"移動範囲設定"));
  return settings;
}

CMenuModel BuildCharacterMenu() {
  CMenuModel menu;
  menu.items.push_back(MenuCommand(kCmdToggleHidden, u"非表示"));
  menu.items.push_back(MenuCommand(kCmdToggleMute, u"サウンド（OFF）"));
  menu.items.push_back(Separator());
  menu.items.push_back(SubMenu(u"全体設定", BuildSettingsMenu(true)));
  menu.items.push_back(MenuCommand(kCmdAbout, u"バージョン情報"));
  menu.items.push_back(MenuCommand(kCmdExit, u"終了"));
  return menu;
}

void CheckOneOf(CMenuModel& menu, int firstId, int lastId, int checkedId) {
  ForEachItem(menu, [&](CMenuItem& item) {
    if (item.id >= firstId && item.id <= lastId) item.checked = item.id == checkedId;
  });
}

void SetChecked(CMenuModel& menu, int id, bool checked) {
  ForEachItem(menu, [&](CMenuItem& item) {
    if (item.id == id) item.checked = checked;
  });
}

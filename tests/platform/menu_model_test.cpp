// Menu models as the trace writes them.
#include <gtest/gtest.h>

#include "platform/menu_model.h"

namespace {

CMenuModel& AddSubMenu(CMenuModel& menu, std::u16string text) {
  CMenuItem& entry = menu.items.emplace_back();
  entry.text = std::move(text);
  entry.subMenu = std::make_unique<CMenuModel>();
  return *entry.subMenu;
}

TEST(MenuTraceItems, ListsItemsDepthFirstUnderTheirSubMenuPath) {
  CMenuModel menu;
  menu.InsertAt(0, 104, u"Zelvotta について");
  menu.items.emplace_back().separator = true;
  CMenuModel& settings = AddSubMenu(menu, u"全体設定");
  CMenuModel& scale = AddSubMenu(settings, u"倍率");
  scale.InsertAt(0, 32781, u"50%");
  scale.InsertAt(1, 32782, u"100%");
  scale.items[1].checked = true;
  scale.items.emplace_back().separator = true;
  settings.InsertAt(1, 32879, u"低画質");
  settings.items[1].greyed = true;
  settings.items[1].checked = true;
  AddSubMenu(menu, u"空");  // an empty sub-menu leaves no trace
  menu.InsertAt(menu.items.size(), 32772, u"終了");

  EXPECT_EQ(MenuTraceItems(menu), (std::vector<std::u16string>{
                                      u"104 Zelvotta について",
                                      u"-",
                                      u"全体設定/倍率/32781 50%",
                                      u"全体設定/倍率/32782 100% +checked",
                                      u"全体設定/倍率/-",
                                      u"全体設定/32879 低画質 +checked +grey",
                                      u"32772 終了",
                                  }));
  EXPECT_TRUE(MenuTraceItems(CMenuModel()).empty());
}

}  // namespace

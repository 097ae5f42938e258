#pragma once
// The menus of the program as data: the shared settings sub-menu that the notification
// menu and every character menu carry, and each character's own pop-up menu.
#include "platform/menu_model.h"

// A plain command item.
CMenuItem MenuCommand(int id, std::u16string text);

// "全体設定": scale, opacity, all sound on and off, low quality, always on top,
// click-through and the move range. The character menu separates the sound entries
// from the window entries; the notification menu does not.
CMenuModel BuildSettingsMenu(bool separatorAfterSound);

// A character's pop-up menu: hide, its sound, a separator, the settings, about, exit.
CMenuModel BuildCharacterMenu();

// Checks `checkedId` and unchecks every other command of firstId..lastId, through
// sub-menus; an id outside the range checks nothing.
void CheckOneOf(CMenuModel& menu, int firstId, int lastId, int checkedId);
// Sets the check mark of every item `id` in `menu`, through sub-menus.
void SetChecked(CMenuModel& menu, int id, bool checked);

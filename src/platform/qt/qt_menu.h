#pragma once
// Pop-up menus on Qt: a QMenu built from a menu model, with check marks, greyed items,
// separators and sub-menus; a chosen item reports its command id.
#include <functional>

class CMenuModel;
class QMenu;

// Builds the menu; `onChosen` hears the id of the item the user picks. The menu is
// the caller's to show and to delete.
QMenu* BuildQtMenu(const CMenuModel& model, const std::function<void(int)>& onChosen);

#include "platform/qt/qt_menu.h"

#include <QAction>
#include <QMenu>

#include "platform/menu_model.h"
#include "platform/qt/qt_strings.h"

namespace {

void AddItems(QMenu& menu, const CMenuModel& model, const std::function<void(int)>& onChosen) {
  for (const CMenuItem& item : model.items) {
    if (item.separator) {
      menu.addSeparator();
    } else if (item.subMenu) {
      QMenu* sub = menu.addMenu(ToQString(item.text));
      sub->setEnabled(!item.greyed);
      AddItems(*sub, *item.subMenu, onChosen);
    } else {
      QAction* action = menu.addAction(ToQString(item.text));
      action->setCheckable(item.checked);
      action->setChecked(item.checked);
      action->setEnabled(!item.greyed);
      const int id = item.id;
      QObject::connect(action, &QAction::triggered, [onChosen, id] { onChosen(id); });
    }
  }
}

}  // namespace

QMenu* BuildQtMenu(const CMenuModel& model, const std::function<void(int)>& onChosen) {
  auto* menu = new QMenu();
  AddItems(*menu, model, onChosen);
  return menu;
}

#pragma once
// A pop-up menu as plain data: the core builds and updates it, a backend shows it and
// reports the chosen command back through the owner window's command handler.
#include <memory>
#include <string>
#include <vector>

struct CMenuItem {
  int id = 0;                // command id; 0 for separators and sub-menus
  std::u16string text;       // empty for separators
  bool separator = false;
  bool checked = false;
  bool greyed = false;
  std::unique_ptr<class CMenuModel> subMenu;  // set for a sub-menu entry
};

class CMenuModel {
 public:
  std::vector<CMenuItem> items;

  // The item with command id `id`, searched depth-first through sub-menus; null if none.
  CMenuItem* FindById(int id);
  const CMenuItem* FindById(int id) const;
  // Inserts a plain command item before position `position` (clamped to the end).
  void InsertAt(size_t position, int id, std::u16string text);
};

// The menu as one line of text per item, depth first, for the run trace: the texts of
// the enclosing sub-menus each followed by "/", then "ID TEXT" with " +checked" and
// " +grey" when they apply, or "-" for a separator. A sub-menu entry has no line of its
// own; its items carry its text.
std::vector<std::u16string> MenuTraceItems(const CMenuModel& menu);

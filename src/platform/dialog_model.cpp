#include "platform/dialog_model.h"

std::vector<std::u16string> DialogTexts(const SDialogModel& dialog) {
  std::vector<std::u16string> texts;
  texts.reserve(dialog.controls.size());
  for (const SDialogControl& control : dialog.controls) texts.push_back(control.text);
  return texts;
}

#pragma once
// EScriptError: a failure in a character's scripts. The script language raises it with
// a message tail beginning with "に" or "で"; whoever owns the script key puts the
// location in front and shows the whole text once.
#include <string>
#include <utility>

class EScriptError {
 public:
  explicit EScriptError(std::u16string message) : message_(std::move(message)) {}
  const std::u16string& Message() const { return message_; }

 private:
  std::u16string message_;
};

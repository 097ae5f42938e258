#pragma once
// CRegisterErrorLatch: how register builders report faulty blocks. Building goes on
// after an error so every block is tried; the program shows only the last message,
// while tools that list every fault read all of them with where each block was written.
#include <string>
#include <vector>

#include "script/script_param.h"

struct SRegisterError {
  SScriptOrigin origin;  // the opening tag of the failing block
  std::u16string message;
};

class CRegisterErrorLatch {
 public:
  // True until the first error.
  bool Ok() const { return errors_.empty(); }
  // The message of the most recent error; empty while Ok().
  const std::u16string& Message() const { return lastMessage_; }
  // Every error in the order reported.
  const std::vector<SRegisterError>& Errors() const { return errors_; }

  void Report(SScriptOrigin origin, std::u16string message) {
    lastMessage_ = message;
    errors_.push_back({std::move(origin), std::move(message)});
  }

 private:
  std::u16string lastMessage_;
  std::vector<SRegisterError> errors_;
};

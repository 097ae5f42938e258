#pragma once
// The smallest characters a test may run: each stands invisible in its start function
// (the built-in transparent motion); one with `exitFrames` > 0 plays an exit function
// that many frames long when the program ends.
#include <string>

#include "temp_folder.h"

inline std::string StandingCharacterScript(int exitFrames = 0) {
  std::string script =
      "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=start\nFuncType=START_EVENT\n"
      "FuncNameMotion=|MOTION_OBJECT_HIDE|\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n";
  if (exitFrames > 0) {
    script += "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=bye\nFuncType=EXIT_EVENT\n"
              "FuncNameMotion=|MOTION_OBJECT_HIDE|\nTimerFrame=" +
              std::to_string(exitFrames) + "\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n";
  }
  return script;
}

inline void WriteStandingCharacter(const CTempFolder& app, const std::string& name, int exitFrames = 0) {
  app.WriteBytes(std::filesystem::path("Characters") / name / "Scripts" / "a.func", StandingCharacterScript(exitFrames));
}

#pragma once
// The smallest characters a test may run: each stands invisible in its start function
// (the built-in transparent motion); one with `exitFrames` > 0 plays an exit function
// that many frames long when the program ends. A still one shows a small picture.
#include <string>

#include "media/pixel_surface.h"
#include "media/png_writer.h"
#include "support/utf.h"
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

// A character that stands still at the left of its line showing a 4 × 4 picture of
// opaque black and white pixels in a checkerboard, so every scaling filter leaves its
// own trace in the pixels.
// `under` is the application folder's place inside `app`, when it is not `app` itself.
inline void WriteStillCharacter(const CTempFolder& app, const std::string& name, const std::string& under = "") {
  const std::filesystem::path folder = std::filesystem::path(under) / "Characters" / name;
  app.WriteBytes(folder / "Scripts" / "a.func",
                 "<FUNC_MOTION_REG>\n<SET_CONFIG>\nFuncName=still\nImageName=still.png\nWidth=4\nHeight=4\n"
                 "</SET_CONFIG>\n<SET_PARAM>\n0,0,0,0,1\n</SET_PARAM>\n</FUNC_MOTION_REG>\n"
                 "<FUNC_ORDER_REG>\n<SET_CONFIG>\nFuncName=start\nFuncType=START_EVENT\nFuncNameMotion=still\n"
                 "PosX=LINE_LEFT\nPosY=LINE_BOTTOM\n</SET_CONFIG>\n</FUNC_ORDER_REG>\n");
  CPixelSurface checkerboard(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) checkerboard.At(x, y) = (x + y) % 2 == 0 ? 0xFF000000u : 0xFFFFFFFFu;
  }
  app.MakeFolder(folder / "Images");
  WritePng(app.Engine(FromUtf8(under.empty() ? "" : under + "\\") + u"Characters\\" + FromUtf8(name) +
                     u"\\Images\\still.png"),
           checkerboard);
}

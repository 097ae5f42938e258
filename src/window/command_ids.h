#pragma once
// Menu command ids. They are shared by the notification menu, every character's menu
// and the windows that receive them, so one id means one operation wherever it is chosen.

constexpr int kCmdAbout = 104;                // the application's about box
constexpr int kCmdCharacterAbout = 157;       // a character's about box
constexpr int kCmdExit = 32772;               // end every character, then quit
constexpr int kCmdScaleFirst = 32776;         // 300 % … 25 %, see the scale table
constexpr int kCmdScaleLast = 32785;
constexpr int kCmdOpacityFirst = 32787;       // 100 % … 10 %
constexpr int kCmdOpacityLast = 32796;
constexpr int kCmdAlwaysOnTop = 32811;
constexpr int kCmdMouseDisabled = 32812;
constexpr int kCmdCustomItem = 32814;
constexpr int kCmdToggleHidden = 32816;       // a character's own "hide" entry
constexpr int kCmdCharacterFirst = 32817;     // one notification-menu entry per discovered character
constexpr int kCmdCharacterLast = 32866;
constexpr int kCmdLowQuality = 32879;
constexpr int kCmdMoveRange = 32881;
constexpr int kCmdQuitNow = 32882;            // the exit menu's only item
constexpr int kCmdToggleMute = 32883;         // a character's own sound entry
constexpr int kCmdAllSoundOff = 32884;
constexpr int kCmdAllSoundOn = 32885;

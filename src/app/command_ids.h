#pragma once
// Menu command ids. They are shared by the notification menu and every character's menu,
// so one id means one operation wherever it is chosen.

constexpr int kCmdAbout = 104;
constexpr int kCmdExit = 32772;               // end every character, then quit
constexpr int kCmdScaleFirst = 32776;         // 300 % … 25 %, see the scale table
constexpr int kCmdScaleLast = 32785;
constexpr int kCmdOpacityFirst = 32787;       // 100 % … 10 %
constexpr int kCmdOpacityLast = 32796;
constexpr int kCmdAlwaysOnTop = 32811;
constexpr int kCmdMouseDisabled = 32812;
constexpr int kCmdCharacterFirst = 32817;     // one entry per discovered character
constexpr int kCmdCharacterLast = 32866;
constexpr int kCmdLowQuality = 32879;
constexpr int kCmdMoveRange = 32881;
constexpr int kCmdQuitNow = 32882;            // the exit menu's only item
constexpr int kCmdAllSoundOff = 32884;
constexpr int kCmdAllSoundOn = 32885;

// Timer of the main window that refreshes the system status.
constexpr int kStatusTimerId = 100;
constexpr unsigned kStatusTimerIntervalMs = 500;

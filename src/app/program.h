#pragma once
// The program from start to end: start-up checks, the main window and its menus, the
// application object, the frame worker, the message loop and the ordered shutdown.
#include <string>
#include <vector>

class IPlatform;

// Runs the program on `platform`; `arguments` are those after the program's own path.
// Returns the process exit code (0 also after every start-up refusal).
int RunProgram(IPlatform& platform, const std::vector<std::u16string>& arguments);

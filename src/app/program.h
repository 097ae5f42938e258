#pragma once
// The program from start to end: start-up checks, the main window and its menus, the
// application object, the frame worker, the message loop and the ordered shutdown.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class IPlatform;

// What a tool or test may ask of a run beyond the program's own arguments.
struct SProgramOptions {
  std::optional<uint32_t> seed;  // seeds the shared random generator before the build step
  bool tracePositions = false;   // one "position" trace record per character after each frame
  // The installed program's data folder relative to the executable's folder, in engine
  // notation ("..\share\zelvotta"); empty: the data is only ever beside the executable.
  std::u16string installedDataPath;
  // The user's own data folder (ending in "\"), for an installed program's characters
  // and Params; empty: none.
  std::u16string userDataFolder;
};

// Runs the program on `platform`; `arguments` are those after the program's own path.
// Returns the process exit code (0 also after every start-up refusal).
int RunProgram(IPlatform& platform, const std::vector<std::u16string>& arguments,
               const SProgramOptions& options = {});

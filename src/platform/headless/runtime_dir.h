#pragma once
// The private per-user folder that holds the named locks and the window census.
#include <string>

// Makes `path` (UTF-8) a private folder: creates it with mode 0700 when missing;
// accepts an existing one only if it is a real folder (not a symbolic link) owned by
// this user, and then tightens its mode to 0700. On Windows the folder keeps the ACL it
// inherits, and only the link and folder checks apply. False when it cannot be used.
bool EnsurePrivateDir(const std::string& path);

// The folder to use: `override` when set, else $XDG_RUNTIME_DIR/zelvotta when that
// variable names a usable folder, else /tmp/zelvotta-<uid> (on Windows
// %LOCALAPPDATA%\Zelvotta\run). Empty when the chosen folder cannot be made private.
std::string ResolveRuntimeDir(const std::string& override);

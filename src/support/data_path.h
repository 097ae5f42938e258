#pragma once
// Checks on the paths that character data composes. A character is a folder a stranger
// may have written: the names it gives for its images, sounds and cursors are appended
// to its own folders, so a name must not lead anywhere else on the machine.
#include <string>
#include <string_view>

// Whether `name` (one path component) is a name Windows keeps for a device: CON, PRN,
// AUX, NUL, COM0–COM9, LPT0–LPT9 (also with a superscript 1–3), CONIN$ and CONOUT$, in
// any letter case, also before an extension and with trailing dots or blanks, the way
// Windows reads them. Such a name opens the device there, never a file.
bool IsWindowsDeviceName(std::u16string_view name);

// Whether `enginePath` begins with "Characters\" or "Characters/": the form in which the
// engine composes the paths of a character's files, relative to the application folder.
bool IsCharacterDataPath(std::u16string_view enginePath);

// Whether `enginePath`, a path relative to the application folder that begins with
// "Characters\" (or "Characters/"), stays below that folder once "." and ".." are
// resolved, and names no drive, stream, device or control character in any component.
// Paths that do not begin with "Characters" are not character data and pass.
bool StaysBelowCharacters(std::u16string_view enginePath);

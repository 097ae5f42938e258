#pragma once
// The folder of the program (engine path notation, ending in "\"). Set once at start-up,
// before any other thread starts; media loads fall back to paths relative to it.
#include <string>

const std::u16string& ApplicationFolder();
void SetApplicationFolder(std::u16string folder);

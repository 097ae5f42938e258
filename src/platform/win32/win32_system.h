#pragma once
// <windows.h> for the backend's own files. The system header defines names the
// platform seam uses for its methods (MessageBox, PostAppMessage) as macros; they are
// removed here so every file sees the seam's names, and the code calls the system's
// wide functions by their full names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MessageBox
#undef PostAppMessage

// How the program shows a message: every box goes through showMessageBox.
#pragma once

#include "platform/platform.h"

inline constexpr const char16_t* MessageBoxTitle = u"quillbox Setup Selection Tool";

inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

inline constexpr unsigned MB_OK = 0;
inline constexpr unsigned MB_ICONERROR = 16;
inline constexpr unsigned MB_YESNO_ICONERROR = 20;
inline constexpr unsigned MB_YESNO_ICONINFORMATION = 68;

// Returns the button pressed (IDOK, IDYES, IDNO), or 0 when no box could be
// shown, which every caller reads as No.
int showMessageBox(const Text& title, const Text& text, unsigned flags);

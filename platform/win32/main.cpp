// The process entry of the Windows program. The command line and the show
// request are ignored, as the program takes neither.
#include <windows.h>

#include "app/entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return appEntry(); }

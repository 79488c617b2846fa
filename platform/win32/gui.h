// Shared pieces of the Win32 windows of the platform layer.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace platform {

inline const wchar_t* wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The executable's module: its resources hold the program icon (1).
HINSTANCE programInstance();
HICON programIcon();
// Registers a window class of the program: its icon, the arrow cursor and the
// button-face background. A class registered before counts as registered.
bool registerProgramClass(const wchar_t* name, WNDPROC procedure);

// LOGPIXELSX and LOGPIXELSY of the screen: the program is system-DPI aware,
// so these are the DPI it was started with.
void screenDpi(int& dpiX, int& dpiY);

// The foreground window when it belongs to this process, else null.
HWND foregroundWindowOfProcess();

// What a window of ours needs to know between messages.
struct WindowState {
    int dpiX = 96;
    int dpiY = 96;
    bool closeRequested = false;
    HWND self = nullptr;  // for the web view library, which takes a pointer to an HWND
    HWND widget = nullptr;  // the web view library's own window in a container
};
WindowState* windowState(HWND window);

}  // namespace platform

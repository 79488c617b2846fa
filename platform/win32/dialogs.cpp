// Message boxes: MessageBoxW with the owner, disabling and topmost rules.
#include <windows.h>

#include <vector>

#include "platform/platform.h"
#include "platform/win32/gui.h"

namespace platform {

namespace {

struct SetAside {
    HWND foreground = nullptr;
    std::vector<HWND> disabled;
    std::vector<HWND> topmost;
};

BOOL CALLBACK setAside(HWND window, LPARAM data) {
    auto* aside = reinterpret_cast<SetAside*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    if (window != aside->foreground && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        aside->disabled.push_back(window);
    }
    // A topmost window of ours would cover the box.
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        aside->topmost.push_back(window);
    }
    return TRUE;
}

}  // namespace

int messageBox(const Text& title, const Text& text, unsigned flags) {
    HWND owner = foregroundWindowOfProcess();
    SetAside aside;
    aside.foreground = GetForegroundWindow();
    EnumThreadWindows(GetCurrentThreadId(), setAside, reinterpret_cast<LPARAM>(&aside));

    const int result = MessageBoxW(owner, wide(text), wide(title), flags);

    for (HWND window : aside.disabled) EnableWindow(window, TRUE);
    for (HWND window : aside.topmost) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return result;
}

}  // namespace platform

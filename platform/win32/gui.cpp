#include "platform/win32/gui.h"

namespace platform {

HINSTANCE programInstance() { return GetModuleHandleW(nullptr); }

HICON programIcon() {
    static HICON icon = LoadIconW(programInstance(), MAKEINTRESOURCEW(1));
    return icon;
}

void screenDpi(int& dpiX, int& dpiY) {
    HDC screen = GetDC(nullptr);
    dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpiX <= 0) dpiX = 96;
    if (dpiY <= 0) dpiY = 96;
}

HWND foregroundWindowOfProcess() {
    HWND window = GetForegroundWindow();
    if (!window) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId() ? window : nullptr;
}

WindowState* windowState(HWND window) {
    return window ? reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

bool registerProgramClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = programInstance();
    windowClass.hIcon = programIcon();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace platform

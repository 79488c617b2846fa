// Reports the visible top-level windows of the desktop as JSON, as an
// inspection tool would see them from outside the program: title, class,
// geometry, state, owner, class settings and child controls. The GUI tests
// run it beside the program they drive.
#include <windows.h>

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

namespace {

std::string utf8(const wchar_t* text, int length = -1) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], n, nullptr, nullptr);
    if (length < 0 && !out.empty()) out.pop_back();
    return out;
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    GetWindowTextW(window, &text[0], length + 1);
    return utf8(text.c_str());
}

std::string className(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return utf8(name);
}

long long id(HWND window) { return static_cast<long long>(reinterpret_cast<intptr_t>(window)); }

int childCount(HWND window) {
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++count;
    return count;
}

nlohmann::json describeChild(HWND parent, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {{"hwnd", id(child)},
            {"class", className(child)},
            {"text", windowText(child)},
            {"id", GetDlgCtrlID(child)},
            {"rect", {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}},
            {"style", static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE))},
            {"exstyle", static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE))},
            {"visible", IsWindowVisible(child) != 0},
            {"enabled", IsWindowEnabled(child) != 0},
            // An icon static of a message box is there even when the box shows no icon.
            {"icon", SendMessageW(child, STM_GETICON, 0, 0) != 0},
            {"children", childCount(child)}};
}

BOOL CALLBACK addChild(HWND child, LPARAM data) {
    auto* out = reinterpret_cast<std::pair<HWND, nlohmann::json*>*>(data);
    if (GetParent(child) == out->first) out->second->push_back(describeChild(out->first, child));
    return TRUE;
}

nlohmann::json describe(HWND window) {
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(thread, &gui);
    nlohmann::json children = nlohmann::json::array();
    std::pair<HWND, nlohmann::json*> context(window, &children);
    EnumChildWindows(window, addChild, reinterpret_cast<LPARAM>(&context));
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    return {{"hwnd", id(window)},
            {"title", windowText(window)},
            {"class", className(window)},
            {"pid", process},
            {"style", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE))},
            {"exstyle", static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE))},
            {"enabled", IsWindowEnabled(window) != 0},
            {"topmost", (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0},
            {"owner", id(GetWindow(window, GW_OWNER))},
            {"foreground", GetForegroundWindow() == window},
            {"focus", id(gui.hwndFocus)},
            {"window", {frame.left, frame.top, frame.right, frame.bottom}},
            {"client", {client.right, client.bottom}},
            {"client_origin", {origin.x, origin.y}},
            {"class_icon", GetClassLongPtrW(window, GCLP_HICON) != 0},
            {"class_arrow_cursor", reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR)) == arrow},
            {"class_background", static_cast<long long>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND))},
            {"children", children}};
}

BOOL CALLBACK addWindow(HWND window, LPARAM data) {
    if (IsWindowVisible(window)) reinterpret_cast<nlohmann::json*>(data)->push_back(describe(window));
    return TRUE;
}

}  // namespace

int main() {
    nlohmann::json windows = nlohmann::json::array();
    EnumWindows(addWindow, reinterpret_cast<LPARAM>(&windows));
    HDC screen = GetDC(nullptr);
    nlohmann::json out = {{"windows", windows},
                          {"screen", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}},
                          {"dpi", {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)}},
                          {"button_face_brush", COLOR_BTNFACE + 1}};
    ReleaseDC(nullptr, screen);
    std::fputs(out.dump().c_str(), stdout);
    std::fputs("\n", stdout);
    return 0;
}

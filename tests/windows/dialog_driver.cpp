// Opens the platform layer's message box and input dialog as the program
// does, optionally among windows of its own, and prints what they returned
// as JSON; the GUI tests answer them with xdotool and look at the windows
// with the probe meanwhile. Also reports the language the thread locale
// gives.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "app/catalogue.h"
#include "app/language.h"
#include "app/values.h"
#include "platform/platform.h"
#include "ui/webview_host.h"

namespace {

Text arg(const wchar_t* text) {
    // "\r" written as backslash and r stands for a carriage return.
    Text out;
    for (const wchar_t* p = text; *p; ++p) {
        if (p[0] == L'\\' && p[1] == L'r') {
            out += u'\r';
            ++p;
        } else {
            out += static_cast<char16_t>(*p);
        }
    }
    return out;
}

HWND testWindow(const wchar_t* title, DWORD exStyle, int x) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = L"QuillboxTestWindow";
        RegisterClassW(&windowClass);
        registered = true;
    }
    HWND window = CreateWindowExW(exStyle, L"QuillboxTestWindow", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 100,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

void settle() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
}

// The class settings of a window, read inside its own process (Wine gives
// other processes none of them).
nlohmann::json classSettings(HWND window) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    return {{"icon", GetClassLongPtrW(window, GCLP_HICON) != 0},
            {"icon_is_program_icon", reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)) ==
                                         LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))},
            {"arrow_cursor", reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR)) == arrow},
            {"background", static_cast<long long>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND))},
            {"button_face_brush", COLOR_BTNFACE + 1}};
}

// Waits on a thread of its own for a window of the class to appear.
class ClassWatcher {
public:
    explicit ClassWatcher(const wchar_t* className)
        : thread_([this, className] {
              for (int i = 0; i < 3000 && settings_.is_null(); ++i) {
                  if (HWND window = FindWindowW(className, nullptr)) settings_ = classSettings(window);
                  else Sleep(10);
              }
          }) {}
    nlohmann::json settings() {
        thread_.join();
        return settings_;
    }

private:
    nlohmann::json settings_;
    std::thread thread_;
};

void print(const nlohmann::json& value) {
    std::fputs((value.dump() + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    platform::initComAndControls();
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const Text title = u"quillbox Setup Selection Tool";

    if (mode == L"language") {
        setProcessValues(u"https://example.invalid/update.json");
        fillCatalogue();
        print({{"locale", platform::threadLocale()},
               {"code", platform::textToUtf8(systemLanguageCode())},
               {"winHeader", platform::textToUtf8(localizedMessage(u"winHeader"))}});
        return 0;
    }

    // Windows of our own: an owner in front, another window, a topmost one.
    HWND other = nullptr, topmost = nullptr, owner = nullptr;
    if (mode == L"box-among-windows" || mode == L"input-with-owner") {
        other = testWindow(L"Other window", 0, 20);
        topmost = testWindow(L"Topmost window", WS_EX_TOPMOST, 340);
        owner = testWindow(L"Owner window", 0, 660);
        SetForegroundWindow(owner);
        settle();
    }
    auto windowsAfter = [&](nlohmann::json out) {
        if (owner) {
            out["owner_enabled"] = IsWindowEnabled(owner) != 0;
            out["other_enabled"] = IsWindowEnabled(other) != 0;
            out["topmost_topmost"] = (GetWindowLongW(topmost, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            out["owner_foreground"] = GetForegroundWindow() == owner;
        }
        return out;
    };

    if ((mode == L"box" || mode == L"box-among-windows") && argc >= 4) {
        const int result = platform::messageBox(title, arg(argv[3]), static_cast<unsigned>(_wtoi(argv[2])));
        print(windowsAfter({{"result", result}}));
        return 0;
    }
    if ((mode == L"input" || mode == L"input-with-owner") && argc >= 5) {
        ClassWatcher watcher(L"QuillboxInputDialog");
        const Text result = platform::inputDialog(u"Enter proxy server", arg(argv[3]), _wtoi(argv[2]), arg(argv[4]),
                                                  u"-1");
        print(windowsAfter({{"result", platform::textToUtf8(result)}, {"class", watcher.settings()}}));
        return 0;
    }
    if (mode == L"webview") {
        // Whether the web view library beside this program loads, and whether
        // a web view can then be made in a window.
        void* library = platform::loadLibraryBesideProgram(platform::webViewLibraryName());
        platform::NativeWindow window = platform::createMainWindow(u"Web view window", 800, 600);
        const bool created = WebViewHost::create(window, 0, 0, 800, 600, false) != nullptr;
        print({{"loaded", library != nullptr}, {"created", created}});
        return 0;
    }
    if (mode == L"main-window") {
        // The main window as runMainWindow opens it, with its container.
        platform::NativeWindow window = platform::createMainWindow(u"Main window", 800, 600);
        int width = 0, height = 0;
        platform::clientSize(window, width, height);
        platform::NativeWindow container = platform::createContainer(window, 0, 0, width, height);
        const nlohmann::json settings = classSettings(static_cast<HWND>(window));
        platform::runUntilClosed(window);
        print({{"client", {width, height}}, {"container", container != nullptr}, {"class", settings}});
        return 0;
    }
    std::fputs("usage: box|box-among-windows <flags> <text> | input|input-with-owner <width> <message> <default>"
               " | main-window | webview | language\n", stderr);
    return 2;
}

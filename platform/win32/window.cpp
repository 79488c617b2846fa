// The main window, the web view's container, and the engine side of the
// web view.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/gui.h"

namespace platform {

namespace {

constexpr wchar_t kMainClass[] = L"QuillboxMainWindow";
constexpr wchar_t kContainerClass[] = L"QuillboxWebViewContainer";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* state = windowState(window);
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_CLOSE:
        // The program ends once the loop sees this; nothing is torn down
        // one by one.
        if (state) state->closeRequested = true;
        return 0;
    case WM_SIZE:
        // The library's widget fills the container, and the widget keeps the
        // browser at its own size.
        if (state && state->widget) {
            RECT client;
            GetClientRect(window, &client);
            MoveWindow(state->widget, 0, 0, client.right, client.bottom, TRUE);
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass(const wchar_t* name) { return registerProgramClass(name, windowProcedure); }

}  // namespace

NativeWindow createMainWindow(const Text& title, int clientWidth, int clientHeight) {
    static const bool registered = registerClass(kMainClass);
    if (!registered) return nullptr;
    auto* state = new WindowState();
    screenDpi(state->dpiX, state->dpiY);

    const DWORD style = WS_CAPTION | WS_SYSMENU;
    RECT frame = {0, 0, MulDiv(clientWidth, state->dpiX, 96), MulDiv(clientHeight, state->dpiY, 96)};
    AdjustWindowRect(&frame, style, FALSE);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (left < 0) left = 0;
    if (top < 0) top = 0;

    HWND window = CreateWindowExW(0, kMainClass, wide(title), style, left, top, width, height, nullptr, nullptr,
                                  programInstance(), state);
    if (!window) {
        delete state;
        return nullptr;
    }
    state->self = window;
    // The first ShowWindow of a process takes the show request of whoever
    // started it; the program ignores that request, so the second call sets
    // the normal state it always has.
    ShowWindow(window, SW_SHOWNORMAL);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return window;
}

void clientSize(NativeWindow window, int& width, int& height) {
    width = height = 0;
    WindowState* state = windowState(static_cast<HWND>(window));
    RECT client;
    if (!state || !GetClientRect(static_cast<HWND>(window), &client)) return;
    width = MulDiv(client.right, 96, state->dpiX);
    height = MulDiv(client.bottom, 96, state->dpiY);
}

NativeWindow createContainer(NativeWindow parent, int x, int y, int width, int height) {
    static const bool registered = registerClass(kContainerClass);
    WindowState* parentState = windowState(static_cast<HWND>(parent));
    if (!registered || !parentState) return nullptr;
    auto* state = new WindowState(*parentState);
    state->closeRequested = false;
    state->widget = nullptr;
    HWND container = CreateWindowExW(
        0, kContainerClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, MulDiv(x, state->dpiX, 96),
        MulDiv(y, state->dpiY, 96), MulDiv(width, state->dpiX, 96), MulDiv(height, state->dpiY, 96),
        static_cast<HWND>(parent), nullptr, programInstance(), state);
    if (!container) {
        delete state;
        return nullptr;
    }
    state->self = container;
    return container;
}

// The library reads the parent as a pointer to an HWND; it creates its own
// widget window inside it and the browser controller in that widget.
void* webViewParent(NativeWindow container) {
    WindowState* state = windowState(static_cast<HWND>(container));
    return state ? &state->self : nullptr;
}

void fitWebViewWidget(NativeWindow container, void* widget) {
    WindowState* state = windowState(static_cast<HWND>(container));
    if (!state || !widget) return;
    state->widget = static_cast<HWND>(widget);
    RECT client;
    GetClientRect(static_cast<HWND>(container), &client);
    MoveWindow(state->widget, 0, 0, client.right, client.bottom, TRUE);
}

// We have no WebView2 headers, so nothing is set here: WebView2's defaults
// already are the settings we need (default script dialogs and web messages
// enabled, the controller visible), and the library itself turns the
// developer tools and the status bar off and grants clipboard reading. What
// is left to check is that the library did give us a controller.
bool configureWebView(void* browserController) { return browserController != nullptr; }

void runUntilClosed(NativeWindow window) {
    WindowState* state = windowState(static_cast<HWND>(window));
    if (!state) return;
    MSG msg;
    while (!state->closeRequested) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got < 0) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace platform

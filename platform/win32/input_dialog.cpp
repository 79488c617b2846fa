// The proxy input dialog: a tool window of plain controls, sized to its
// message, with Return and Escape in its accelerator table.
#include <windows.h>

#include <string>

#include "net/input_dialog_layout.h"
#include "platform/platform.h"
#include "platform/win32/gui.h"

namespace platform {

namespace {

constexpr wchar_t kClassName[] = L"QuillboxInputDialog";
constexpr int kOkButton = 1;
constexpr int kCancelButton = 2;
constexpr WORD kEscapeCommand = 32767;
constexpr WORD kReturnCommand = 32768;
constexpr LPARAM kMaxEntryLength = 1048576;

struct DialogState {
    HWND edit = nullptr;
    bool done = false;
    bool accepted = false;
    Text result;
};

void finish(DialogState* state, bool accepted) {
    if (state->done) return;
    state->done = true;
    state->accepted = accepted;
    if (!accepted) return;
    const int length = GetWindowTextLengthW(state->edit);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(state->edit, &buffer[0], length + 1);
    state->result = Text(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<size_t>(got > 0 ? got : 0));
}

LRESULT CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_COMMAND:
        if (!state) break;
        switch (LOWORD(wParam)) {
        case kOkButton:
        case kReturnCommand:
            finish(state, true);
            return 0;
        case kCancelButton:
        case kEscapeCommand:
            finish(state, false);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (state) finish(state, false);
        return 0;  // destroyed by inputDialog once its loop has ended
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass() {
    static const bool registered = registerProgramClass(kClassName, dialogProcedure);
    return registered;
}

// The system's message font, or the stock GUI font when the metrics cannot
// be read. Only a font made here is to be deleted.
HFONT dialogFont(bool& owned) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        if (HFONT font = CreateFontIndirectW(&metrics.lfMessageFont)) {
            owned = true;
            return font;
        }
    }
    owned = false;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// DrawTextW with DT_CALCRECT | DT_WORDBREAK at the width the static text
// will wrap at, in the font it will use.
int measureMessage(HFONT font, const Text& message, int widthPixels) {
    HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    HGDIOBJ previous = SelectObject(screen, font);
    RECT rect = {0, 0, widthPixels, 0};
    DrawTextW(screen, wide(message), -1, &rect, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return rect.bottom - rect.top;
}

HWND addControl(HWND parent, DWORD exStyle, const wchar_t* className, const Text& text, DWORD style,
                const DialogRect& rect, int id, HFONT font) {
    HWND control = CreateWindowExW(exStyle, className, wide(text), WS_CHILD | WS_VISIBLE | style, rect.x, rect.y,
                                   rect.width, rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   programInstance(), nullptr);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

}  // namespace

Text inputDialog(const Text& title, const Text& message, int width, const Text& defaultText,
                 const Text& cancelValue) {
    HWND owner = foregroundWindowOfProcess();
    if (owner) EnableWindow(owner, FALSE);

    bool ownedFont = false;
    HFONT font = dialogFont(ownedFont);
    int dpiX = 96, dpiY = 96;
    screenDpi(dpiX, dpiY);
    const InputDialogLayout layout =
        inputDialogLayout(width, measureMessage(font, message, inputDialogTextWidth(width, dpiX)), dpiX, dpiY);

    // A title bar and nothing else: no system menu, no buttons in it, no
    // sizing border; a tool window has no taskbar button.
    const DWORD style = WS_POPUP | WS_CAPTION;
    const DWORD exStyle = WS_EX_TOOLWINDOW;
    RECT frame = {0, 0, layout.innerWidth, layout.innerHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    int left = area.left + (area.right - area.left - outerWidth) / 2;
    int top = area.top + (area.bottom - area.top - outerHeight) / 2;
    if (left < 0) left = 0;
    if (top < 0) top = 0;

    DialogState state;
    HWND dialog = registerClass() ? CreateWindowExW(exStyle, kClassName, wide(u"   " + title), style, left, top,
                                                    outerWidth, outerHeight, owner, nullptr, programInstance(), &state)
                                  : nullptr;
    if (!dialog) {
        if (owner) EnableWindow(owner, TRUE);
        if (ownedFont) DeleteObject(font);
        return cancelValue;
    }

    addControl(dialog, 0, L"STATIC", message, SS_LEFT | SS_NOPREFIX, layout.message, -1, font);
    state.edit = addControl(dialog, WS_EX_CLIENTEDGE, L"EDIT", defaultText, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
                            layout.edit, 3, font);
    SendMessageW(state.edit, EM_LIMITTEXT, kMaxEntryLength, 0);
    addControl(dialog, 0, L"BUTTON", u"OK", BS_PUSHBUTTON | WS_TABSTOP, layout.ok, kOkButton, font);
    addControl(dialog, 0, L"BUTTON", u"Cancel", BS_PUSHBUTTON | WS_TABSTOP, layout.cancel, kCancelButton, font);
    ShowWindow(dialog, SW_SHOWNORMAL);
    SetForegroundWindow(dialog);
    SetFocus(state.edit);

    ACCEL keys[2] = {{FVIRTKEY, VK_ESCAPE, kEscapeCommand}, {FVIRTKEY, VK_RETURN, kReturnCommand}};
    HACCEL accelerators = CreateAcceleratorTableW(keys, 2);

    // The accelerators come before the focused control, so Return confirms
    // even on the Cancel button and Escape cancels from the edit field.
    MSG msg;
    bool quit = false;
    while (!state.done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got < 0) break;
        if (accelerators && TranslateAcceleratorW(dialog, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    if (accelerators) DestroyAcceleratorTable(accelerators);
    // The owner takes the activation back before the dialog goes, so that no
    // other program's window comes to the front in between.
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    DestroyWindow(dialog);
    if (ownedFont) DeleteObject(font);
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return state.accepted ? state.result : cancelValue;
}

}  // namespace platform

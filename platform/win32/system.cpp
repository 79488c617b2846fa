// Process-wide services: COM and controls, locale, environment, module path,
// folders, and libraries beside the program.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/gui.h"

namespace platform {

namespace {

Text fromWide(const wchar_t* text, size_t length) {
    return Text(reinterpret_cast<const char16_t*>(text), length);
}

// The folder of the running executable, with its trailing backslash.
Text programFolder() {
    const Text path = modulePath();
    const size_t slash = path.find_last_of(u"\\/");
    return slash == Text::npos ? Text() : path.substr(0, slash + 1);
}

}  // namespace

void initComAndControls() {
    // The web view and the shell both want a single-threaded apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

void setDriveCFolder(const std::string&) {}

Text modulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return Text();
        // A full buffer means the path may have been cut.
        if (n < buffer.size()) return fromWide(buffer.data(), n);
        if (buffer.size() >= 32768) return Text();
        buffer.resize(buffer.size() * 2);
    }
}

unsigned threadLocale() { return static_cast<unsigned>(GetThreadLocale()); }

bool environmentVariable(const Text& name, Text& value) {
    value.clear();
    std::wstring buffer(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wide(name), &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        // Too small: n is the size needed, the terminating zero included.
        if (n >= buffer.size()) {
            buffer.resize(n);
            continue;
        }
        value = fromWide(buffer.data(), n);
        return true;
    }
}

bool setEnvironmentVariable(const Text& name, const Text& value) {
    return SetEnvironmentVariableW(wide(name), wide(value)) != 0;
}

Text roamingDataFolder() {
    wchar_t buffer[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return Text();
    return fromWide(buffer, wcslen(buffer));
}

Text tempPath() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    return n == 0 || n > MAX_PATH ? Text() : fromWide(buffer, n);
}

bool longPathName(const Text& path, Text& longPath) {
    const DWORD needed = GetLongPathNameW(wide(path), nullptr, 0);
    if (needed == 0) return false;
    std::wstring buffer(needed, L'\0');
    const DWORD n = GetLongPathNameW(wide(path), &buffer[0], needed);
    if (n == 0 || n >= needed) return false;
    longPath = fromWide(buffer.data(), n);
    return true;
}

void* loadLibraryBesideProgram(const Text& fileName) {
    if (fileName.empty() || fileName.find_first_of(u"\\/:") != Text::npos) return nullptr;
    const Text folder = programFolder();
    if (folder.empty()) return nullptr;
    const Text path = folder + fileName;
    // A full path, and its dependencies from its own folder and the system
    // folder only: neither the current directory nor PATH is searched.
    HMODULE library = LoadLibraryExW(wide(path), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows before the search flags (Vista, and 7 without its update)
    // refuses them; the altered search path still starts in that folder.
    if (!library && GetLastError() == ERROR_INVALID_PARAMETER) {
        library = LoadLibraryExW(wide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return library;
}

Text webViewLibraryName() { return u"libwebview.dll"; }

void* librarySymbol(void* library, const char* name) {
    return library ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)) : nullptr;
}

}  // namespace platform

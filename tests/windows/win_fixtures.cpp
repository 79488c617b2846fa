// tests/support/fixtures.h for the Wine suites: fixture folders in the
// user's temporary folder on the prefix's drive C:, written with the wide
// file functions.
#include "tests/windows/win_fixtures.h"

#include <windows.h>

#include <algorithm>

namespace {

std::wstring W(const std::string& utf8) {
    const Text text = platform::utf8ToText(utf8);
    return std::wstring(reinterpret_cast<const wchar_t*>(text.c_str()), text.size());
}

std::string fromW(const wchar_t* text) {
    return platform::textToUtf8(Text(reinterpret_cast<const char16_t*>(text)));
}

std::string parentOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

TempFolder::TempFolder(const std::string& name) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::string base = fromW(temp) + "quillbox-tests";
    CreateDirectoryW(W(base).c_str(), nullptr);
    for (unsigned n = GetCurrentProcessId() * 7919u + GetTickCount();; ++n) {
        path_ = base + "\\" + name + "-" + std::to_string(n % 1000000);
        if (CreateDirectoryW(W(path_).c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() { removeTree(path_); }

void makeFolders(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/' || path[i] == '\\') CreateDirectoryW(W(path.substr(0, i)).c_str(), nullptr);
    }
}

void writeFile(const std::string& path, const std::string& bytes) {
    makeFolders(parentOf(path));
    HANDLE file = CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readFile(const std::string& path) {
    HANDLE file = CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool fileExists(const std::string& path) { return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

EnvGuard::EnvGuard(const char* name, const char* value) : name_(name) {
    wchar_t buffer[32768];
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetEnvironmentVariableW(W(name).c_str(), buffer, 32768);
    had_ = n > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    if (had_) old_ = fromW(buffer);
    SetEnvironmentVariableW(W(name).c_str(), value ? W(value).c_str() : nullptr);
}

EnvGuard::~EnvGuard() { SetEnvironmentVariableW(W(name_).c_str(), had_ ? W(old_).c_str() : nullptr); }

std::string signingFixture(const std::string& name) {
    return environmentOr("QUILLBOX_TEST_SIGNING_FIXTURES") + "\\" + name;
}

std::string environmentOr(const char* name, const std::string& fallback) {
    Text value;
    return platform::environmentVariable(platform::utf8ToText(name), value) && !value.empty()
               ? platform::textToUtf8(value)
               : fallback;
}

std::string testServer() { return environmentOr("QUILLBOX_TEST_SERVER"); }

void removeTree(const std::string& path) {
    if (path.size() < 4) return;  // never a drive root
    const DWORD attributes = GetFileAttributesW(W(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(W(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(W(path).c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(W(path + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fromW(data.cFileName);
            if (name != "." && name != "..") removeTree(path + "\\" + name);
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    RemoveDirectoryW(W(path).c_str());
}

FixedFolders::~FixedFolders() {
    for (const std::string& top : tops_) removeTree(top);
}

bool FixedFolders::add(const std::string& top, const std::string& below, const std::string& content, bool isFolder) {
    if (std::find(tops_.begin(), tops_.end(), top) == tops_.end()) {
        if (fileExists(top)) return false;
        tops_.push_back(top);
    }
    const std::string path = top + "\\" + below;
    if (isFolder) makeFolders(path);
    else writeFile(path, content);
    return fileExists(path);
}

std::string programFolder() {
    wchar_t buffer[MAX_PATH];
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    const std::string path = fromW(buffer);
    return path.substr(0, path.find_last_of('\\') + 1);
}

bool waitForFile(const std::string& path, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (fileExists(path)) return true;
        Sleep(50);
    }
    return fileExists(path);
}

// Small file-system fixtures for the tests.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// A fresh folder under the build's test area, removed when it goes away.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
void makeFolders(const std::string& path);

// Sets or unsets an environment variable for one scope.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value);
    ~EnvGuard();

private:
    std::string name_;
    std::string old_;
    bool had_;
};

inline Text T(const std::string& utf8) { return platform::utf8ToText(utf8); }
inline std::string U(const Text& text) { return platform::textToUtf8(text); }

// Stands in for the shell's open action: xdg-open and gio on PATH become a
// recorder that writes each call's arguments as one line into a file.
class ShellRecorder {
public:
    ShellRecorder();
    // The lines recorded so far, after waiting up to timeoutMs for at least
    // `expected` of them (detached starts arrive a little later).
    std::vector<std::string> calls(size_t expected = 1, int timeoutMs = 5000) const;

private:
    TempFolder folder_{"recorder"};
    EnvGuard path_;
};

// The signed test setups, made at build time by tools/signing_fixtures.py.
std::string signingFixture(const std::string& name);

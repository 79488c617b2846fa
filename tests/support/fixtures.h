// Small file-system fixtures for the tests.
#pragma once

#include <string>

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

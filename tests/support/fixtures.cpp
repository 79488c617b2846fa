#include "tests/support/fixtures.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

TempFolder::TempFolder(const std::string& name) {
    const std::string base = std::string(QUILLBOX_BINARY_DIR) + "/test-area";
    makeFolders(base);
    std::string pattern = base + "/" + name + "-XXXXXX";
    path_ = mkdtemp(&pattern[0]) ? pattern : base + "/" + name;
}

TempFolder::~TempFolder() {
    const std::string command = "rm -rf '" + path_ + "'";
    (void)!system(command.c_str());
}

void writeFile(const std::string& path, const std::string& bytes) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) makeFolders(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

void makeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
    }
}

EnvGuard::EnvGuard(const char* name, const char* value) : name_(name) {
    const char* old = getenv(name);
    had_ = old != nullptr;
    if (old) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
}

EnvGuard::~EnvGuard() {
    if (had_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
}

namespace {

std::string recorderPath(const TempFolder& folder) {
    const char* path = getenv("PATH");
    return folder.path() + ":" + (path ? path : "/usr/bin:/bin");
}

}  // namespace

ShellRecorder::ShellRecorder() : path_("PATH", recorderPath(folder_).c_str()) {
    const std::string script = "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + folder_.path() + "/calls.txt'\n";
    for (const char* name : {"xdg-open", "gio"}) {
        writeFile(folder_ / name, script);
        chmod((folder_ / name).c_str(), 0755);
    }
}

std::vector<std::string> ShellRecorder::calls(size_t expected, int timeoutMs) const {
    std::vector<std::string> lines;
    for (int waited = 0;; waited += 50) {
        lines.clear();
        std::stringstream text(readFile(folder_ / "calls.txt"));
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        if (lines.size() >= expected || waited >= timeoutMs) return lines;
        usleep(50000);
    }
}

std::string signingFixture(const std::string& name) {
    return std::string(QUILLBOX_BINARY_DIR) + "/fixtures/signing/" + name;
}

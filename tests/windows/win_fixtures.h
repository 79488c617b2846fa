// Helpers of the Wine suites beyond tests/support/fixtures.h, which they
// implement for Windows (win_fixtures.cpp).
#pragma once

#include <string>
#include <vector>

#include "tests/support/fixtures.h"

// The HTTP test server and the proxies that the suite's runner started on
// 127.0.0.1 ("http://127.0.0.1:<port>"), or "" when it started none.
std::string testServer();
std::string environmentOr(const char* name, const std::string& fallback = "");

// Folders made at fixed places of drive C: (where the detectors look),
// removed again when the object goes away. A folder that was there before
// is refused, so nothing of the prefix itself is ever removed.
class FixedFolders {
public:
    ~FixedFolders();
    // Makes the file (with content, or a folder when isFolder) below top,
    // which must not exist yet unless this object made it.
    bool add(const std::string& top, const std::string& below, const std::string& content, bool isFolder = false);

private:
    std::vector<std::string> tops_;
};

void removeTree(const std::string& path);

// The folder of the running test program, with a trailing backslash.
std::string programFolder();

// Waits until path exists, up to the given time: for programs that were
// started and left to run.
bool waitForFile(const std::string& path, int milliseconds = 30000);

// Windows paths on Linux: how the platform layer finds the file a core path names.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Maps a Windows path to the Linux path it stands for. Drive C: lives under
// the drive-C folder; a rooted path without a drive is on C:; a path that
// begins with "/" is a POSIX path; backslash and slash both separate. Fails
// for other drives, UNC paths and names Windows refuses (< > : " | ? * and
// control characters), except that "*" and "?" may stand in the last
// component when wildcards are allowed.
bool nativePath(const Text& path, std::string& out, bool allowWildcards = false);

// Splits a command line into arguments as CommandLineToArgvW does.
std::vector<Text> splitCommandLine(const Text& line);

// The folder that stands for drive C: (set by setDriveCFolder).
const std::string& driveCFolder();

// The folder that holds the running executable, without a trailing "/".
std::string moduleFolder();

}  // namespace platform

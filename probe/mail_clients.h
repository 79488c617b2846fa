// Which mail clients are installed, told to the page through the bridge.
// Detection is by the program file or package folder at fixed places.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

inline const std::string FoundReplyYes = "{ \"found\": 1 }";
inline const std::string FoundReplyNo = "{ \"found\": 0 }";

// True for an existing file of at least one byte.
bool isNonEmptyFile(const Text& path);

// The bridge handlers; they ignore their arguments.
std::optional<std::string> detectThunderbird(const Text& params);
std::optional<std::string> detectOutlookClassic32(const Text& params);
std::optional<std::string> detectOutlookClassic64(const Text& params);
std::optional<std::string> detectOutlookNew(const Text& params);

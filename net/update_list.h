// Obtaining the update list: the network or a local file, and the loop that
// asks the user what to do when the list cannot be had.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

// The list text from UpdateListUrl, or the empty text on any failure.
Text fetchUpdateList();

// Decodes the bytes of a local list file (byte-order mark skipped).
Text decodeListFile(const std::string& bytes);

// Up to 40 units from the start of a rejected text, without carriage
// returns, line feeds and tabs.
Text rejectedExtract(const Text& text);

// Fetches until a text whose first character after spaces is "{" arrives,
// asking the user between attempts. Returns the text exactly as received, or
// nothing when the user declined a retry.
std::optional<Text> runUpdateListLoop();

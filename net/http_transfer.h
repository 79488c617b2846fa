// Every HTTP transfer of the program: GET with one fixed set of options and
// the user's proxy. The HTTP status is not looked at: an error page is a body.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

// The response body, or nothing when the transfer failed. An empty body is
// an empty block and a success.
std::optional<std::string> downloadToMemory(const Text& url);

// Stores the body in path (created, or emptied, before the request). Returns
// 1 on success, else 0, and then no file is left at path.
int downloadToFile(const Text& url, const Text& path);

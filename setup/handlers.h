// What the page's install and information buttons ask of the native side.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

inline constexpr int64_t MinimumSetupSize = 5120;
inline constexpr const char16_t* ExpectedSigner = u"CN=tolvane";

// The one text of a JSON argument array: the string's text, the empty text
// for an element of another kind, nothing for anything but a one-element array.
std::optional<Text> singleTextArgument(const Text& params);

// The path of a URL after the host, without its leading "/" and without the
// query; a fragment stays, escapes are not decoded. Works in the ANSI code page.
Text urlPath(const Text& url);
// The last segment of a path, up to a double quote.
Text lastPathSegment(const Text& path);
// Where a setup is downloaded to: the temporary folder and the URL's last segment.
Text setupTargetPath(const Text& url);

// "pb_runSetup": download, check size and signature, start; or tell the user.
std::optional<std::string> runSetupHandler(const Text& params);
// "pb_openUrl": a web or mail link, opened by the shell.
std::optional<std::string> openUrlHandler(const Text& params);

// Builds the one self-contained HTML document that the main window shows.
#pragma once

#include "platform/platform.h"

// The page from the carried assets, the update list text (as fetched: not
// trimmed, not parsed) and the page language ("de", "en" or "fr").
Text assemblePage(const Text& updateList, const Text& languageCode);

#pragma once

#include "platform/platform.h"

// Opens the main window with the page built from the list and the language,
// binds the native handlers and returns once the user has closed the window.
void runMainWindow(const Text& updateList, const Text& languageCode);

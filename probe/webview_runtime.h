// The web view runtime: whether it is installed, and installing it from the
// installer that the program carries.
#pragma once

#include <cstddef>

// True when one of the runtime's two fixed folders on drive C: is a folder.
bool webViewRuntimePresent();

// Writes the carried installer to the temporary folder, runs it to its end
// and deletes it. True once it has run, whatever the installer did; false
// after telling the user that it could not be written.
bool installWebViewRuntime();

// The same with the given installer in place of the carried one.
bool installWebViewRuntimeFrom(const unsigned char* installer, size_t size);

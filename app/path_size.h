// File-system helpers shared by the setup, probing and provisioning code.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The size of the file that path names (0 when empty), -2 for a directory,
// -1 when nothing is there or it cannot be queried. Wildcards never count.
int64_t pathSize(const Text& path);

// The user's temporary folder in its long form, ending with a backslash or
// slash; at most 259 characters; empty when it cannot be had.
Text temporaryFolder();

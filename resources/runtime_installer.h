// The web view runtime's installer, carried inside the executable as one
// block of data whose start and length are fixed when the program is built
// (resources/runtime_installer.cmake). It is written out byte for byte and
// never parsed.
#pragma once

#include <cstddef>

extern "C" {
extern const unsigned char quillbox_runtime_installer[];
extern const size_t quillbox_runtime_installer_size;
}

inline const unsigned char* runtimeInstallerData() { return quillbox_runtime_installer; }
inline size_t runtimeInstallerSize() { return quillbox_runtime_installer_size; }

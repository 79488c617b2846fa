# Cross-compiling for Windows with MinGW-w64 (x86_64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLBOX_WINDOWS_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

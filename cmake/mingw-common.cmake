# What both MinGW-w64 toolchains share; each sets CMAKE_SYSTEM_PROCESSOR and
# QUILLBOX_WINDOWS_TRIPLET first. The posix thread model compilers, because
# GoogleTest needs std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QUILLBOX_WINDOWS_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLBOX_WINDOWS_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLBOX_WINDOWS_TRIPLET}-windres)
set(CMAKE_ASM_COMPILER ${QUILLBOX_WINDOWS_TRIPLET}-gcc-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLBOX_WINDOWS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static: the executables need no DLL of ours but the web view library.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The Windows build's platform layer and libraries, included by the top-level
# CMakeLists.txt in place of the Linux ones. libcurl (Schannel, SSPI) and
# PCRE are static builds from Debian's source packages that
# tools/windows_setup.sh leaves in build/windows-deps/<triplet>.

if(NOT QUILLBOX_WINDOWS_TRIPLET)
  set(QUILLBOX_WINDOWS_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
endif()
set(QUILLBOX_WINDOWS_DEPS "${CMAKE_SOURCE_DIR}/build/windows-deps/${QUILLBOX_WINDOWS_TRIPLET}" CACHE PATH
    "Prefix of the cross-built libcurl and PCRE")
foreach(library curl pcre)
  if(NOT EXISTS "${QUILLBOX_WINDOWS_DEPS}/lib/lib${library}.a")
    message(FATAL_ERROR "${QUILLBOX_WINDOWS_DEPS}/lib/lib${library}.a is missing: run tools/windows_setup.sh")
  endif()
endforeach()

# Vista is the oldest system the manifest names.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0600 WINVER=0x0600)

add_library(CURL::libcurl INTERFACE IMPORTED)
set_target_properties(CURL::libcurl PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${QUILLBOX_WINDOWS_DEPS}/include"
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "${QUILLBOX_WINDOWS_DEPS}/lib/libcurl.a;ws2_32;crypt32;bcrypt;secur32;advapi32")

add_library(PkgConfig::PCRE INTERFACE IMPORTED)
set_target_properties(PkgConfig::PCRE PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${QUILLBOX_WINDOWS_DEPS}/include"
  INTERFACE_COMPILE_DEFINITIONS PCRE_STATIC
  INTERFACE_LINK_LIBRARIES "${QUILLBOX_WINDOWS_DEPS}/lib/libpcre.a")

# The JSON reader is header-only: Debian's copy serves both builds. Its
# folder is linked in alone, so no other host header can reach the cross
# compiler.
set(quillbox_json_include "${CMAKE_BINARY_DIR}/generated/json-include")
if(NOT EXISTS "/usr/include/nlohmann/json.hpp")
  message(FATAL_ERROR "/usr/include/nlohmann/json.hpp is missing: run tools/setup.sh")
endif()
file(MAKE_DIRECTORY "${quillbox_json_include}")
file(CREATE_LINK /usr/include/nlohmann "${quillbox_json_include}/nlohmann" SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${quillbox_json_include}")

# The platform layer: everything that talks to the operating system.
add_library(quillbox_platform STATIC
  platform/win32/text.cpp
  platform/win32/system.cpp
  platform/win32/files.cpp
  platform/win32/process.cpp
)
target_include_directories(quillbox_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quillbox_platform PUBLIC ole32 comctl32 shell32 shlwapi user32 gdi32 uuid)
target_compile_options(quillbox_platform PRIVATE ${QUILLBOX_WARNINGS})

# The GUI services, which the unit tests replace with a scripted stand-in.
add_library(quillbox_gui STATIC
  platform/win32/gui.cpp
  platform/win32/dialogs.cpp
  platform/win32/input_dialog.cpp
  platform/win32/window.cpp
)
target_link_libraries(quillbox_gui PUBLIC quillbox_core quillbox_platform)
target_compile_options(quillbox_gui PRIVATE ${QUILLBOX_WARNINGS})

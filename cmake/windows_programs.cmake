# The Windows programs: their resources, the runtime installer they carry,
# the web view library beside the x86-64 program, and the Wine test suites.
# Included by the top-level CMakeLists.txt for a MinGW-w64 build.

option(QUILLBOX_RELEASE "A release build, which must carry the vendor's web view runtime installer" OFF)

# The manifest names the program's own architecture, in both places: Windows
# refuses to start a program whose manifest names another.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QUILLBOX_MANIFEST_ARCHITECTURE amd64)
else()
  set(QUILLBOX_MANIFEST_ARCHITECTURE X86)
endif()

# Test builds carry a stand-in of ours for the runtime installer; a release
# build without the vendor's installer stops in quillbox_runtime_installer.
set(quillbox_standin "")
if(NOT QUILLBOX_WEBVIEW_INSTALLER AND NOT QUILLBOX_RELEASE)
  set(quillbox_standin quillbox-runtime-standin)
  add_executable(${quillbox_standin} ${CMAKE_SOURCE_DIR}/tools/webview_runtime_standin_windows.c)
  target_link_options(${quillbox_standin} PRIVATE -municode)
  set_target_properties(${quillbox_standin} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/payloads)
  set(QUILLBOX_WEBVIEW_INSTALLER "${CMAKE_BINARY_DIR}/payloads/${quillbox_standin}.exe")
endif()

# ---- resources ----------------------------------------------------------

set(resource_dir ${CMAKE_BINARY_DIR}/generated/resources)
file(MAKE_DIRECTORY ${resource_dir})

# The icon: four 32-bit images with alpha and a 256-pixel PNG, each rendered
# from our logo at its own size.
find_program(QUILLBOX_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(QUILLBOX_ICOTOOL icotool REQUIRED)
set(icon_images)
foreach(size 16 24 32 48 256)
  set(image ${resource_dir}/icon-${size}.png)
  add_custom_command(
    OUTPUT ${image}
    COMMAND ${QUILLBOX_RSVG_CONVERT} --width ${size} --height ${size} --format png --output ${image}
            ${CMAKE_SOURCE_DIR}/web/logo.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/web/logo.svg
    VERBATIM)
  list(APPEND icon_images ${image})
endforeach()
set(QUILLBOX_ICON_FILE ${resource_dir}/quillbox.ico)
add_custom_command(
  OUTPUT ${QUILLBOX_ICON_FILE}
  COMMAND ${QUILLBOX_ICOTOOL} --create --output=${QUILLBOX_ICON_FILE}
          ${resource_dir}/icon-16.png ${resource_dir}/icon-24.png ${resource_dir}/icon-32.png
          ${resource_dir}/icon-48.png --raw=${resource_dir}/icon-256.png
  DEPENDS ${icon_images}
  COMMENT "Making the program icon"
  VERBATIM)

set(QUILLBOX_MANIFEST_FILE ${resource_dir}/quillbox.manifest)
configure_file(${CMAKE_SOURCE_DIR}/resources/quillbox.manifest.in ${QUILLBOX_MANIFEST_FILE} @ONLY)
set(QUILLBOX_RESOURCE_SCRIPT ${resource_dir}/quillbox.rc)
configure_file(${CMAKE_SOURCE_DIR}/resources/quillbox.rc.in ${QUILLBOX_RESOURCE_SCRIPT} @ONLY)
set_source_files_properties(${QUILLBOX_RESOURCE_SCRIPT} PROPERTIES
  OBJECT_DEPENDS "${QUILLBOX_ICON_FILE};${QUILLBOX_MANIFEST_FILE}")
add_custom_target(quillbox_icon DEPENDS ${QUILLBOX_ICON_FILE})

# The resources as one object library, linked into every program.
add_library(quillbox_resources OBJECT ${QUILLBOX_RESOURCE_SCRIPT})
add_dependencies(quillbox_resources quillbox_icon)

# ---- programs -------------------------------------------------------------

# One GUI program with the given build settings source, carrying the
# resources and the runtime installer.
function(quillbox_windows_program name settings)
  add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/platform/win32/main.cpp ${settings})
  quillbox_runtime_installer(${name}-runtime-installer DRIVE "")
  if(quillbox_standin)
    add_dependencies(${name}-runtime-installer ${quillbox_standin})
  endif()
  target_link_libraries(${name} PRIVATE quillbox_core quillbox_gui quillbox_resources ${name}-runtime-installer)
  target_link_options(${name} PRIVATE -municode)
  target_compile_options(${name} PRIVATE ${QUILLBOX_WARNINGS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

quillbox_c_string(QUILLBOX_UPDATE_LIST_URL_C "${QUILLBOX_UPDATE_LIST_URL}")
quillbox_c_string(QUILLBOX_DRIVE_C_C "")
set(quillbox_settings ${CMAKE_BINARY_DIR}/generated/quillbox_settings.cpp)
configure_file(${CMAKE_SOURCE_DIR}/app/build_settings.cpp.in ${quillbox_settings} @ONLY)
quillbox_windows_program(quillbox ${quillbox_settings})

# The x86-64 program ships with the webview library's Windows build beside
# it (webview 0.12.0 with its own WebView2 loader; it needs the Visual C++
# runtime). Our package sources offer no 32-bit build: the 32-bit program
# loads one placed beside it, and otherwise shows its empty window.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(webview_dll "${CMAKE_SOURCE_DIR}/node_modules/webview-bun/build/libwebview.dll")
  if(NOT EXISTS "${webview_dll}")
    message(FATAL_ERROR "${webview_dll} is missing: run tools/setup.sh")
  endif()
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/libwebview.dll
    COMMAND ${CMAKE_COMMAND} -E copy ${webview_dll} ${CMAKE_BINARY_DIR}/libwebview.dll
    DEPENDS ${webview_dll}
    COMMENT "Installing the webview library"
    VERBATIM)
  add_custom_target(quillbox_webview_library ALL DEPENDS ${CMAKE_BINARY_DIR}/libwebview.dll)
endif()

include(CTest)
if(BUILD_TESTING)
  add_subdirectory(tests/windows)
endif()

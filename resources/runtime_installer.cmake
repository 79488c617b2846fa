# The web view runtime's installer that every program carries for a machine
# without the runtime: one block of data assembled into the executable with
# .incbin, so it is written out at run time exactly as it was built in.
#
# The Windows programs carry the vendor's bootstrap installer, named by
# QUILLBOX_WEBVIEW_INSTALLER. The Linux programs carry, unless told
# otherwise, a stand-in of ours (tools/webview_runtime_standin.c) that
# creates the runtime folder under the program's drive C: folder; since that
# folder is a build setting of each program, each program gets a stand-in of
# its own.
enable_language(ASM)

set(QUILLBOX_WEBVIEW_INSTALLER "" CACHE FILEPATH
    "Installer the programs carry for a missing web view runtime (empty on Linux: our stand-in)")

# quillbox_runtime_installer(<target> DRIVE <folder>)
# quillbox_runtime_installer(<target> ENV <variable>)
# Makes the object library <target> holding the payload: the installer named
# by QUILLBOX_WEBVIEW_INSTALLER, or else the stand-in for the given drive C:
# folder (empty: drive_c beside the program that starts it), or for the
# folder that the environment variable names when it runs.
function(quillbox_runtime_installer target kind value)
  set(standin "")
  if(QUILLBOX_WEBVIEW_INSTALLER)
    set(payload "${QUILLBOX_WEBVIEW_INSTALLER}")
  else()
    if(WIN32)
      message(FATAL_ERROR "QUILLBOX_WEBVIEW_INSTALLER must name the web view runtime's bootstrap installer")
    endif()
    set(standin ${target}-standin)
    set(config_dir ${CMAKE_BINARY_DIR}/generated/${standin})
    quillbox_c_string(value_c "${value}")
    if(kind STREQUAL "ENV")
      set(config "#define STANDIN_DRIVE_C_VARIABLE ${value_c}\n")
    else()
      set(config "#define STANDIN_DRIVE_C ${value_c}\n")
    endif()
    file(WRITE ${config_dir}/standin_drive_c.h.new "${config}")
    configure_file(${config_dir}/standin_drive_c.h.new ${config_dir}/standin_drive_c.h COPYONLY)
    add_executable(${standin} ${CMAKE_SOURCE_DIR}/tools/webview_runtime_standin.c)
    target_include_directories(${standin} PRIVATE ${config_dir})
    target_compile_options(${standin} PRIVATE ${QUILLBOX_WARNINGS})
    set_target_properties(${standin} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/payloads)
    set(payload ${CMAKE_BINARY_DIR}/payloads/${standin}${CMAKE_EXECUTABLE_SUFFIX})
  endif()

  string(REPLACE "\\" "\\\\" QUILLBOX_PAYLOAD_FILE_ESCAPED "${payload}")
  string(REPLACE "\"" "\\\"" QUILLBOX_PAYLOAD_FILE_ESCAPED "${QUILLBOX_PAYLOAD_FILE_ESCAPED}")
  set(source ${CMAKE_BINARY_DIR}/generated/${target}.S)
  configure_file(${CMAKE_SOURCE_DIR}/resources/runtime_installer.S.in ${source} @ONLY)
  add_library(${target} OBJECT ${source})
  # Assembled anew whenever the payload changes.
  set_source_files_properties(${source} PROPERTIES OBJECT_DEPENDS "${payload}")
  if(standin)
    add_dependencies(${target} ${standin})
  endif()
endfunction()

# The selection page: the assets in web/ are generated into a C++ source at
# build time and assembled into one HTML document by ui/assemble_page.cpp.
# Only sources are committed; the logo PNG, the style sheet with the logo and
# the embedded copy of the DOM library are build products.

get_filename_component(QUILLBOX_PAGE_ROOT "${CMAKE_CURRENT_LIST_DIR}" DIRECTORY)
set(QUILLBOX_PAGE_GENERATED "${CMAKE_BINARY_DIR}/generated/page")
file(MAKE_DIRECTORY "${QUILLBOX_PAGE_GENERATED}")

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The DOM library's minified browser build, as npm installed it.
set(QUILLBOX_DOM_LIBRARY "${QUILLBOX_PAGE_ROOT}/node_modules/cash-dom/dist/cash.min.js")
if(NOT EXISTS "${QUILLBOX_DOM_LIBRARY}")
  message(FATAL_ERROR "${QUILLBOX_DOM_LIBRARY} is missing: run tools/setup.sh")
endif()

# The logo, also the window icon. librsvg writes colour type 6 for an image
# with transparency; ImageMagick needs the PNG32: prefix to do the same.
set(QUILLBOX_LOGO_PNG "${CMAKE_BINARY_DIR}/quillbox.png")
find_program(QUILLBOX_RSVG_CONVERT rsvg-convert)
if(QUILLBOX_RSVG_CONVERT)
  set(logo_command "${QUILLBOX_RSVG_CONVERT}" --width 256 --height 256 --format png
      --output "${QUILLBOX_LOGO_PNG}" "${QUILLBOX_PAGE_ROOT}/web/logo.svg")
else()
  find_program(QUILLBOX_IMAGEMAGICK_CONVERT convert REQUIRED)
  set(logo_command "${QUILLBOX_IMAGEMAGICK_CONVERT}" -background none -density 96
      "${QUILLBOX_PAGE_ROOT}/web/logo.svg" -resize 256x256 -interlace none
      "PNG32:${QUILLBOX_LOGO_PNG}")
endif()
add_custom_command(
  OUTPUT "${QUILLBOX_LOGO_PNG}"
  COMMAND ${logo_command}
  DEPENDS "${QUILLBOX_PAGE_ROOT}/web/logo.svg"
  COMMENT "Rendering the logo"
  VERBATIM)

add_custom_command(
  OUTPUT "${QUILLBOX_PAGE_GENERATED}/style.css"
  COMMAND "${Python3_EXECUTABLE}" "${QUILLBOX_PAGE_ROOT}/tools/inline_logo.py"
          "${QUILLBOX_PAGE_ROOT}/web/style.css" "${QUILLBOX_LOGO_PNG}"
          "${QUILLBOX_PAGE_GENERATED}/style.css"
  DEPENDS "${QUILLBOX_PAGE_ROOT}/web/style.css" "${QUILLBOX_LOGO_PNG}"
          "${QUILLBOX_PAGE_ROOT}/tools/inline_logo.py"
  COMMENT "Inlining the logo into the style sheet"
  VERBATIM)

set(page_asset_files
  pageTemplateAsset=${QUILLBOX_PAGE_ROOT}/web/page_template.html
  styleSheetAsset=${QUILLBOX_PAGE_GENERATED}/style.css
  localisationScriptAsset=${QUILLBOX_PAGE_ROOT}/web/i18n.js
  domLibraryAsset=${QUILLBOX_DOM_LIBRARY}
  translationTableAsset=${QUILLBOX_PAGE_ROOT}/web/lang.js
  pageScriptAsset=${QUILLBOX_PAGE_ROOT}/web/page.js)
set(page_asset_inputs)
foreach(asset IN LISTS page_asset_files)
  string(REGEX REPLACE "^[^=]*=" "" path "${asset}")
  list(APPEND page_asset_inputs "${path}")
endforeach()

add_custom_command(
  OUTPUT "${QUILLBOX_PAGE_GENERATED}/page_assets.cpp"
  COMMAND "${Python3_EXECUTABLE}" "${QUILLBOX_PAGE_ROOT}/tools/embed_assets.py"
          "${QUILLBOX_PAGE_GENERATED}/page_assets.cpp" ui/page_assets.h ${page_asset_files}
  DEPENDS ${page_asset_inputs} "${QUILLBOX_PAGE_ROOT}/tools/embed_assets.py"
  COMMENT "Embedding the page assets"
  VERBATIM)

# Owns the generation rules; whatever needs build/quillbox.png as a file
# (the window icon) depends on this target.
add_custom_target(quillbox_page_assets
  DEPENDS "${QUILLBOX_PAGE_GENERATED}/page_assets.cpp" "${QUILLBOX_LOGO_PNG}")

add_library(quillbox_page STATIC
  "${QUILLBOX_PAGE_ROOT}/ui/assemble_page.cpp"
  "${QUILLBOX_PAGE_GENERATED}/page_assets.cpp")
add_dependencies(quillbox_page quillbox_page_assets)
target_include_directories(quillbox_page PUBLIC "${QUILLBOX_PAGE_ROOT}")
target_link_libraries(quillbox_page PUBLIC quillbox_platform)
target_compile_options(quillbox_page PRIVATE ${QUILLBOX_WARNINGS})

# Prints the page for a list file and a language, for the browser tests.
add_executable(quillbox-page "${QUILLBOX_PAGE_ROOT}/tools/quillbox_page.cpp")
target_link_libraries(quillbox-page PRIVATE quillbox_page)
target_compile_options(quillbox-page PRIVATE ${QUILLBOX_WARNINGS})
set_target_properties(quillbox-page PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")

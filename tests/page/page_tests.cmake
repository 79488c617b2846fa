# Page tests: assemblePage natively, and the assembled page in a real browser.
# Included from tests/CMakeLists.txt, which has found GoogleTest.

get_filename_component(page_repo_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)

add_executable(page_tests "${CMAKE_CURRENT_LIST_DIR}/assemble_page_test.cpp")
target_link_libraries(page_tests PRIVATE quillbox_page GTest::gtest_main)
target_compile_options(page_tests PRIVATE ${QUILLBOX_WARNINGS})
target_compile_definitions(page_tests PRIVATE
  QUILLBOX_SOURCE_DIR="${page_repo_root}"
  QUILLBOX_DOM_LIBRARY="${QUILLBOX_DOM_LIBRARY}"
  QUILLBOX_LOGO_PNG="${QUILLBOX_LOGO_PNG}")
gtest_discover_tests(page_tests TEST_PREFIX "page." DISCOVERY_TIMEOUT 30)

# The browser tests load pages that build/quillbox-page prints, in Debian's
# Chromium driven by playwright-core; screenshots go to build/screenshots.
find_program(QUILLBOX_NODE node REQUIRED)
file(GLOB page_browser_tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/*.test.mjs")
add_test(NAME page_browser
  COMMAND "${QUILLBOX_NODE}" --test ${page_browser_tests}
  WORKING_DIRECTORY "${page_repo_root}")
set_tests_properties(page_browser PROPERTIES
  ENVIRONMENT "QUILLBOX_PAGE=$<TARGET_FILE:quillbox-page>;QUILLBOX_SCREENSHOTS=${CMAKE_BINARY_DIR}/screenshots")

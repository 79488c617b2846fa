# libFuzzer targets for the code that takes outside input (clang only).
# Each gets a short smoke run over its committed seed corpus in the test
# suite; `make fuzz` runs them longer.
set(QUILLBOX_FUZZ_TARGETS update_list arguments proxy_entry localized_message assemble_page command_line)
set(QUILLBOX_FUZZ_SECONDS 5 CACHE STRING "Length of each fuzz smoke run")
foreach(target IN LISTS QUILLBOX_FUZZ_TARGETS)
  add_executable(fuzz_${target} ${CMAKE_CURRENT_LIST_DIR}/fuzz_${target}.cpp)
  target_link_libraries(fuzz_${target} PRIVATE quillbox_core quillbox_scripted_gui)
  target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
  set_target_properties(fuzz_${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz/corpus_${target})
  add_test(NAME fuzz_${target}
    COMMAND fuzz_${target} -seed=1 -max_total_time=${QUILLBOX_FUZZ_SECONDS} -max_len=4096
            ${CMAKE_BINARY_DIR}/fuzz/corpus_${target} ${CMAKE_CURRENT_LIST_DIR}/corpus/${target}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set_tests_properties(fuzz_${target} PROPERTIES LABELS fuzz TIMEOUT 600)
endforeach()

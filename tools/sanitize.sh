#!/usr/bin/env bash
# The native tests under AddressSanitizer + UndefinedBehaviorSanitizer, and a
# short smoke run of every fuzz target, in a build folder of their own (clang).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/sanitize}
seconds=${QUILLBOX_FUZZ_SECONDS:-5}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUILLBOX_SANITIZE=ON -DQUILLBOX_FUZZ_SECONDS="$seconds" >/dev/null
targets="unit_tests page_tests"
for t in update_list arguments proxy_entry localized_message assemble_page command_line; do
  targets="$targets fuzz_$t"
done
cmake --build "$build" -j "$(nproc)" --target $targets quillbox_runtime_files signing_fixtures >/dev/null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -R '^(unit|page)\.|^fuzz_' "$@"

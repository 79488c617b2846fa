#!/usr/bin/env bash
# Runs every test: the native suites, the browser tests and the tests of the
# real program's windows, under an X server of our own; then the native
# suites again under AddressSanitizer + UndefinedBehaviorSanitizer, with a
# short run of every fuzz target; last the Windows programs (make windows)
# under Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
mkdir -p "$build/screenshots"
export GTK_A11Y=none NO_AT_BRIDGE=1
# Xvfb with 96 DPI, as the geometry tests expect; no reset between clients,
# so that resources set with xrdb stay.
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset" \
  ctest --test-dir "$build" --output-on-failure --timeout 900
bash "$here/tools/sanitize.sh" "$build/sanitize"
bash "$here/tools/windows_check.sh" "$build"

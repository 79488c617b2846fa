#!/usr/bin/env bash
# Runs every test: the native suites, the browser tests and the tests of the
# real program's windows, under an X server of our own.
set -euo pipefail
build=${1:-build}
mkdir -p "$build/screenshots"
# Xvfb with 96 DPI, as the geometry tests expect.
export GTK_A11Y=none NO_AT_BRIDGE=1
exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset" \
  ctest --test-dir "$build" --output-on-failure --timeout 900

#!/usr/bin/env bash
# Runs the tests of the Windows programs under Wine: for each architecture
# a prefix of its own under <build>/wine (64-bit for x86-64, 32-bit for
# i686), and CTest of <build>/windows/<arch> under an Xvfb server of our
# own. Wine's server is started first, persistent, with one program run,
# so that no background process of Wine holds on to CTest's output.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
shift || true
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(x86_64 i686)

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINESERVER WINELOADER

if [ "${QUILLBOX_WINE_SESSION:-}" = 1 ]; then
  # Inside xvfb-run, for one architecture.
  wineserver -p -f >/dev/null 2>&1 &
  server=$!
  # Ends every process of this prefix's server (ours), then the server.
  trap 'wineserver -k >/dev/null 2>&1; wait $server 2>/dev/null || true' EXIT
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  # Unmanaged windows close at once (a managed one waits 2 s for a window
  # manager that bare Xvfb does not have).
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  ctest --test-dir "$build/windows/$QUILLBOX_WINE_ARCH" --output-on-failure --timeout 900
  exit
fi

for arch in "${archs[@]}"; do
  case $arch in
    x86_64) winearch=win64 ;;
    i686) winearch=win32 ;;
    *) echo "windows-check: unknown architecture $arch" >&2; exit 2 ;;
  esac
  export WINEPREFIX=$build/wine/$winearch WINEARCH=$winearch
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "windows-check: making the $winearch Wine prefix"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 </dev/null
  fi
  # A server of this prefix left from an earlier run would keep its windows
  # on that run's display.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  QUILLBOX_WINE_SESSION=1 QUILLBOX_WINE_ARCH=$arch \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset" bash "$here/tools/windows_check.sh" "$build"
done

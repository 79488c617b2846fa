#!/usr/bin/env bash
# Installs every Debian and npm package that the build, the demo and the tests
# need. Idempotent and non-interactive; quiet when everything is in place.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

debs=(
  build-essential cmake pkg-config python3
  libcurl4-openssl-dev libpcre3-dev nlohmann-json3-dev
  libgtk-4-dev libwebkitgtk-6.0-dev
  libgtest-dev googletest
  patchelf librsvg2-bin xdg-utils imagemagick
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-xserver-utils x11-utils
  osslsigncode openssl tinyproxy microsocks
  chromium nodejs npm
)

missing=()
for p in "${debs[@]}"; do
  # nodejs/npm may come from another source; a working command is enough.
  case $p in
    nodejs) command -v node >/dev/null && continue ;;
    npm) command -v npm >/dev/null && continue ;;
  esac
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# osslsigncode's report format is what our powershell stand-in reads.
ver=$(osslsigncode --version 2>&1 | head -n1 | grep -o '[0-9]\+\.[0-9]\+' | head -n1 || true)
case $ver in
  2.9*|2.1[0-9]*) ;;
  *) echo "setup: osslsigncode 2.9 or later is required (found '${ver:-none}')" >&2; exit 1 ;;
esac

# npm packages: the DOM library inlined into the page, the webview library,
# and the browser driver for the page tests (never downloads a browser).
if [ ! -f "$here/node_modules/cash-dom/package.json" ] ||
   [ ! -f "$here/node_modules/webview-bun/package.json" ] ||
   [ ! -f "$here/node_modules/playwright-core/package.json" ]; then
  echo "setup: installing npm packages"
  (cd "$here" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm install --no-audit --no-fund --ignore-scripts --loglevel=error >/dev/null)
fi

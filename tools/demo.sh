#!/usr/bin/env bash
# Runs the program on its built-in demo: the sample update list served by our
# test server on 127.0.0.1:48080, and a demo drive C:. Without a display it
# runs under Xvfb, saves a screenshot under the build folder and stops.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
demo="$build/demo"
port=48080

rm -rf "$demo"
mkdir -p "$demo/root" "$demo/drive_c/Program Files (x86)/Microsoft/EdgeWebView/Application"
cp "$here/tools/demo/update.json" "$demo/root/update.json"
# Sample setups, signed at demo time with a demo certificate that the demo
# trusts; the Thunderbird one is not signed, to show the refusal.
python3 "$here/tools/signing_fixtures.py" "$demo/signing"
mkdir -p "$demo/root/setups" "$demo/root/info"
for name in quillbox-setup-x86 quillbox-setup-x64 quillbox-outlook-x86 quillbox-outlook-x64 quillbox-newoutlook; do
  cp "$demo/signing/maker-signed.exe" "$demo/root/setups/$name.exe"
done
cp "$demo/signing/unsigned.exe" "$demo/root/setups/quillbox-thunderbird-unsigned.exe"
for page in quillbox outlook new-outlook thunderbird; do
  printf '<!DOCTYPE html><title>%s</title><h1>quillbox: %s</h1>\n' "$page" "$page" > "$demo/root/info/$page.html"
done
export AUTHENTICODE_TRUST_FILE="$demo/signing/trust.pem"
export TMPDIR="$demo/tmp"
mkdir -p "$TMPDIR"
# The demo's own association for what the tool starts or opens: it says in
# the terminal what it was given.
mkdir -p "$demo/association"
for opener in xdg-open gio; do
  printf '#!/bin/sh\necho "demo: the tool asked to start or open: $*" >&2\n' > "$demo/association/$opener"
  chmod 755 "$demo/association/$opener"
done
export PATH="$demo/association:$PATH"

# One mail client "installed" on the demo drive, so that a recommendation shows.
mkdir -p "$demo/drive_c/Program Files/Microsoft Office/root/Office16"
printf 'MZ demo outlook' > "$demo/drive_c/Program Files/Microsoft Office/root/Office16/outlook.exe"

python3 "$here/tools/testserver.py" --root "$demo/root" --port "$port" --lifetime 3600 >/dev/null &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  (echo >/dev/tcp/127.0.0.1/$port) 2>/dev/null && break
  sleep 0.1
done

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: the program runs; close its window to end the demo"
  "$build/quillbox-demo"
  exit 0
fi

echo "demo: no display; running under Xvfb"
export GTK_A11Y=none
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset" \
  python3 "$here/tools/demo_headless.py" "$build"

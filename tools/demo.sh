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

#!/usr/bin/env bash
# `make bench`: one table of figures, each the median of several runs, with
# the reference measured in the same run. Figures, not tests: nothing fails.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
scratch="$build/bench/scratch"
mkdir -p "$scratch"
python3 "$here/tools/testserver.py" --root "$scratch" --lifetime 1800 > "$scratch/port" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$scratch/port" ] && break; sleep 0.1; done
port=$(awk '{print $2}' "$scratch/port")
echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(uname -r)"
echo
export AUTHENTICODE_TRUST_FILE="$build/fixtures/signing/trust.pem"
export BENCH_SIGNED_FILE="$build/fixtures/signing/maker-signed.exe"
export PATH="$build:$PATH"
"$build/bench/bench_core" "$port" "$scratch"
export GTK_A11Y=none
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset" python3 "$here/bench/startup.py" "$build" "$here"

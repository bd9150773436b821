#!/usr/bin/env bash
# Builds the program and runs it on a demo program directory (build/demo) made afresh from demo/:
# sample sites, checkpoint lists, English.lng and a simulated upload station on port 1. With a
# display it starts the desktop program there, with the simulated station's window (place
# demo-baton.txt on the station to see an upload); without one it runs the same upload through
# kestrova-cli and prints what it shows.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

demo=build/demo
fresh_demo() {
    rm -rf "$demo"
    mkdir -p "$demo"
    cp -r demo/. "$demo/"
    cp data/English.lng "$demo/"
}

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    cmake --build build -j "$(nproc)" --target kestrova
    fresh_demo
    echo "== The desktop program on $demo, with the simulated station on port 1."
    echo "   In the station's window, \"Place baton...\" and choose $demo/demo-baton.txt."
    exec build/bin/kestrova "$demo"
fi

echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty): running the command-line demo."
echo
cmake --build build -j "$(nproc)" --target kestrova-cli
fresh_demo

cli=build/cli/kestrova-cli
echo "== Sites of the demo program directory ($demo)"
"$cli" -C "$demo" sites

echo
echo "== A baton on the simulated station (port 1): status lines, then the reports written"
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$cli" -C "$demo" upload --simulate "$demo/demo-baton.txt" | tee "$output"

grep -E '\.txt$' "$output" | while IFS= read -r report; do
    echo
    echo "== $report"
    cat "$demo/$report"
done
echo
echo "The reports (text and PDF) and the day files are in $demo."

#!/usr/bin/env bash
# Builds the program and runs it on a demo program directory (build/demo) made afresh from demo/:
# sample sites, checkpoint lists, English.lng and a simulated upload station on port 1.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kestrova-cli

demo=build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp -r demo/. "$demo/"
cp data/English.lng "$demo/"

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

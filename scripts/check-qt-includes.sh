#!/usr/bin/env bash
# Qt stays in the desktop program (app/) and the window modules (<module>/windows/, the
# desktop program's benchmarks in bench/windows/ among them) and their tests; every other file
# is plain C++ with the standard library. Lists offenders and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

offenders=$(git ls-files '*.h' '*.hpp' '*.cpp' '*.cc' |
    grep -vE '^(app|[A-Za-z0-9_]+/windows)/' |
    xargs -r grep -slE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|qt[a-z]*/)' || true)
if [ -n "$offenders" ]; then
    echo "Qt included outside app/ and */windows/:" >&2
    echo "$offenders" >&2
    exit 1
fi

#!/usr/bin/env bash
# Builds the benchmarks optimised (Release, no sanitizers) in build/bench and runs them.
#   bench/run.sh            runs every benchmark
#   bench/run.sh hook       runs bench_hook only
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/bench"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRTO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target benchmarks >/dev/null

status=0
for program in "$build"/bench/bench_*; do
    [ -x "$program" ] || continue
    name="$(basename "$program")"
    if [ $# -gt 0 ] && [ "$name" != "bench_$1" ]; then
        continue
    fi
    echo "== $name"
    "$program" || status=1
    echo
done
exit $status

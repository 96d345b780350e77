#!/usr/bin/env bash
# Builds the benchmarks optimised (Release, no sanitizers) in build/bench, and the Win32 ones in
# build/win64, and runs them.
#   bench/run.sh            runs every benchmark
#   bench/run.sh hook       runs bench_hook only
#   bench/run.sh paint      runs bench_paint only (Win32, under Wine)
#   bench/run.sh menu_latency   the call key's latency against a bare window (Win32, under Wine)
#   bench/run.sh idle           the resident program's cost while idle (Win32, under Wine)
#   bench/run.sh settings       the settings dialog: opening it, on the font page too, applying it
#                               and a confirmed skin change (Win32, under Wine)
#   bench/run.sh clipboard      capture and paste of the clipboard menu (Win32, under Wine)
#   bench/run.sh skin           skin set-up and the shaped window's region (Win32, under Wine)
# With MIRTO_WINE_DPI=144 the Win32 benchmarks run on a display scaled to 150 %.
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

# The Win32 benchmarks: built with the win64 preset, run under Wine in the project's environment
# (prefix, Japanese locale, a display).
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null; then
    win="$root/build/win64"
    [ -f "$win/CMakeCache.txt" ] || (cd "$root" && cmake --preset win64 >/dev/null)
    cmake --build "$win" --target benchmarks >/dev/null
    for program in "$win"/bench/bench_*.exe; do
        [ -f "$program" ] || continue
        name="$(basename "$program" .exe)"
        if [ $# -gt 0 ] && [ "$name" != "bench_$1" ]; then
            continue
        fi
        echo "== $name (Wine)"
        "$root/scripts/wine-run.sh" "$program" || status=1
        echo
    done
else
    echo "bench/run.sh: no MinGW or Wine here, the Win32 benchmarks are left out" >&2
fi
exit $status

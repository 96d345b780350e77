#!/usr/bin/env bash
# Builds the fuzz targets of the portable core (preset `fuzz`: clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a fixed time:
#
#   scripts/fuzz.sh [seconds-per-target] [target ...]      (default 8 s, every target)
#
# Each target starts from its seeds in fuzz/corpus/<target> (a crash kept there as a regression
# seed fails the run at once) and adds what it finds to build/fuzz/corpus/<target>, never to the
# repository. A failing input is written to build/fuzz/crashes/<target>/; the whole output of a
# run is in build/fuzz/logs/<target>.log. Ends nonzero when a target failed or did not build.
# The last line is "fuzz: N of M targets passed, E executions".
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
root="$PWD"
seconds="${1:-8}"
shift || true
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [seconds-per-target] [target ...]" >&2
    exit 2
fi

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is missing (scripts/setup.sh installs it)"
    echo "fuzz: 0 of 0 targets passed, 0 executions"
    exit 1
fi
echo "=== fuzz: configure and build"
if ! cmake --preset fuzz >/dev/null || ! cmake --build --preset fuzz -j2; then
    echo "fuzz: the build failed"
    echo "fuzz: 0 of 0 targets passed, 0 executions"
    exit 1
fi

build="$root/build/fuzz"
read -r -a targets <"$build/fuzz-targets.txt"
if [ $# -gt 0 ]; then
    targets=("$@")
fi

passed=0
failed=()
total_executions=0
for target in "${targets[@]}"; do
    program="$build/fuzz/fuzz_$target"
    seeds="$root/fuzz/corpus/$target"
    work="$build/corpus/$target"
    crashes="$build/crashes/$target"
    log="$build/logs/$target.log"
    if [ ! -x "$program" ] || [ ! -d "$seeds" ]; then
        echo "fuzz_$target: no such target or no seeds in fuzz/corpus/$target"
        failed+=("$target")
        continue
    fi
    mkdir -p "$work" "$crashes" "$(dirname "$log")"
    "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$work" "$seeds" >"$log" 2>&1
    status=$?
    executions=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | tr -dc 0-9)
    executions=${executions:-0}
    total_executions=$((total_executions + executions))
    if [ "$status" -eq 0 ]; then
        passed=$((passed + 1))
        echo "fuzz_$target: $executions executions in $seconds s, no failure"
    else
        failed+=("$target")
        artifact=$(grep -o "Test unit written to [^ ]*" "$log" | tail -1 | sed 's/Test unit written to //')
        echo "fuzz_$target: FAILED after $executions executions; input: ${artifact:-none written}"
        # The property that failed, or the sanitizer's report.
        sed -n '/property failed/,/deadly signal/p;/ERROR: AddressSanitizer/,/SUMMARY/p;/runtime error/p' \
            "$log" | grep -v 'deadly signal' | head -20 | cut -c1-300 | sed 's/^/    /'
        echo "    whole output: $log"
    fi
done

echo "fuzz: $passed of ${#targets[@]} targets passed, $total_executions executions"
[ ${#failed[@]} -eq 0 ]

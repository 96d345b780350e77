#!/usr/bin/env bash
# The test command: installs what is missing and tests that setup (tests/scripts/setup_test.sh),
# then builds and tests both presets: `native` (the portable core under the sanitizers) and
# `win64` (the Windows program and its tests under Wine, on the current display or a virtual
# one), and runs the fuzz targets of the portable core for about a minute in all
# (scripts/fuzz.sh). Ends nonzero when anything fails.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
root="$PWD"
started=$SECONDS

if ! scripts/setup.sh; then
    echo "test: setting up the machine failed"
    exit 1
fi

failed=()
summary=()
total_passed=0
total_failed=0

# The value of an attribute in the first <testsuites ...> element of a GoogleTest report.
report_attribute() {
    grep -m1 -o '<testsuites [^>]*>' "$1" | grep -o " $2=\"[0-9]*\"" | tr -dc 0-9
}

# Adds up the GoogleTest reports of one preset; sets passed_cases, failed_cases, other_cases
# (disabled or skipped) and reports.
count_cases() {
    passed_cases=0 failed_cases=0 other_cases=0 reports=0
    local report tests failures disabled skipped
    for report in "$1"/*.xml; do
        [ -e "$report" ] || continue
        reports=$((reports + 1))
        tests=$(report_attribute "$report" tests)
        failures=$(report_attribute "$report" failures)
        disabled=$(report_attribute "$report" disabled)
        skipped=$(grep -c 'result="skipped"' "$report")
        failed_cases=$((failed_cases + ${failures:-0}))
        other_cases=$((other_cases + ${disabled:-0} + skipped))
        passed_cases=$((passed_cases + ${tests:-0} - ${failures:-0} - ${disabled:-0} - skipped))
    done
}

# Configures and builds one preset; false (with a note for the summary) when that fails.
build_preset() {
    echo "=== $1: configure and build"
    if ! cmake --preset "$1" || ! cmake --build --preset "$1" -j2; then
        failed+=("$1 build")
        summary+=("$1: the build failed, its tests did not run")
        return 1
    fi
}

# Runs the tests of one preset and notes a line for the summary.
test_preset() {
    local preset="$1"
    local results="$root/build/test-results/$preset"
    echo "=== $preset: tests"
    rm -rf "$results"
    mkdir -p "$results"
    # Each test program writes a report of its cases here; Windows programs see the folder
    # through Wine's drive Z:, which is the Unix root.
    local output="$results/"
    if [ "$preset" = win64 ]; then
        output="Z:${results//\//\\}\\"
    fi
    GTEST_OUTPUT="xml:$output" ctest --preset "$preset" 2>&1 | tee "$results/ctest.log"
    local status=${PIPESTATUS[0]}
    local line programs programs_failed
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$results/ctest.log" | tail -1)
    programs=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    programs_failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    count_cases "$results"
    total_passed=$((total_passed + passed_cases))
    total_failed=$((total_failed + failed_cases))
    local text="$preset: "
    if [ -n "$line" ]; then
        text+="$((programs - programs_failed)) of $programs test programs passed; "
    fi
    text+="$passed_cases test cases passed, $failed_cases failed"
    [ "$other_cases" -gt 0 ] && text+=", $other_cases disabled or skipped"
    if [ -n "$line" ] && [ "$reports" -lt "$programs" ]; then
        text+=" (test programs without a case report, crashed or not GoogleTest: $((programs - reports)))"
    fi
    summary+=("$text")
    if [ "$status" -ne 0 ]; then
        failed+=("$preset tests")
    fi
}

# The setup script's own test, against stand-ins for apt; each of its cases counts in the totals.
run_setup_test() {
    echo "=== setup_test"
    local log="$root/build/test-results/setup_test.log"
    mkdir -p "$(dirname "$log")"
    tests/scripts/setup_test.sh 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local line cases cases_passed
    line=$(grep -E '^setup_test: [0-9]+ of [0-9]+ cases passed' "$log" | tail -1)
    cases_passed=$(sed -E 's/^setup_test: ([0-9]+) of.*/\1/' <<<"$line")
    cases=$(sed -E 's/^setup_test: [0-9]+ of ([0-9]+).*/\1/' <<<"$line")
    total_passed=$((total_passed + ${cases_passed:-0}))
    total_failed=$((total_failed + ${cases:-0} - ${cases_passed:-0}))
    summary+=("${line:-setup_test: the test did not run to its end}")
    if [ "$status" -ne 0 ]; then
        failed+=("setup_test")
    fi
}
run_setup_test

build_preset native && test_preset native

# The fuzz targets, a few seconds each; every target counts as one case of the totals.
fuzz_seconds_per_target=8
run_fuzz() {
    echo "=== fuzz: $fuzz_seconds_per_target s per target"
    local log="$root/build/test-results/fuzz.log"
    mkdir -p "$(dirname "$log")"
    scripts/fuzz.sh "$fuzz_seconds_per_target" 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local line targets targets_passed
    line=$(grep -E '^fuzz: [0-9]+ of [0-9]+ targets passed' "$log" | tail -1)
    targets_passed=$(sed -E 's/^fuzz: ([0-9]+) of.*/\1/' <<<"$line")
    targets=$(sed -E 's/^fuzz: [0-9]+ of ([0-9]+).*/\1/' <<<"$line")
    total_passed=$((total_passed + ${targets_passed:-0}))
    total_failed=$((total_failed + ${targets:-0} - ${targets_passed:-0}))
    if [ -n "$line" ]; then
        summary+=("fuzz: ${line#fuzz: } in $fuzz_seconds_per_target s per target")
    else
        summary+=("fuzz: the fuzz targets did not build or run")
    fi
    if [ "$status" -ne 0 ]; then
        failed+=("fuzz")
    fi
}
run_fuzz

# Built before the Wine environment is sourced: that sets a Japanese locale for Wine.
build_preset win64 || win64_unbuilt=1

# Wine: the project's prefix (created on first use) and a virtual display of our own, whatever
# display the caller has: the tests then see the same screen and Japanese keyboard everywhere,
# and no test window appears on the user's desktop. A display started here is stopped at the
# end, together with anything the tests left running on it.
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
DISPLAY=
finish_wine() {
    if [ -n "${MIRTO_XVFB_PID:-}" ]; then
        wineserver -k >/dev/null 2>&1
        mirto_display_stop
    fi
    mirto_bare_display_stop
}
trap finish_wine EXIT
if [ -n "${win64_unbuilt:-}" ]; then
    : # build_preset has noted it
elif ! mirto_wine_prefix; then
    failed+=("Wine prefix")
    summary+=("win64: the Wine prefix could not be prepared, its tests did not run")
elif ! mirto_display; then
    failed+=("display")
    summary+=("win64: no X display could be started, its tests did not run")
else
    test_preset win64
fi

elapsed=$((SECONDS - started))
echo
echo "=== Summary ($((elapsed / 60)) min $((elapsed % 60)) s)"
printf '%s\n' "${summary[@]}"
echo "total: $total_passed passed, $total_failed failed"
if [ ${#failed[@]} -gt 0 ]; then
    failed_list=$(printf '%s, ' "${failed[@]}")
    echo "FAILED: ${failed_list%, }"
    exit 1
fi
echo "All tests passed."

#!/usr/bin/env bash
# The run command: installs what is missing, builds the Windows program into dist/ and starts
# dist/Mirto.exe under Wine: on the current display, or on a virtual one when there is none (it
# then saves screenshots to shots/ and says where they are).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target dist
echo "dist/ holds:" dist/*

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
mirto_wine_prefix
virtual=0
if ! mirto_display_usable; then
    virtual=1
    mirto_display
fi

# Saves a picture of the whole screen as shots/<name>.png and says where it is.
take_shot() {
    mkdir -p "$root/shots"
    import -window root "$root/shots/$1.png"
    echo "Screenshot: $root/shots/$1.png"
}

# Presses keys on the display, in xdotool's names (for example "ctrl+alt", "c").
press_keys() {
    xdotool key --delay 100 "$@"
}

# Waits up to the given seconds for the process to end; true when it ended.
wait_for_exit() {
    local pid="$1" tenths=$(($2 * 10))
    while [ $tenths -gt 0 ]; do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}

# Starts the program from dist/ and shows it. On a virtual display the session ends with the
# screenshots, and whatever still runs on that display is ended with it.
run_session() {
    echo "Starting dist/Mirto.exe on display $DISPLAY$([ $virtual = 1 ] && echo ' (virtual)')"
    (cd "$root/dist" && exec wine Mirto.exe) &
    local pid=$!
    if wait_for_exit "$pid" 15; then
        local status=0
        wait "$pid" || status=$?
        echo "Mirto.exe ran its start-up and ended (exit code $status)."
        echo "This build is not resident yet: the resident program (tray icon, launch and"
        echo "clipboard menus) arrives in the next step."
        if [ $virtual = 1 ]; then
            take_shot startup
        fi
        return 0
    fi
    echo "Mirto.exe is running."
    if [ $virtual = 1 ]; then
        take_shot startup
        wineserver -k >/dev/null 2>&1 || true
        wait "$pid" 2>/dev/null || true
        echo "Ended Mirto.exe together with the virtual display."
    else
        echo "It stays resident: quit it from its tray icon."
        wait "$pid" || true
    fi
}

run_session
if [ $virtual = 1 ]; then
    # Everything on the virtual display belongs to this run.
    wineserver -k >/dev/null 2>&1 || true
    mirto_display_stop
fi

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

# A first-time folder gets a sample settings file, so that the launch menu has something to
# show: a few entries on page 1 (Shift_JIS, as the program reads it). A user's own first start of
# Mirto.exe alone still follows the normal start-up (it opens the settings).
write_sample_settings() {
    [ -e "$root/dist/Mirto.ini" ] && return 0
    printf '%s\r\n' \
        '[Page.1-A]' 'Name=メモ帳' 'Path=C:\windows\notepad.exe' 'Size=0' 'Opt.=' 'WDir=' '' \
        '[Page.1-B]' 'Name=Windows フォルダ' 'Path=C:\windows' 'Size=0' 'Opt.=' 'WDir=' '' \
        '[Page.1-C]' 'Name=ウェブ\n(example.com)' 'Path=http://example.com/' 'Size=0' 'Opt.=' \
        'WDir=' '' \
        '[Clipboard]' 'Startup=1' 'LoadFile=Business.ini' 'SaveHistory=1' '' \
        '[Setting]' 'Skin=Skin\Kiri.ini' '' |
        iconv -f UTF-8 -t CP932 >"$root/dist/Mirto.ini"
    echo "Wrote a sample dist/Mirto.ini with three entries on page 1, the text set Business.ini and the skin Kiri."
}

# Waits up to the given seconds until a window whose name matches is visible; prints its id.
wait_for_window() {
    local pattern="$1" tenths=$(($2 * 10)) id
    while [ $tenths -gt 0 ]; do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}

# On a virtual display: give a window of some application the focus (the keyboard hook runs in
# the thread that receives the keys), hold the launcher call key, take a screenshot of the menu,
# release the keys and close the application; with a third argument, also copy a text there and
# take screenshots of the clipboard menu's pages 1 and 2. Arguments: the application, the screenshots' names.
show_launch_menu() {
    wine "$1" >/dev/null 2>&1 &
    local editor application=$!
    if ! editor=$(wait_for_window 'Notepad|メモ帳' 20); then
        echo "No window to type into appeared; no key was pressed."
        return 1
    fi
    # As a user's click would: the window manager activates it.
    xdotool windowactivate --sync "$editor" 2>/dev/null || xdotool windowactivate "$editor"
    xdotool keydown Control_L keydown Alt_L
    if wait_for_window 'ミルト' 10 >/dev/null; then
        sleep 0.5
        take_shot "$2"
    else
        echo "The launch menu did not appear over $1."
    fi
    xdotool keyup Alt_L keyup Control_L
    if [ -n "${3:-}" ]; then
        # The clipboard menu: a text copied in the application first, then Shift + Alt.
        xdotool type --delay 50 'コピーした文' 2>/dev/null || xdotool type --delay 50 'copied text'
        xdotool key ctrl+a ctrl+c
        sleep 1
        xdotool keydown Shift_L keydown Alt_L
        local menu
        if menu=$(wait_for_window 'ミルト' 10); then
            sleep 0.5
            take_shot "$3"
            # Page 2, where the sample text set keeps the history.
            xdotool key 2
            sleep 0.5
            take_shot "$3-page2"
        else
            echo "The clipboard menu did not appear over $1."
        fi
        xdotool keyup Alt_L keyup Shift_L
    fi
    kill "$application" 2>/dev/null || true
    wait "$application" 2>/dev/null || true
}

# Starts the program from dist/. On a virtual display it shows the launch menu once, saves a
# screenshot and ends everything on that display; on a real one it stays resident until the
# user quits it from its tray icon.
run_session() {
    write_sample_settings
    echo "Starting dist/Mirto.exe on display $DISPLAY$([ $virtual = 1 ] && echo ' (virtual)')"
    (cd "$root/dist" && exec wine Mirto.exe) &
    local pid=$!
    if wait_for_exit "$pid" 5; then
        local status=0
        wait "$pid" || status=$?
        echo "Mirto.exe ended at once (exit code $status)."
        [ $virtual = 1 ] && take_shot startup
        return 1
    fi
    echo "Mirto.exe is resident: its icon is in the notification area."
    if [ $virtual = 1 ]; then
        # A coloured desktop, so that the menu window stands out in the screenshots.
        timeout 5 display -size 1280x1024 -window root 'xc:#3a6ea5' >/dev/null 2>&1 || true
        take_shot resident
        show_launch_menu notepad launch-menu clipboard-menu || true
        # Wine's 32-bit Notepad: the call key there goes through Mirto32.dll.
        show_launch_menu 'C:\windows\syswow64\notepad.exe' launch-menu-32bit || true
        wineserver -k >/dev/null 2>&1 || true
        wait "$pid" 2>/dev/null || true
    else
        echo "Hold Control + Alt in any application to call the menu; quit from the tray icon."
        wait "$pid" || true
    fi
}

run_session
if [ $virtual = 1 ]; then
    # Everything on the virtual display belongs to this run.
    wineserver -k >/dev/null 2>&1 || true
    mirto_display_stop
fi

# shellcheck shell=bash
# The Wine environment of the project, sourced by the other scripts:
#
#   source scripts/wine-env.sh
#   mirto_wine_prefix   # creates build/wineprefix with the Japanese font mapping on first use
#   mirto_display       # keeps a usable DISPLAY, or starts a virtual one (Xvfb) and exports it
#   mirto_display_stop  # stops the virtual display, if this shell started it
#   (MIRTO_WINDOW_MANAGER=none: a display of its own without a window manager)
#
# Programs then run with plain `wine`: code page 932 (the Japanese locale), no debug output, no
# offer to install the .NET or HTML runtimes. All of it is safe to repeat: what exists is reused.

MIRTO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export MIRTO_ROOT
export WINEPREFIX="$MIRTO_ROOT/build/wineprefix"
export WINEARCH=win64
export LC_ALL=ja_JP.UTF-8
# Wine's own messages are off; MIRTO_WINEDEBUG=+event,+key (say) traces a run.
export WINEDEBUG=${MIRTO_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml="

MIRTO_LOCK="$MIRTO_ROOT/build/.wine-env.lock"

# The font mapping as registry text. Japanese dialogs ask for these faces by name; Wine has none
# of them, so they are mapped to the IPA fonts (otherwise Japanese text shows as boxes).
mirto_fonts_reg() {
    printf '%s\r\n' \
        'Windows Registry Editor Version 5.00' \
        '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"ＭＳ ゴシック"="IPAGothic"' \
        '"MS PGothic"="IPAPGothic"' \
        '"MS Gothic"="IPAGothic"' \
        '"MS UI Gothic"="IPAPGothic"' \
        '"MS Shell Dlg"="IPAPGothic"' \
        '"MS Shell Dlg 2"="IPAPGothic"' \
        '"Tahoma"="IPAPGothic"' \
        ''
}

# Creates the prefix and imports the font mapping, once; later calls cost one file test. Several
# test programs may start at the same moment, so the work is done under a lock.
mirto_wine_prefix() {
    local stamp="$WINEPREFIX/.mirto-fonts"
    local want
    # The stamp also says that the prefix runs 32-bit programs (the hook's 32-bit half).
    want="$(mirto_fonts_reg | cksum) wow64"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
        return 0
    fi
    mkdir -p "$MIRTO_ROOT/build"
    (
        flock 9
        if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
            exit 0
        fi
        # A prefix made before Wine's 32-bit loader was installed cannot start 32-bit programs:
        # make it anew.
        if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
            echo "wine-env: the Wine prefix $WINEPREFIX cannot run 32-bit programs, making it anew" >&2
            wineserver -k >/dev/null 2>&1
            rm -rf "$WINEPREFIX"
        fi
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "wine-env: creating the Wine prefix $WINEPREFIX (takes a few seconds)" >&2
        fi
        if ! wineboot -i </dev/null >"$MIRTO_ROOT/build/wineboot.log" 2>&1; then
            echo "wine-env: wineboot failed (see build/wineboot.log)" >&2
            exit 1
        fi
        wineserver -w
        # regedit reads version 5 files as UTF-16 (with a byte-order mark); that keeps the
        # Japanese value names whole whatever the code page is.
        local reg="$WINEPREFIX/mirto-fonts.reg"
        { printf '\xff\xfe'; mirto_fonts_reg | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
        wine regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
        wineserver -w
        if ! wine reg query 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' \
            </dev/null >/dev/null 2>&1; then
            echo "wine-env: the font mapping did not reach the registry of $WINEPREFIX" >&2
            exit 1
        fi
        # Let this display-less session end, so that the first program with a window starts
        # Wine's desktop on the display it is given.
        wineserver -w
        printf '%s\n' "$want" >"$stamp"
    ) 9>"$MIRTO_LOCK"
}

# Switches WINEPREFIX to a copy of the project's prefix whose display scale is the given dots per
# inch ("LogPixels"; 144 is 150 %), made once. Wine reads the scale when its server starts, so
# the copy has a server of its own.
mirto_scaled_prefix() {
    local dpi="$1"
    mirto_wine_prefix || return 1
    local base="$WINEPREFIX"
    local scaled="$MIRTO_ROOT/build/wineprefix-${dpi}dpi"
    local stamp="$scaled/.mirto-dpi"
    local want
    want="$(cat "$base/.mirto-fonts") $dpi"
    if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$want" ]; then
        (
            flock 9
            if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
                exit 0
            fi
            WINEPREFIX="$base" wineserver -w
            rm -rf "$scaled"
            cp -a "$base" "$scaled" || exit 1
            rm -f "$scaled/.mirto-dpi"
            WINEPREFIX="$scaled" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
                /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1 || exit 1
            WINEPREFIX="$scaled" wineserver -w
            printf '%s\n' "$want" >"$stamp"
        ) 9>"$MIRTO_LOCK.scaled" || return 1
    fi
    export WINEPREFIX="$scaled"
}

# The keyboard of a Japanese machine (106 keys) for the virtual display: Wine derives the Windows
# layout from it, so that VkKeyScanA answers as on Japanese Windows (":" unshifted on its own
# key, "<" with Shift). The extra key of 105-key boards is cleared, as the 106 board has none.
mirto_japanese_keymap() {
    cat <<'EOF'
xkb_keymap {
    xkb_keycodes { include "evdev+aliases(qwerty)" };
    xkb_types    { include "complete" };
    xkb_compat   { include "complete+japan" };
    xkb_symbols  {
        include "pc+jp+inet(evdev)"
        replace key <LSGT> { type= "ONE_LEVEL", symbols[Group1]= [ VoidSymbol ] };
    };
    xkb_geometry { include "pc(pc104)" };
};
EOF
}

# True when DISPLAY names an X server that answers.
mirto_display_usable() {
    [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1
}

# True when a window manager runs on the display: the window it names on the root window exists.
mirto_window_manager_running() {
    local id
    id="$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')"
    [ -n "$id" ] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
}

# Starts a window manager (openbox) on the virtual display unless one runs there already: a
# user's desktop has one, and Wine's windows behave as they do there (hiding, activation and the
# keyboard focus go through it). It ends with the display.
mirto_window_manager() {
    local pidfile="$MIRTO_ROOT/build/openbox.pid"
    if [ -f "$pidfile" ] && [ "$(cat "$MIRTO_ROOT/build/openbox.display" 2>/dev/null)" = "$DISPLAY" ] &&
        kill -0 "$(cat "$pidfile")" 2>/dev/null; then
        return 0
    fi
    # A display that was there before may have a window manager of its own.
    mirto_window_manager_running && return 0
    if ! command -v openbox >/dev/null 2>&1; then
        echo "wine-env: openbox is not installed (scripts/setup.sh installs it)" >&2
        return 1
    fi
    # Its own key bindings are left out: Alt + Tab and Control + Alt + the arrows would take keys
    # that the menu uses while its call pair is held.
    local config="$MIRTO_ROOT/build/openbox-rc.xml"
    printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
        '<openbox_config xmlns="http://openbox.org/3.4/rc">' \
        '  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>' \
        '  <keyboard></keyboard>' '</openbox_config>' >"$config"
    openbox --sm-disable --config-file "$config" 7>&- 8>&- </dev/null \
        >"$MIRTO_ROOT/build/openbox.log" 2>&1 &
    printf '%s\n' $! >"$pidfile"
    printf '%s\n' "$DISPLAY" >"$MIRTO_ROOT/build/openbox.display"
    # Ready once it has announced itself on the root window: the window manager's own start-up
    # takes a moment, polled for at most ten seconds.
    local tries=0
    until mirto_window_manager_running; do
        if [ $tries -gt 100 ] || ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
            echo "wine-env: the window manager did not start (see build/openbox.log)" >&2
            return 1
        fi
        tries=$((tries + 1))
        sleep 0.1
    done
    return 0
}

# Keeps the current display when it answers; otherwise reuses the virtual display started
# earlier for this tree (with its window manager), or starts one (Xvfb picks a free number) with
# a window manager and exports DISPLAY. MIRTO_XVFB_PID is set when this shell started it.
mirto_display() {
    local name=xvfb
    if [ "${MIRTO_WINDOW_MANAGER:-}" = none ]; then
        # A display of its own without a window manager, for the scenarios that need one.
        name=xvfb-bare
    else
        mirto_display_usable && return 0
    fi
    local state="$MIRTO_ROOT/build/$name.display"
    mkdir -p "$MIRTO_ROOT/build"
    exec 8>"$MIRTO_LOCK.display"
    flock 8
    if [ -f "$state" ]; then
        DISPLAY="$(cat "$state")"
        export DISPLAY
        if mirto_display_usable; then
            [ "$name" = xvfb ] && mirto_window_manager
            flock -u 8
            exec 8>&-
            return 0
        fi
    fi
    local numberfile="$MIRTO_ROOT/build/$name.number"
    : >"$numberfile"
    # No terminal or pipe of ours: the server holds no output open for whoever waits on the
    # caller. It picks a free display number and writes it to fd 7.
    # -noreset keeps the keyboard map when the last client leaves.
    Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        7>"$numberfile" 8>&- </dev/null >"$MIRTO_ROOT/build/$name.log" 2>&1 &
    MIRTO_XVFB_PID=$!
    printf '%s\n' "$MIRTO_XVFB_PID" >"$MIRTO_ROOT/build/$name.pid"
    local tries=0
    until [ -s "$numberfile" ] && DISPLAY=":$(tr -dc 0-9 <"$numberfile")" mirto_display_usable; do
        tries=$((tries + 1))
        if [ $tries -gt 300 ] || ! kill -0 "$MIRTO_XVFB_PID" 2>/dev/null; then
            echo "wine-env: the virtual display did not start (see build/xvfb.log)" >&2
            kill "$MIRTO_XVFB_PID" 2>/dev/null || true
            unset MIRTO_XVFB_PID
            flock -u 8
            exec 8>&-
            return 1
        fi
        sleep 0.1
    done
    DISPLAY=":$(tr -dc 0-9 <"$numberfile")"
    export DISPLAY
    if ! mirto_japanese_keymap | xkbcomp -w 0 - "$DISPLAY" >/dev/null 2>&1; then
        echo "wine-env: could not load the Japanese keyboard map into $DISPLAY" >&2
    fi
    [ "$name" = xvfb ] && mirto_window_manager
    printf '%s\n' "$DISPLAY" >"$state"
    flock -u 8
    exec 8>&-
    echo "wine-env: virtual display $DISPLAY started" >&2
}

# Stops the display without a window manager, which the scenarios that need one start and keep.
mirto_bare_display_stop() {
    local pidfile="$MIRTO_ROOT/build/xvfb-bare.pid"
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
    rm -f "$pidfile" "$MIRTO_ROOT/build/xvfb-bare.display"
    return 0
}

# Stops the virtual display and its window manager if this shell started it (a display that was
# already there stays).
mirto_display_stop() {
    if [ -n "${MIRTO_XVFB_PID:-}" ]; then
        local manager
        manager="$(cat "$MIRTO_ROOT/build/openbox.pid" 2>/dev/null)"
        [ -n "$manager" ] && kill "$manager" 2>/dev/null
        rm -f "$MIRTO_ROOT/build/openbox.pid" "$MIRTO_ROOT/build/openbox.display"
        kill "$MIRTO_XVFB_PID" 2>/dev/null || true
        local tries=0
        while kill -0 "$MIRTO_XVFB_PID" 2>/dev/null && [ $tries -lt 50 ]; do
            tries=$((tries + 1))
            sleep 0.1
        done
        rm -f "$MIRTO_ROOT/build/xvfb.display"
        unset MIRTO_XVFB_PID
    fi
    return 0
}

#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's environment (prefix, Japanese locale, a
# display) and ends with the program's exit code. CTest uses it as the cross-compiling
# emulator: `wine-run.sh program.exe [arguments...]`. With MIRTO_WINE_DPI set (144, say), it runs
# in a copy of the prefix whose display has that scale; with MIRTO_WINDOW_MANAGER=none, on a
# display without a window manager.
set -u
# shellcheck source=scripts/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
mirto_wine_prefix || exit 125
if [ -n "${MIRTO_WINE_DPI:-}" ]; then
    mirto_scaled_prefix "$MIRTO_WINE_DPI" || exit 125
fi
if [ "${MIRTO_WINDOW_MANAGER:-}" = none ]; then
    # The prefix's desktop process belongs to the display its server started with: a server
    # still running for another display ends first.
    timeout 60 wineserver -w || wineserver -k
fi
mirto_display || exit 125
exec wine "$@"

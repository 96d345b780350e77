#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's environment (prefix, Japanese locale, a
# display) and ends with the program's exit code. CTest uses it as the cross-compiling
# emulator: `wine-run.sh program.exe [arguments...]`.
set -u
# shellcheck source=scripts/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
mirto_wine_prefix || exit 125
mirto_display || exit 125
exec wine "$@"

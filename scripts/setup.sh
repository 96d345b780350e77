#!/usr/bin/env bash
# Installs what building and testing Mirto needs on a Debian machine: compilers (and clang with
# libFuzzer for the fuzz targets), GoogleTest, Wine (with its 32-bit loader), a virtual display
# with its keyboard-map compiler and a window manager, screenshot tools, Japanese fonts and the
# Japanese locale (Wine takes its ANSI code page, 932, from it). Checks first: a second run
# installs nothing.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev googletest mingw-w64 wine64 wine xvfb x11-xkb-utils
    openbox x11-utils xdotool imagemagick fonts-ipafont-gothic fonts-ipafont-mincho locales clang
    libclang-rt-14-dev)
locale_name="ja_JP.UTF-8"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "setup: '$*' needs root, and sudo is not installed" >&2
        exit 1
    fi
}

missing=()
installed="$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null || true)"
for p in "${packages[@]}"; do
    if ! grep -q "^$p ii" <<<"$installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" </dev/null
fi

# The hook's 32-bit half and its tests are 32-bit Windows programs: Wine runs them with its
# 32-bit loader, from Debian's i386 architecture.
if ! dpkg-query -W -f='${db:Status-Abbrev}' wine32:i386 2>/dev/null | grep -q '^ii'; then
    echo "setup: installing wine32:i386"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y wine32:i386 </dev/null
fi

# locale -a lists ja_JP.utf8 once the locale is generated.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "setup: generating the $locale_name locale"
    if grep -qE "^#\s*$locale_name UTF-8" /etc/locale.gen 2>/dev/null; then
        as_root sed -i -E "s/^#\s*($locale_name UTF-8)/\1/" /etc/locale.gen
    elif ! grep -qE "^$locale_name UTF-8" /etc/locale.gen 2>/dev/null; then
        echo "$locale_name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen
fi

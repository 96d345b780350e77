#!/usr/bin/env bash
# Installs what building and testing Mirto needs on a Debian machine: compilers (and clang with
# libFuzzer for the fuzz targets), GoogleTest, Wine (with its 32-bit loader), a virtual display
# with its keyboard-map compiler and a window manager, screenshot tools, Japanese fonts and the
# Japanese locale (Wine takes its ANSI code page, 932, from it). Checks first: a second run
# installs nothing.
#
# A package index that fails to download in `apt-get update` (a mirror caught mid-sync serves it
# with the wrong size) is only a warning: apt keeps its last good copy, and most installs still
# work. When an install fails after that, the setup fetches the failed package lists itself, once,
# and tries again; it fails, naming the packages and the indexes, only when that does not help.
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

work=""
trap '[ -z "$work" ] || rm -rf "$work"' EXIT

# The indexes the last `apt-get update` failed to fetch, each as apt reports it: "URL  reason".
failed_indexes=()

# Runs apt-get update. An index that fails to download is noted in failed_indexes and warned
# about; any other failure of the update ends the setup.
update_indexes() {
    local status=0 line
    local failed='^([EW]: )?Failed to fetch ([^ ]+) +(.*)$'
    failed_indexes=()
    as_root apt-get update 2>&1 | tee "$work/update.log" || status=$?
    while IFS= read -r line; do
        if [[ "$line" =~ $failed ]]; then
            failed_indexes+=("${BASH_REMATCH[2]}  ${BASH_REMATCH[3]}")
        fi
    done <"$work/update.log"
    if [ ${#failed_indexes[@]} -gt 0 ]; then
        echo "setup: warning: package indexes failed to download (apt uses its last good copy):" >&2
        printf 'setup:   %s\n' "${failed_indexes[@]}" >&2
    elif [ "$status" -ne 0 ]; then
        echo "setup: apt-get update failed" >&2
        exit "$status"
    fi
}

apt_install() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "$@" </dev/null
}

# The name apt gives an index's file in its lists folder: the address without its scheme (and
# without a user and password), a few characters quoted as %xx, '/' turned into '_'.
list_file_name() {
    local uri="${1#*://}" name="" c i
    local quoted='\|{}[]<>"^~_=!@#$%&*'
    local host="${uri%%/*}"
    uri="${host##*@}${uri#"$host"}"
    for ((i = 0; i < ${#uri}; i++)); do
        c="${uri:i:1}"
        if [ "$c" = / ]; then
            c=_
        elif [[ "$quoted" == *"$c"* ]]; then
            printf -v c '%%%02x' "'$c"
        fi
        name+="$c"
    done
    echo "$name"
}

# Downloads $1 to the file $2 with what the machine has; apt's own helper is always there.
download() {
    if command -v curl >/dev/null 2>&1; then
        curl -fsSL -o "$2" "$1"
    elif command -v wget >/dev/null 2>&1; then
        wget -q -O "$2" "$1"
    elif [ -x /usr/lib/apt/apt-helper ]; then
        /usr/lib/apt/apt-helper download-file "$1" "$2"
    else
        echo "setup: no tool to download $1 with (curl, wget or apt's apt-helper)" >&2
        return 1
    fi
}

# Fetches the package list apt failed to fetch from $1 straight from the server, decompressed,
# into apt's lists folder under apt's name for it: apt then reads it as its last good copy. An
# address by hash (.../binary-i386/by-hash/SHA256/<hash>) stands for the Packages.xz beside it.
fetch_index() {
    local url="$1" lists file
    if [[ "$url" =~ ^(.*/binary-[^/]+)/by-hash/[^/]+/[^/]+$ ]]; then
        url="${BASH_REMATCH[1]}/Packages.xz"
    fi
    if ! [[ "$url" =~ ^[a-z+]+://.+/Packages(\.xz|\.gz)?$ ]]; then
        echo "setup: $1 is not a package list; not fetched" >&2
        return 1
    fi
    echo "setup: fetching $url directly"
    if ! download "$url" "$work/index"; then
        echo "setup: could not download $url" >&2
        return 1
    fi
    case "$url" in
        *.xz) xz -dc "$work/index" >"$work/Packages" ;;
        *.gz) gzip -dc "$work/index" >"$work/Packages" ;;
        *) cp "$work/index" "$work/Packages" ;;
    esac || return 1
    if ! grep -q '^Package: ' "$work/Packages"; then
        echo "setup: $url holds no package list" >&2
        return 1
    fi
    # `apt-config shell` resolves the folder as apt does (Dir, Dir::State, Dir::State::lists).
    lists=$(apt-config shell dir Dir::State::lists/d | sed -n "s/^dir='\(.*\)'\$/\1/p")
    if [ -z "$lists" ]; then
        echo "setup: apt-config names no lists folder" >&2
        return 1
    fi
    file="${lists%/}/$(list_file_name "${url%.[gx]z}")"
    # apt prefers a compressed copy of an index to a plain one: a stale one would hide this one.
    as_root rm -f "$file".{xz,bz2,lzma,gz,lz4,zst} || return 1
    as_root install -m 644 "$work/Packages" "$file" || return 1
    echo "setup: wrote $file from $url"
}

# Updates the indexes and installs the packages $@; when that fails and an index failed to
# download, fetches those indexes directly and installs once more.
install_packages() {
    [ -n "$work" ] || work=$(mktemp -d)
    update_indexes
    if apt_install "$@"; then
        return
    fi
    local entry fetched=0
    for entry in "${failed_indexes[@]}"; do
        fetch_index "${entry%% *}" && fetched=1
    done
    if [ "$fetched" -eq 1 ]; then
        echo "setup: installing $* again, with the package lists fetched directly"
        if apt_install "$@"; then
            echo "setup: installed $* using the package lists fetched directly"
            return
        fi
    fi
    echo "setup: could not install $*" >&2
    if [ ${#failed_indexes[@]} -gt 0 ]; then
        echo "setup: these package indexes failed to download:" >&2
        printf 'setup:   %s\n' "${failed_indexes[@]}" >&2
    fi
    exit 1
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
    install_packages "${missing[@]}"
fi

# The hook's 32-bit half and its tests are 32-bit Windows programs: Wine runs them with its
# 32-bit loader, from Debian's i386 architecture.
if ! dpkg-query -W -f='${db:Status-Abbrev}' wine32:i386 2>/dev/null | grep -q '^ii'; then
    echo "setup: installing wine32:i386"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    install_packages wine32:i386
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

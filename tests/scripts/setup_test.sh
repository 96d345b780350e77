#!/usr/bin/env bash
# Runs scripts/setup.sh against stand-ins for apt and its friends (first on PATH), never the real
# package system: an index that fails to download in `apt-get update`, an install that fails,
# the fallback that fetches the index itself. The last line is "setup_test: N of M cases passed".
set -uo pipefail
setup="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/setup.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

plain=http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz
byhash=${plain%/Packages.xz}/by-hash/SHA256/5a1e0c7f
list_name=deb.debian.org_debian-security_dists_bookworm-security_main_binary-i386_Packages
printf 'Package: wine32\nArchitecture: i386\nVersion: 8.0~repack-4\n' >"$tmp/Packages"
xz -c "$tmp/Packages" >"$tmp/Packages.xz"

# The stand-ins take what they serve from these, and what a case wants from STUB_INSTALLED,
# STUB_FAILED_URL, STUB_INSTALL and STUB_LISTS.
export STUB_PLAIN="$plain" STUB_LIST_NAME="$list_name" STUB_FIXTURE="$tmp/Packages.xz"
mkdir "$tmp/bin"
stub() { { echo '#!/usr/bin/env bash' && cat; } >"$tmp/bin/$1" && chmod +x "$tmp/bin/$1"; }
stub id <<<'echo 0'
stub locale <<<'printf "C\nja_JP.utf8\n"'
stub dpkg <<'END'
[ "$1" != --print-foreign-architectures ] || echo i386
END
stub apt-config <<'END'
echo "$2='$STUB_LISTS/'"
END
stub dpkg-query <<'END'
[ "$STUB_INSTALLED" = yes ] || exit 1
case "$2" in *Package*) printf "%s ii \n" "${@:3}" ;; *) printf "ii " ;; esac
END
# The update fails for the index STUB_FAILED_URL as apt reports it. Installing wine32:i386 does
# what STUB_INSTALL says: ok, fail, or index (works once the index is in the lists folder, with
# no stale compressed copy beside it); everything else installs.
stub apt-get <<'END'
echo "apt-get $*"
if [ "$1" = update ]; then
    echo "Hit:1 http://deb.debian.org/debian bookworm InRelease"
    [ -n "$STUB_FAILED_URL" ] || exit 0
    echo "Err:2 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
    echo "E: Failed to fetch $STUB_FAILED_URL  File has unexpected size (374820 != 376004)." \
        "Mirror sync in progress? [IP: 192.0.2.1 80]" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100
fi
[[ " $* " == *" wine32:i386 "* ]] || exit 0
[ "$STUB_INSTALL" = ok ] && exit 0
[ "$STUB_INSTALL" = index ] && [ -f "$STUB_LISTS/$STUB_LIST_NAME" ] &&
    ! [ -e "$STUB_LISTS/$STUB_LIST_NAME.lz4" ] && exit 0
echo "E: Unable to correct problems, you have held broken packages." >&2
exit 100
END
# Serves the package list at its plain address only.
stub curl <<'END'
while [ $# -gt 0 ]; do
    case "$1" in -o) out=$2 && shift ;; -*) ;; *) url=$1 ;; esac
    shift
done
[ "$url" = "$STUB_PLAIN" ] || { echo "curl: (22) 404 for $url" >&2; exit 22; }
cp "$STUB_FIXTURE" "$out"
END

# name | installed | index failing in update | wine32:i386 install | exit (0 or not 0) | expected
# output (a glob; "!" first: must not match) | index file written by the fallback
cases=(
    "all fine|no||ok|0|installing wine32:i386|no"
    "nothing missing|yes||ok|0|!apt-get|no"
    "index failed, install works|no|$plain|ok|0|warning: package indexes failed*$plain  File has unexpected size|no"
    "index failed, install fails|no|$plain|fail|1|could not install wine32:i386*failed to download*$plain|yes"
    "index by hash failed, fallback works|no|$byhash|index|0|$byhash*fetching $plain directly*installed wine32:i386 using the package lists fetched directly|yes"
)

passed=0
for row in "${cases[@]}"; do
    IFS='|' read -r name installed url install want_status want written <<<"$row"
    lists="$tmp/lists"
    rm -rf "$lists" && mkdir "$lists" && echo stale >"$lists/$list_name.lz4"
    output=$(PATH="$tmp/bin:$PATH" STUB_LISTS="$lists" STUB_INSTALLED="$installed" \
        STUB_FAILED_URL="$url" STUB_INSTALL="$install" bash "$setup" 2>&1)
    status=$?
    problems=()
    if (((status == 0) != (want_status == 0))); then
        problems+=("exit status $status")
    fi
    if [[ "$want" == '!'* ]]; then
        [[ "$output" != *${want#!}* ]] || problems+=("output has '${want#!}'")
    else
        [[ "$output" == *$want* ]] || problems+=("output lacks '$want'")
    fi
    if [ "$written" = yes ]; then
        cmp -s "$tmp/Packages" "$lists/$list_name" || problems+=("no decompressed $list_name")
        [ ! -e "$lists/$list_name.lz4" ] || problems+=("stale $list_name.lz4 kept")
    elif [ -e "$lists/$list_name" ]; then
        problems+=("$list_name written without need")
    fi
    if [ ${#problems[@]} -eq 0 ]; then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        echo "FAILED: $name: $(printf '%s; ' "${problems[@]}")"
        echo "    ${output//$'\n'/$'\n'    }"
    fi
done
echo "setup_test: $passed of ${#cases[@]} cases passed"
[ "$passed" -eq ${#cases[@]} ]

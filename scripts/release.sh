#!/bin/bash
# Builds the downloads of the checked-out commit into dist/: the Debian
# package, the Windows zip and installer, the zip of the web site, and
# SHA256SUMS. Their bytes depend on the commit and the Debian 12 tools only:
# see README, "Downloads".
#
#   bash scripts/release.sh
#       builds in build-release-linux, -mingw and -wasm (reused from one run
#       to the next) and packs into dist/
#   bash scripts/release.sh --check
#       does that twice, in two fresh clones of this commit at different
#       paths, under other umasks, locales and time zones, and compares the
#       sums; diffoscope explains any file that differs
#   bash scripts/release.sh --signatures-from <folder of a published release>
#       builds, attaches the published signatures instead of signing, and
#       checks that every published file comes out byte for byte
#
# Options: --dist <folder> writes there instead of dist/; --site <folder>
# packs that folder as the web site instead of building the wasm preset;
# --pack-from <linux build> <mingw build> <web build> packs folders that are
# already built instead of building (what scripts/release-test.sh does with
# the test command's builds; not a release).
#
# Signing: when EMBERLINE_SIGN_CERT and EMBERLINE_SIGN_KEY name a PEM
# certificate (followed by its intermediates) and its unencrypted PEM key,
# Pyrel.exe (in the zip and the installer) and the installer are signed
# with osslsigncode before the sums are made; otherwise they are not.
set -euo pipefail
# Paths the caller gives (arguments, the signing files) are taken from
# where the script was started.
caller=$PWD
absolute() { # path, relative to the caller's folder unless it is absolute
    case $1 in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s\n' "$caller/$1" ;;
    esac
}
[[ -z ${EMBERLINE_SIGN_CERT:-} ]] || EMBERLINE_SIGN_CERT=$(absolute "$EMBERLINE_SIGN_CERT")
[[ -z ${EMBERLINE_SIGN_KEY:-} ]] || EMBERLINE_SIGN_KEY=$(absolute "$EMBERLINE_SIGN_KEY")
cd "$(dirname "$0")/.."
root=$PWD

# Nothing from the caller's environment reaches the files: the same umask,
# locale and time zone every time, and the commit's time as every date.
umask 022
export LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=UTC
unset LANGUAGE
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH

check=0
dist=$root/dist
site=""
published=""
pack_from=()
while (($#)); do
    case $1 in
    --check) check=1 ;;
    --signatures-from)
        published=$(cd "$(absolute "$2")" && pwd)
        shift
        ;;
    --pack-from)
        pack_from=("$(absolute "$2")" "$(absolute "$3")" "$(absolute "$4")")
        shift 3
        ;;
    --dist)
        mkdir -p "$(absolute "$2")"
        dist=$(cd "$(absolute "$2")" && pwd)
        shift
        ;;
    --site)
        site=$(cd "$(absolute "$2")" && pwd)
        shift
        ;;
    *)
        echo "release.sh: unknown argument $1 (see the top of scripts/release.sh)" >&2
        exit 2
        ;;
    esac
    shift
done

fail() {
    echo "release.sh: $*" >&2
    exit 1
}

# Configures and builds one release folder with the given configure
# arguments, without tests, the source and build paths mapped out of the
# outputs (cmake/EmberlineReproducible.cmake).
build() { # folder, configure arguments...
    local folder=$1
    shift
    cmake "$@" -B "$folder" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_PROJECT_INCLUDE="$root/cmake/EmberlineReproducible.cmake"
    cmake --build "$folder" -j 2
}

# Makes the four downloads from built folders into $dist, then SHA256SUMS.
# With signatures (a folder holding program.sig and installer.sig) they are
# attached instead of signing.
pack() { # linux build, mingw build, web build, [signatures]
    local linux=$1 mingw=$2 web=$3 signatures=${4:-}
    local windows_script=$mingw/packaging/windows/windows_packages.cmake
    local script
    for script in "$linux/packaging/deb/deb_package.cmake" "$windows_script" \
        "$web/packaging/web/web_package.cmake"; do
        [[ -f $script ]] || fail "$script is missing: is that folder a configured build?"
    done
    local work
    work=$(mktemp -d "${TMPDIR:-/tmp}/emberline-release.XXXXXX")
    # shellcheck disable=SC2064 # the folder is known now
    trap "rm -rf '$work'" EXIT

    local program_signing=() installer_signing=()
    if [[ -n $signatures ]]; then
        program_signing=(-DSIGNATURE="$signatures/program.sig")
        installer_signing=(-DSIGNATURE="$signatures/installer.sig")
        echo "Attaching the published signatures"
    elif [[ -n ${EMBERLINE_SIGN_CERT:-} || -n ${EMBERLINE_SIGN_KEY:-} ]]; then
        [[ -f ${EMBERLINE_SIGN_CERT:-} && -f ${EMBERLINE_SIGN_KEY:-} ]] ||
            fail "EMBERLINE_SIGN_CERT and EMBERLINE_SIGN_KEY must both name files"
        program_signing=(-DSIGN_CERT="$EMBERLINE_SIGN_CERT" -DSIGN_KEY="$EMBERLINE_SIGN_KEY")
        installer_signing=("${program_signing[@]}")
        echo "Signing Pyrel.exe and the installer with $EMBERLINE_SIGN_CERT"
    else
        echo "No EMBERLINE_SIGN_CERT and EMBERLINE_SIGN_KEY: Pyrel.exe and the installer are not signed"
    fi

    # The previous release's files go; anything else stops the script
    # rather than being deleted or counted in.
    mkdir -p "$dist"
    find "$dist" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.zip' -o -name '*.msi' \
        -o -name SHA256SUMS \) -delete
    [[ -z $(ls -A "$dist") ]] || fail "$dist holds files that are not downloads: empty it or choose another --dist"
    cmake -DOUTPUT_DIR="$dist" -P "$linux/packaging/deb/deb_package.cmake"
    cmake -DSTEP=stage -DSTAGE_DIR="$work/windows" "${program_signing[@]}" -P "$windows_script"
    cmake -DSTEP=pack -DSTAGE_DIR="$work/windows" -DOUTPUT_DIR="$dist" "${installer_signing[@]}" \
        -P "$windows_script"
    local site_argument=()
    [[ -z $site ]] || site_argument=(-DSITE_DIR="$site")
    cmake -DOUTPUT_DIR="$dist" "${site_argument[@]}" -P "$web/packaging/web/web_package.cmake"

    # One download of each kind, then their sums, in name order.
    local kind count
    for kind in '*.deb' '*-win64.zip' '*-win64.msi' '*-web.zip'; do
        count=$(find "$dist" -maxdepth 1 -type f -name "$kind" | wc -l)
        ((count == 1)) || fail "$dist holds $count files $kind, not one"
    done
    local sums
    sums=$(cd "$dist" && find . -maxdepth 1 -type f -printf '%f\n' | sort | xargs sha256sum)
    printf '%s\n' "$sums" >"$dist/SHA256SUMS"
    count=$(find "$dist" -mindepth 1 | wc -l)
    ((count == 5)) || fail "$dist holds $count entries, not the four downloads and SHA256SUMS"
    rm -rf "$work"
    trap - EXIT
    echo "Release of $(git rev-parse --short HEAD) in $dist:"
    cat "$dist/SHA256SUMS"
}

# Builds the three release folders of this checkout.
build_all() {
    if [[ -z $site ]]; then
        cmake --list-presets=configure 2>/dev/null | grep -q '"wasm"' ||
            fail "CMakePresets.json has no wasm preset: the web front end is not in this checkout (or pass --site)"
    fi
    if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
        echo "release.sh: warning: the work tree has changes that are not committed;" \
            "these downloads are not those of commit $(git rev-parse --short HEAD)" >&2
    fi
    build build-release-linux -S . -G Ninja
    build build-release-mingw --preset mingw-w64
    if [[ -z $site ]]; then
        build build-release-wasm --preset wasm
        web_build=build-release-wasm
    else
        web_build=build-release-linux
    fi
}

# The signatures of a published release, taken from its program and its
# installer.
extract_signatures() { # published folder, output folder
    local zip installer
    zip=$(find "$1" -maxdepth 1 -name '*-win64.zip' | head -n 1)
    installer=$(find "$1" -maxdepth 1 -name '*-win64.msi' | head -n 1)
    [[ -f $zip && -f $installer && -f $1/SHA256SUMS ]] ||
        fail "$1 does not hold a published release (the zip, the installer and SHA256SUMS)"
    mkdir -p "$2/unpacked"
    (cd "$2/unpacked" && cmake -E tar xf "$zip") || fail "$zip cannot be unpacked"
    local programs
    mapfile -t programs < <(find "$2/unpacked" -type f -name '*.exe')
    ((${#programs[@]} == 1)) || fail "$zip holds ${#programs[@]} programs, not one"
    osslsigncode extract-signature -in "${programs[0]}" -out "$2/program.sig" >/dev/null ||
        fail "the published program is not signed"
    osslsigncode extract-signature -in "$installer" -out "$2/installer.sig" >/dev/null ||
        fail "the published installer is not signed"
}

# Two releases of this commit in two clones, under different conditions,
# compared.
check() {
    local commit work
    commit=$(git rev-parse HEAD)
    work=$(mktemp -d "${TMPDIR:-/tmp}/emberline-release-check.XXXXXX")
    local first=$work/first/emberline second=$work/second/another/path/emberline-copy
    local clone
    for clone in "$first" "$second"; do
        git clone --quiet --no-checkout "$root" "$clone"
        git -C "$clone" -c advice.detachedHead=false checkout --quiet "$commit"
    done
    local site_arguments=()
    [[ -z $site ]] || site_arguments=(--site "$site")
    echo "== First release, in $first"
    (cd "$first" && umask 022 && env -u SOURCE_DATE_EPOCH LC_ALL=C.UTF-8 TZ=UTC \
        bash scripts/release.sh "${site_arguments[@]}") >"$work/first.log" 2>&1 ||
        fail "the first release failed: $work/first.log"
    echo "== Second release, in $second"
    (cd "$second" && umask 077 && env -u SOURCE_DATE_EPOCH LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 \
        TZ=Pacific/Kiritimati bash scripts/release.sh "${site_arguments[@]}") >"$work/second.log" 2>&1 ||
        fail "the second release failed: $work/second.log"
    if cmp -s "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS"; then
        cat "$first/dist/SHA256SUMS"
        echo "Identical: both releases of $(git rev-parse --short HEAD) have the same SHA256SUMS"
        rm -rf "$work"
        return 0
    fi
    diff "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS" || true
    local name
    while read -r _ name; do
        if ! cmp -s "$first/dist/$name" "$second/dist/$name"; then
            echo "== $name differs; diffoscope: $work/$name.diffoscope.txt"
            diffoscope --text "$work/$name.diffoscope.txt" "$first/dist/$name" "$second/dist/$name" >/dev/null || true
            head -n 60 "$work/$name.diffoscope.txt"
        fi
    done <"$first/dist/SHA256SUMS"
    fail "the two releases differ ($work)"
}

if ((check)); then
    check
    exit
fi
signatures=""
if [[ -n $published ]]; then
    [[ $published != "$dist" ]] || fail "the published release must not be in $dist, where this one is written"
    command -v osslsigncode >/dev/null || fail "checking signatures needs osslsigncode: apt-get install osslsigncode"
    signatures=$(mktemp -d "${TMPDIR:-/tmp}/emberline-signatures.XXXXXX")
    extract_signatures "$published" "$signatures"
fi
if ((${#pack_from[@]})); then
    pack "${pack_from[@]}" "$signatures"
else
    build_all
    pack build-release-linux build-release-mingw "$web_build" "$signatures"
fi
if [[ -n $published ]]; then
    rm -rf "$signatures"
    if cmp -s "$published/SHA256SUMS" "$dist/SHA256SUMS" &&
        (cd "$dist" && sha256sum --quiet -c "$published/SHA256SUMS"); then
        echo "Every published file is this build's, byte for byte, with the published signatures attached"
    else
        diff "$published/SHA256SUMS" "$dist/SHA256SUMS" || true
        fail "this build differs from the published release in $published"
    fi
fi

#!/bin/bash
# Checks the release on the build folders the test command has already
# built, in well under a minute: release.sh packs them three times, into
# temporary folders (dist/ is left alone):
#   - unsigned: exactly the four downloads and SHA256SUMS, named with one
#     version, and the sums check; the web zip holds exactly the files of
#     the site it was packed from, byte for byte;
#   - signed with a throwaway CA and signer made here: Pyrel.exe (in the zip
#     and in the installer) and the installer verify against that CA, and the
#     Debian package and web zip are those of the unsigned release;
#   - from the unsigned builds with the signed release's signatures attached
#     (--signatures-from): every file of the signed release, byte for byte.
# The reproducibility of whole builds is release.sh --check's, which takes
# too long for every test run.
#
#   bash scripts/release-test.sh [linux build] [mingw build] [web build]
#
# The defaults are the test command's build-test, build-mingw-w64 and
# build-wasm, whose site it packs.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build-test}
mingw=${2:-build-mingw-w64}
web=${3:-build-wasm}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/emberline-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

[[ -f $web/site/index.html ]] || fail "$web/site/index.html is missing: build the site first (cmake --workflow --preset wasm)"
release=(bash scripts/release.sh --pack-from "$linux" "$mingw" "$web")

# A CA and a code-signing certificate it issued, both for this run only.
pki=$work/pki
mkdir -p "$pki"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Emberline throwaway CA" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
    -keyout "$pki/ca.key" -out "$pki/ca.pem" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Emberline throwaway signer" \
    -keyout "$pki/signer.key" -out "$pki/signer.csr" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
    >"$pki/signer.ext"
openssl x509 -req -days 2 -in "$pki/signer.csr" -CA "$pki/ca.pem" -CAkey "$pki/ca.key" \
    -CAcreateserial -extfile "$pki/signer.ext" -out "$pki/signer.pem" 2>/dev/null

run_release() { # name, arguments...
    local name=$1
    shift
    "${release[@]}" --dist "$work/$name" "$@" >"$work/$name.log" 2>&1 ||
        { cat "$work/$name.log" >&2; fail "release.sh $* failed"; }
}
run_release unsigned
EMBERLINE_SIGN_CERT=$pki/signer.pem EMBERLINE_SIGN_KEY=$pki/signer.key run_release signed
run_release attached --signatures-from "$work/signed"

# The release's version, as the installer carries it.
version=$(msiinfo export "$work/unsigned"/*.msi Property | tr -d '\r' |
    awk -F '\t' '$1 == "ProductVersion" { print $2 }')
[[ -n $version ]] || fail "the installer has no ProductVersion"
expected="Emberline-$version-web.zip Emberline-$version-win64.msi Emberline-$version-win64.zip SHA256SUMS emberline_${version}_amd64.deb"
for name in unsigned signed attached; do
    names=$(cd "$work/$name" && find . -mindepth 1 -printf '%f\n' | LC_ALL=C sort | xargs)
    [[ $names == "$expected" ]] || fail "the $name release holds '$names', not '$expected'"
    (cd "$work/$name" && sha256sum --quiet -c SHA256SUMS) || fail "the $name release's SHA256SUMS do not check"
done

# The program as each release has it: in the zip, and in the installer.
unpack() { # release name
    local out=$work/$1-files
    mkdir -p "$out/zip" "$out/msi"
    (cd "$out/zip" && cmake -E tar xf "$work/$1/Emberline-$version-win64.zip")
    (cd "$out/msi" && msiextract "$work/$1/Emberline-$version-win64.msi" >/dev/null)
    cmp -s "$out/zip/Pyrel.exe" "$out/msi/Emberline/Pyrel.exe" ||
        fail "the $1 release's zip and installer hold different programs"
}
unpack unsigned
unpack signed

verify() { # file
    osslsigncode verify -CAfile "$pki/ca.pem" -in "$1" >"$work/verify.log" 2>&1 ||
        { cat "$work/verify.log" >&2; fail "$1 does not verify"; }
}
verify "$work/signed-files/zip/Pyrel.exe"
verify "$work/signed/Emberline-$version-win64.msi"
for file in "$work/unsigned-files/zip/Pyrel.exe" "$work/unsigned/Emberline-$version-win64.msi"; do
    ! osslsigncode extract-signature -in "$file" -out "$work/none.sig" >/dev/null 2>&1 ||
        fail "$file is signed without a key"
done
for file in "emberline_${version}_amd64.deb" "Emberline-$version-web.zip"; do
    cmp -s "$work/unsigned/$file" "$work/signed/$file" || fail "signing changed $file"
done

# The web zip (the same in every release, as compared above) against the
# site it was packed from.
cmake -DZIP="$work/unsigned/Emberline-$version-web.zip" -DSITE_DIR="$web/site" -DWORK_DIR="$work/web-zip" \
    -P tests/identity/check_web_zip.cmake >"$work/web-zip.log" 2>&1 ||
    { cat "$work/web-zip.log" >&2; fail "the web zip is not the site in $web/site"; }

# The program's signature taken from the signed release and attached to the
# unsigned program gives the signed program; release.sh has checked the
# same of every file of the attached release.
osslsigncode extract-signature -in "$work/signed-files/zip/Pyrel.exe" -out "$work/program.sig" >/dev/null
osslsigncode attach-signature -CAfile "$pki/ca.pem" -sigin "$work/program.sig" \
    -in "$work/unsigned-files/zip/Pyrel.exe" -out "$work/attached.exe" >/dev/null
cmp -s "$work/attached.exe" "$work/signed-files/zip/Pyrel.exe" ||
    fail "the signature attached to the unsigned Pyrel.exe does not give the signed one"
cmp -s "$work/attached/SHA256SUMS" "$work/signed/SHA256SUMS" ||
    fail "the release with the attached signatures is not the signed release"

# Reached only when every check above passed: the first that does not stops
# the script (fail, set -e).
echo "release-test.sh: every check passed (unsigned, signed and verified, signatures attached back)"

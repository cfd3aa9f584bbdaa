#!/bin/bash
# Installs the Windows installer the way an administrator would, quietly,
# under Wine in a prefix of its own with no display, and checks what it
# leaves: the program and its licence in Program Files, the Start-menu
# shortcut, the entry in the installed programs list; that the installed
# program shows its window; that a later version replaces it in place and
# the earlier one then refuses to install; and that uninstalling removes all
# of it, registry included.
#
#   check_msi.sh <work dir> <build>/packaging/windows/windows_packages.cmake \
#                <window_probe.exe> <icon file>
#
# The installers are made with the package script the release uses; the
# later version is the same files packed as the next major version.
set -euo pipefail
work=$1
package_script=$2
probe=$3
icon=$4
root=$(cd "$(dirname "$0")/../.." && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
pack() { # output dir, cmake arguments...
    local out=$1
    shift
    cmake -DSTEP=pack -DSTAGE_DIR="$work/stage" -DOUTPUT_DIR="$out" "$@" -P "$package_script" >/dev/null
    ls "$out"/*.msi
}
cmake -DSTEP=stage -DSTAGE_DIR="$work/stage" -P "$package_script" >/dev/null
msi=$(pack "$work/current")
property() { # msi, property name
    msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' -v name="$2" '$1 == name { print $2 }'
}
version=$(property "$msi" ProductVersion)
product=$(property "$msi" ProductName)
publisher=$(property "$msi" Manufacturer)
code=$(property "$msi" ProductCode)
later=$(pack "$work/later" -DVERSION=$((${version%%.*} + 1)).00)
later_version=$(property "$later" ProductVersion)
later_code=$(property "$later" ProductCode)
[[ $code != "$later_code" && $(property "$later" UpgradeCode) == $(property "$msi" UpgradeCode) ]] ||
    fail "the later version is not another product of the same upgrade code"

# A fresh prefix in a temporary folder, set up and served as the Windows
# tests' own, and gone afterwards (it takes some 700 MB); the logs stay in
# the work folder.
prefix_parent=$(mktemp -d "${TMPDIR:-/tmp}/emberline-msi-prefix.XXXXXX")
prefix=$prefix_parent/prefix
wine_prefix=$root/tests/support/wine-prefix.sh
trap 'bash "$wine_prefix" --stop "$prefix"; cp "$prefix.log" "$work/" 2>/dev/null; rm -rf "$prefix_parent"' EXIT
bash "$wine_prefix" "$prefix" >/dev/null
# A Windows program in that prefix, with the Windows tests' loader and
# environment.
win() { bash "$wine_prefix" --run "$prefix" "$@" </dev/null 2>>"$work/wine.log"; }
windows_path() { win winepath -w "$1" | tr -d '\r'; }
# No winemenubuilder, which would copy the shortcut into this machine's own
# menus. Set in the prefix rather than the environment, since the
# installer's service was started with the environment of wine-prefix.sh.
win reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null

program_dir="$prefix/drive_c/Program Files/$product"
# A per-machine install puts its shortcut into the common Programs folder;
# Wine's installer puts it into the installing user's (measured with Wine
# 8), so either counts, and neither may keep it after the uninstall.
shortcuts=("$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk"
    "$prefix/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$product.lnk")
shortcut_count() {
    local count=0 file
    for file in "${shortcuts[@]}"; do [[ -f $file ]] && count=$((count + 1)); done
    echo "$count"
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
products_key='HKLM\Software\Classes\Installer\Products'
# The value of a registry value, or nothing when the key or value is absent.
registry_value() { # key, name
    { win reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print }'
}
# Everything in HKLM and HKCU that names the product, its publisher or one
# of its codes, in the registry's own packed form too.
packed() { # {8-4-4-4-12} -> the form Windows Installer files codes under
    local hex=${1//[\{\}-]/}
    local out="" part i
    for part in "${hex:0:8}" "${hex:8:4}" "${hex:12:4}"; do
        for ((i = ${#part} - 1; i >= 0; i--)); do out+=${part:i:1}; done
    done
    for ((i = 16; i < 32; i += 2)); do out+=${hex:i+1:1}${hex:i:1}; done
    echo "$out"
}
traces() {
    local hive file pattern
    pattern="$product|$publisher|${code//[\{\}]/}|${later_code//[\{\}]/}|$(packed "$code")|$(packed "$later_code")"
    pattern+="|$(packed "$(property "$msi" UpgradeCode)")"
    for hive in HKLM HKCU; do
        file="$work/$hive.reg"
        rm -f "$file"
        win reg export "$hive" "$(windows_path "$file")" /y >/dev/null
        iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | grep -i -E "$pattern" || true
    done
}
expect_installed() { # msi, version, product code
    cmp -s "$program_dir/Pyrel.exe" "$work/stage/Pyrel.exe" || fail "$1: Pyrel.exe is not installed in $program_dir"
    cmp -s "$program_dir/LICENSE.txt" "$work/stage/LICENSE.txt" || fail "$1: LICENSE.txt is not installed"
    [[ $(shortcut_count) == 1 ]] || fail "$1: not one shortcut $product.lnk in the Start menu"
    local key="$uninstall_key\\$3"
    [[ $(registry_value "$key" DisplayName) == "$product" ]] || fail "$1: no uninstall entry $key named $product"
    [[ $(registry_value "$key" Publisher) == "$publisher" ]] || fail "$1: the uninstall entry's publisher is not $publisher"
    [[ $(registry_value "$key" DisplayVersion) == "$2" ]] || fail "$1: the uninstall entry's version is not $2"
    # The installed programs list shows an installer's product with the
    # icon Windows Installer keeps for it (ARPPRODUCTICON).
    local shown_icon
    shown_icon=$(registry_value "$products_key\\$(packed "$3")" ProductIcon)
    [[ -n $shown_icon ]] && cmp -s "$(win winepath -u "$shown_icon" | tr -d '\r')" "$icon" ||
        fail "$1: the product's icon '$shown_icon' is not the program's icon"
}

[[ -z $(traces) ]] || fail "the fresh prefix already names $product"

# msiexec, quiet, with a log that a failure shows.
msiexec() { # action, package or product code
    local log=$work/msiexec-$((++msiexec_runs)).log status=0
    win msiexec "$1" "$2" /qn /l*v "$(windows_path "$log")" || status=$?
    if ((status != 0)); then
        iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | tr -d '\r' | tail -n 25 >&2 || true
        fail "msiexec $1 $2 /qn failed ($status)"
    fi
}
msiexec_runs=0

msiexec /i "$(windows_path "$msi")"
expect_installed "$msi" "$version" "$code"
win "$probe" "C:\\Program Files\\$product\\Pyrel.exe" || fail "the installed Pyrel.exe showed no window"

msiexec /i "$(windows_path "$later")"
expect_installed "$later" "$later_version" "$later_code"
[[ -z $(registry_value "$uninstall_key\\$code" DisplayName) ]] || fail "$later left $version installed beside it"
# The earlier installer refuses to run over the later version.
if win msiexec /i "$(windows_path "$msi")" /qn; then
    fail "$msi installed over $later_version"
fi
expect_installed "$later" "$later_version" "$later_code"

msiexec /x "$later_code"
[[ ! -e $program_dir ]] || fail "uninstalling left $program_dir"
[[ $(shortcut_count) == 0 ]] || fail "uninstalling left the shortcut $product.lnk"
left=$(traces)
[[ -z $left ]] || fail "uninstalling left these registry entries:"$'\n'"$left"
echo "installed $version, upgraded to $later_version, refused $version over it, uninstalled: nothing left"

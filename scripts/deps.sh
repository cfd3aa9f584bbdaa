#!/bin/bash
# Installs the Debian packages that building, running and testing need,
# and only those that are missing, so a second run is quick. Also makes the
# decimal-comma locale that the conversion tests run under.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    fonts-ebgaramond fonts-liberation
    doctest-dev libbenchmark-dev
    binutils-mingw-w64-x86-64 desktop-file-utils appstream
    g++-mingw-w64-x86-64-posix wine wine64 fonts-wine python3-pefile
    lintian man-db dpkg-dev qt6-svg-dev
    clang-14 libclang-rt-14-dev
    locales
    emscripten nodejs
    fonts-liberation2 python3-fonttools
    chromium chromium-driver python3-selenium
    firefox-esr webkit2gtk-driver gir1.2-webkit2-4.1 python3-websocket xvfb xauth xdotool
    wixl msitools osslsigncode python3-olefile optipng
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

# npm comes with Node.js from some sources and as a package of its own from
# Debian's.
command -v npm >/dev/null || missing+=(npm)

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is a comma: the conversions must ignore it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

# The browser tests' npm packages (axe-core), pinned by their lock file;
# installed again only when the lock changed.
web_tests="$(dirname "$0")/../tests/ui/web"
if [ "$web_tests/package-lock.json" -nt "$web_tests/node_modules/.package-lock.json" ]; then
    (cd "$web_tests" && npm ci --no-audit --no-fund --loglevel=error)
fi

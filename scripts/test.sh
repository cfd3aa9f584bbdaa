#!/bin/bash
# Installs what is missing, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build-test
ctest --test-dir build-test --output-on-failure --timeout 300

# Pyrel.exe cross-built with MinGW-w64, its tests run under Wine with no
# display, in the prefix that wine-prefix.sh prepares (preset mingw-w64).
bash scripts/wine-prefix.sh
trap 'bash scripts/wine-prefix.sh --stop' EXIT
(
    unset DISPLAY
    cmake --preset mingw-w64
    cmake --build --preset mingw-w64
    ctest --preset mingw-w64
)
bash scripts/wine-prefix.sh --stop
trap - EXIT

# The toolkit-free code alone, in a build that has no Qt at all.
cmake -S . -B build-noqt -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DEMBERLINE_QT_UI=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
cmake --build build-noqt
ctest --test-dir build-noqt --output-on-failure --timeout 300

# The same suite once more with AddressSanitizer and UBSan, then each
# libFuzzer target for a bounded time.
bash scripts/sanitize.sh
bash scripts/fuzz.sh

# Reached only when every stage above passed (set -e).
echo "stages: 5 passed, 0 failed"

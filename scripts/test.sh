#!/bin/bash
# Installs what is missing, builds every configuration and runs every test,
# headless. Each configuration is a workflow preset in CMakePresets.json
# (configure, build, test); a new platform adds a preset and a line here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
unset DISPLAY WAYLAND_DISPLAY

cmake --workflow --preset default      # Linux: the Qt windows and every native test
cmake --workflow --preset noqt         # the toolkit-free code in a build without Qt
cmake --workflow --preset mingw-w64    # Pyrel.exe, its tests under Wine
cmake --workflow --preset wasm         # the browser build, its tests under Node
bash scripts/release-test.sh           # the downloads packed from those builds, signed and not
cmake --workflow --preset asan-ubsan   # the native suite under AddressSanitizer and UBSan
bash scripts/fuzz.sh                   # each libFuzzer target for a bounded time

# Reached only when every stage above passed (set -e).
echo "test.sh: every stage passed"

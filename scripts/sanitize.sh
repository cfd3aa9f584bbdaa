#!/bin/bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (CMakePresets.json, preset asan-ubsan, in build-asan/) and runs the whole
# test suite under them, the Qt windows included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset asan-ubsan
cmake --build --preset asan-ubsan
ctest --preset asan-ubsan --output-on-failure

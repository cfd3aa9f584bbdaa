#!/bin/bash
# Runs valgrind's memcheck over one scripted session with the real windows
# (tests/memcheck/memcheck_session.cpp, headless on Qt's offscreen platform):
# start, 5800 K and 1 µm calculated, a wavelength that is no number with its
# message answered, About and back, Exit. A developer command, not part of CI
# (the session takes about a second, under valgrind some ten).
#
# Fails (exit 99) on any memcheck error: invalid reads or writes, use of
# uninitialised values, bad frees, and every definitely lost block; possibly
# lost and still reachable blocks are not errors. Exit 1 or 2 means the
# session itself did not show what it should or got stuck.
#
# Usage: bash scripts/memcheck.sh [extra valgrind options]
#   e.g. --track-origins=yes, or --suppressions=FILE for a system library
#   that leaks on another machine. Build folder: build-memcheck, or
#   $EMBERLINE_MEMCHECK_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
if ! command -v valgrind >/dev/null; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends valgrind
fi

build=${EMBERLINE_MEMCHECK_BUILD:-build-memcheck}
# Optimised as shipped, with debug information for readable stacks.
cmake -S tests/memcheck -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target memcheck_session

log="$build/memcheck.log"
status=0
QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck \
    --error-exitcode=99 \
    --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite \
    --num-callers=40 \
    --log-file="$log" \
    "$@" \
    "$build/memcheck_session" || status=$?

sed -n '/HEAP SUMMARY/,$p' "$log"
case $status in
    0) echo "memcheck: no errors, no definite leaks (full log: $log)" ;;
    99) echo "memcheck: errors found, see $log" >&2 ;;
    *) echo "memcheck: the session failed with exit status $status, see $log" >&2 ;;
esac
exit $status

#!/usr/bin/env bash
# Sets up the machine, checks the sources' format, builds kalvor and runs every
# test: the whole suite, then the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz program briefly.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== format"
bash "$top/tools/check-format.sh"

echo "== build and test: $top/build/release"
BUILD_DIR="$top/build/release" bash "$top/tools/build.sh"
ctest --test-dir "$top/build/release" --output-on-failure -j "$jobs"

echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer: $top/build/sanitize"
BUILD_DIR="$top/build/sanitize" bash "$top/tools/build.sh" -DKALVOR_CORE_ONLY=ON -DKALVOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$top/build/sanitize" --output-on-failure -j "$jobs"

# Each fuzz program for a fixed few thousand executions (under a minute in all,
# once built), the same on every machine; a longer run is
# "bash tools/fuzz.sh SECONDS" (see the README).
echo "== fuzz programs, briefly: $top/build/fuzz"
bash "$top/tools/fuzz.sh" brief

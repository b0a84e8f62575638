#!/usr/bin/env bash
# Configures and builds kalvor into BUILD_DIR (default: build/release).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${BUILD_DIR:-$top/build/release}
cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"

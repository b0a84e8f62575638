#!/usr/bin/env bash
# Configures and builds kalvor into BUILD_DIR (default: build/release).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${BUILD_DIR:-$top/build/release}
# ccache, when installed, lets several checkouts of the tree share their objects.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$top")} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"

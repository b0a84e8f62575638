#!/usr/bin/env bash
# Sets up the machine, builds kalvor and runs it: on the file given, or on the
# bundled sample when none is given.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"
BUILD_DIR="$top/build/release" bash "$top/tools/build.sh" >/dev/null
file=${1:-$top/samples/sample.mp3}
if [ -x "$top/build/release/kalvor" ]; then
  exec "$top/build/release/kalvor" "$file"
fi
exec "$top/build/release/kalvor-cli" info "$file"

#!/usr/bin/env bash
# Sets up the machine, builds kalvor and packs it as a Debian package:
# build/release/kalvor_<version>_amd64.deb, for "apt install ./kalvor_*.deb".
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"
BUILD_DIR="$top/build/release" bash "$top/tools/build.sh" >/dev/null
cd "$top/build/release"
cpack -G DEB >/dev/null
ls "$top"/build/release/kalvor_*_amd64.deb

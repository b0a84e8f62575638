#!/usr/bin/env bash
# The Debian package, checked as a user's system would take it.
#   check-package.sh make   BUILD OUT   cpack makes kalvor_<version>_amd64.deb in OUT
#   check-package.sh files  BUILD OUT   its file list and the packages it depends on
#   check-package.sh desktop BUILD OUT  the desktop entry, the AppStream record, the icons
#   check-package.sh lintian BUILD OUT  Debian's package checker finds no error
#   check-package.sh manual BUILD OUT   kalvor-cli.1 names every command and switch of --help
set -euo pipefail
step=$1 build=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }

the_deb() {
  local debs=("$out"/kalvor_*_amd64.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single kalvor_*_amd64.deb in $out"
  echo "${debs[0]}"
}

unpacked() {
  local root=$out/root
  if [ ! -d "$root" ]; then
    mkdir -p "$root.tmp" && dpkg-deb -x "$(the_deb)" "$root.tmp" && mv "$root.tmp" "$root"
  fi
  echo "$root"
}

case $step in
make)
  rm -rf "$out" && mkdir -p "$out"
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; fail "cpack"; }
  version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
  [ -f "$out/kalvor_${version}_amd64.deb" ] || fail "cpack made $(ls "$out"/*.deb 2>/dev/null), not kalvor_${version}_amd64.deb"
  ;;
files)
  deb=$(the_deb)
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort >"$out/files.txt"
  diff -u "$here/files.txt" "$out/files.txt" || fail "the package's files differ from tests/package/files.txt"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  # From the binaries (shlibdeps), and what kalvor loads at run time.
  for p in libc6 libqt6widgets6 libgstreamer1.0-0 gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
           gstreamer1.0-libav fonts-noto-cjk qt6-translations-l10n; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
  done
  ;;
desktop)
  root=$(unpacked)
  desktop-file-validate "$root/usr/share/applications/kalvor.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$root/usr/share/metainfo/kalvor.metainfo.xml" || fail "appstreamcli validate"
  for size in 48 256; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/kalvor.png" | grep -q "PNG image data, $size x $size" ||
      fail "the ${size}x${size} icon is not a PNG of that size"
  done
  ;;
lintian)
  lintian --fail-on error --tag-display-limit 0 "$(the_deb)" || fail "lintian reports errors"
  ;;
manual)
  page=$(unpacked)/usr/share/man/man1/kalvor-cli.1.gz
  text=$(MANWIDTH=200 man -E ascii -l "$page" 2>/dev/null | col -bx)
  help=$("$build/kalvor-cli" --help)
  commands=$(awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' <<<"$help")
  [ -n "$commands" ] || fail "no commands in kalvor-cli --help"
  for c in $commands; do
    grep -Eq "^ +$c( |$)" <<<"$text" || fail "kalvor-cli.1 does not describe the command $c"
  done
  for s in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -qF -- "$s" <<<"$text" || fail "kalvor-cli.1 does not name the switch $s"
  done
  ;;
*) fail "unknown step $step" ;;
esac
echo "ok: $step"

#!/usr/bin/env bash
# Installs what kalvor needs to build, run and test on Debian 12, when missing.
# Runs as root, or through sudo.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  # the audio levels
  libmpg123-dev
  # tags kept on saving
  libtag1-dev
  # playback
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-alsa gstreamer1.0-tools
  # Japanese text in the windows, and Qt's own texts (file dialogs) in Japanese
  fonts-noto-cjk qt6-translations-l10n
  # test audio and independent checkers
  lame twolame ffmpeg mp3val mpg123
  # fuzzing (tools/fuzz.sh): clang and its libFuzzer runtime; the format check
  clang libclang-rt-14-dev clang-format
  # window screenshots
  xvfb xauth
  # the desktop files and the Debian package: icon rendering, packing, and the checkers of its tests
  librsvg2-bin dpkg-dev file man-db desktop-file-utils appstream lintian
  # the interface in English and Japanese: Qt Linguist's tools, Qt's own translations, the two locales
  qt6-l10n-tools qt6-translations-l10n locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run the windows under a Japanese and an English locale.
locales=(ja_JP.UTF-8 en_US.UTF-8)
for l in "${locales[@]}"; do
  if ! locale -a | grep -qix "${l/UTF-8/utf8}"; then
    echo "Generating the locales: ${locales[*]}"
    for g in "${locales[@]}"; do
      grep -q "^$g UTF-8" /etc/locale.gen || echo "$g UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    done
    $sudo locale-gen >/dev/null
    break
  fi
done

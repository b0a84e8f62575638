#!/usr/bin/env bash
# Renders the main window on a virtual X screen with a file open (the bundled
# sample unless one is given) and writes a PNG of it (default:
# build/screenshot-main.png). The run keeps its settings, lock and working
# files in a temporary folder, so it neither sees nor changes the user's.
#   tools/screenshot.sh [audio file] [output png]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
file=$(realpath "${1:-$top/samples/sample.mp3}")
out=$(realpath -m "${2:-$top/build/screenshot-main.png}")
build=${BUILD_DIR:-$top/build/release}
if [ ! -x "$build/kalvor" ]; then
  bash "$top/tools/setup.sh"
  BUILD_DIR="$build" bash "$top/tools/build.sh" >/dev/null
fi

rm -f "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/program" "$home/runtime" && chmod 700 "$home/runtime"
cp "$build/kalvor" "$home/program/"
# A settings file beside the program keeps the settings in the temporary home.
printf '[conf]\n' > "$home/program/kalvor.ini"

XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime KALVOR_AUDIO_OUTPUT=${KALVOR_AUDIO_OUTPUT:-fake} \
  xvfb-run -a -s "-screen 0 1024x480x24" bash -c '
    "$1" "$2" &
    app=$!
    for _ in $(seq 1 50); do
      sleep 0.2
      import -window "kalvor - KalvorProject" "$3" 2>/dev/null && break
    done
    # Time for the media service to load its plugins and open the file.
    sleep 3
    import -window "kalvor - KalvorProject" "$3" || true
    kill "$app" 2>/dev/null || true
  ' _ "$home/program/kalvor" "$file" "$out"
[ -s "$out" ] || { echo "no picture of the window was taken" >&2; exit 1; }
echo "$out"

# The same file with a selection dragged on the time line, when the test program is built.
shot=$(dirname "$out")/screenshot-selection.png
if [ -x "$build/tests/ui_frm_main_picture_test" ]; then
  rm -f "$shot"
  (cd "$build" && QT_QPA_PLATFORM=offscreen KALVOR_SELECTION_SONG="$file" KALVOR_SELECTION_SHOT="$shot" \
    "$build/tests/ui_frm_main_picture_test" >/dev/null) && echo "$shot"
fi

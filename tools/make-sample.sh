#!/usr/bin/env bash
# Makes samples/sample.mp3, the file the editor opens when started without one:
# 16 seconds of a slow scale of soft tones over quiet noise, so that edits,
# splits and joins are easy to hear. 44.1 kHz, 128 kbit/s, joint stereo.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# One note every two seconds (C major scale), each fading out within its slot.
# (commas inside a filter argument are escaped)
expr='0.35*sin(2*PI*t*261.63*pow(2\,floor(t/2)*(2/12)-floor(floor(t/2)/3)*(1/12)))*exp(-1.5*mod(t\,2))'
ffmpeg -v error -y -f lavfi -i "aevalsrc=${expr}|${expr}:s=44100:d=16" \
  -f lavfi -i "anoisesrc=color=brown:amplitude=0.02:sample_rate=44100:duration=16:seed=3" \
  -filter_complex "[0][1]amix=inputs=2:normalize=0" -ac 2 -c:a pcm_s16le "$tmp/sample.wav"
lame --quiet -b 128 -m j --tt "kalvor sample" "$tmp/sample.wav" "$top/samples/sample.mp3"

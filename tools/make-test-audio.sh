#!/usr/bin/env bash
# Makes the audio files the tests use, with Debian's encoders, into OUTDIR.
# The set is made again only when this script changes.
#
#   cbr128.mp3      MPEG-1 Layer III, 44.1 kHz, 128 kbit/s, joint stereo, LAME "Info" header, 20 s
#   cbr128_plain.mp3  the same without the "Info" header (lame -t)
#   vbr.mp3         MPEG-1 Layer III, 44.1 kHz, lame -V 2, "Xing" header, 21 s
#   lsf.mp3         MPEG-2 LSF Layer III, 22.05 kHz, 64 kbit/s, joint stereo, 12 s
#   lsf_vbr.mp3     MPEG-2 LSF Layer III, 22.05 kHz, VBR with "Xing" header, 12 s
#   mono.mp3        MPEG-1 Layer III, 44.1 kHz, 64 kbit/s, mono, 10 s
#   mono_vbr.mp3    MPEG-1 Layer III, 44.1 kHz, mono VBR with "Xing" header, 10 s
#   mp2_48k.mp2     MPEG-1 Layer II, 48 kHz, 192 kbit/s, stereo (twolame), 15 s
#   ffmpeg.mp3      MPEG-1 Layer III, 48 kHz, 160 kbit/s, made by ffmpeg's encoder, 8 s
#   cbr48k.mp3      MPEG-1 Layer III, 48 kHz, 128 kbit/s, joint stereo, 6 s (a format that does not match cbr128)
#   crc.mp3         MPEG-1 Layer III, 44.1 kHz, lame -V 4, plain stereo, every frame CRC-protected (lame -p), 8 s
#   tone.wav        PCM, 44.1 kHz, 16 bit, stereo, 5 s
#   gaps.mp3        MPEG-1 Layer III, 44.1 kHz, 128 kbit/s, stereo, 18 s: a 440 Hz tone at -6 dBFS
#                   (0 to 4 s), digital silence (4 to 7 s), the tone at -26 dBFS (7 to 11 s),
#                   silence (11 to 14 s), white noise peaking at -20 dBFS (14 to 18 s)
#   layer1.mp1      MPEG-1 Layer I, 44.1 kHz, 128 kbit/s, stereo, 300 frames of silence written
#                   here (no encoder at hand makes Layer I): every sub-band allocated no bits
#   <name>_tags.<ext>  each MPEG file above with a 2 048-byte ID3v2 tag in front and a
#                   128-byte ID3v1 "TAG" block at the end
# Hostile files, cut from the ones above (what real-world files hold):
#   junk_sync.mp3   1 500 bytes of junk with a false 24 kHz Layer III sync, then cbr128.mp3
#   bad_first.mp3   cbr128_plain.mp3 whose first header has the free-format bit-rate index
#   two_id3v2.mp3   two ID3v2 tags, the second with UTF-16 text (FF FE 68 00 is a false
#                   32 kHz Layer I sync), then cbr128.mp3
#   vbri.mp3        vbr.mp3 whose "Xing" header frame holds a VBRI header instead
#   ff_tail.mp3     cbr128_plain.mp3 followed by 100 kB of 0xFF
#   mpeg25.mp3      MPEG 2.5 Layer III, 12 kHz, 16 kbit/s (lame --resample 12), 8 s: its data
#                   holds pseudo-headers of MPEG-1/2 that a search could take for frames
#   tagged/         the same 20 s of sound tagged as encoders and taggers tag it, title
#                   "My Title", artist "My Artist", album "My Album" (cover.jpg is the picture):
#     lame.mp3        lame -V 2 --add-id3v2: ID3v2.3 with TLEN, and an ID3v1 block
#     ff23v1.mp3      ffmpeg, 128 kbit/s with an "Info" header: ID3v2.3 and ID3v1
#     ff24v1.mp3      ID3v2.4 (with a TLEN frame) and ID3v1
#     ff24.mp3        the same with ID3v2.4 only
#     ape.mp3         no ID3; an APEv2 tag with its header at the end
#     cover.mp3       ID3v2.3 only, holding a JPEG front cover of 320x240
#     none.mp3        no tags at all
set -euo pipefail
out=$(realpath -m "${1:?usage: make-test-audio.sh OUTDIR}")
here=$(cd "$(dirname "$0")" && pwd)
stamp="$out/.made-by-$(sha1sum "$here/make-test-audio.sh" | cut -c1-12)"
[ -f "$stamp" ] && exit 0
mkdir -p "$out"
rm -f "$out"/.made-by-*
cd "$out"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A signal that is not silence, so encoders spend bits unevenly (VBR varies):
# two tones and some pink noise, with a change every few seconds.
source_wav() {  # seconds rate channels file
    ffmpeg -v error -y -f lavfi -i "sine=frequency=440:sample_rate=$2:duration=$1" \
        -f lavfi -i "anoisesrc=color=pink:amplitude=0.2:sample_rate=$2:duration=$1:seed=7" \
        -f lavfi -i "sine=frequency=1250:sample_rate=$2:duration=$1:beep_factor=4" \
        -filter_complex "[0][1][2]amix=inputs=3:normalize=0,volume=0.6" \
        -ac "$3" -ar "$2" -c:a pcm_s16le "$4"
}

source_wav 20 44100 2 "$tmp/s44_20.wav"
source_wav 21 44100 2 "$tmp/s44_21.wav"
source_wav 12 22050 2 "$tmp/s22_12.wav"
source_wav 10 44100 1 "$tmp/m44_10.wav"
source_wav 15 48000 2 "$tmp/s48_15.wav"
source_wav 8 48000 2 "$tmp/s48_8.wav"
source_wav 6 48000 2 "$tmp/s48_6.wav"
source_wav 8 44100 2 "$tmp/s44_8.wav"
source_wav 5 44100 2 tone.wav

lame --quiet -b 128 -m j "$tmp/s44_20.wav" cbr128.mp3
lame --quiet -t -b 128 -m j "$tmp/s44_20.wav" cbr128_plain.mp3
lame --quiet -V 2 "$tmp/s44_21.wav" vbr.mp3
lame --quiet -b 64 -m j --resample 22.05 "$tmp/s22_12.wav" lsf.mp3
lame --quiet -V 4 -m j --resample 22.05 "$tmp/s22_12.wav" lsf_vbr.mp3
lame --quiet -b 64 -m m "$tmp/m44_10.wav" mono.mp3
lame --quiet -V 4 -m m "$tmp/m44_10.wav" mono_vbr.mp3
twolame --quiet -b 192 "$tmp/s48_15.wav" mp2_48k.mp2
ffmpeg -v error -y -i "$tmp/s48_8.wav" -c:a libmp3lame -b:a 160k -write_xing 0 ffmpeg.mp3
lame --quiet -b 128 -m j "$tmp/s48_6.wav" cbr48k.mp3
ffmpeg -v error -y -f lavfi -i "aevalsrc='if(lt(t,4), 0.5*sin(2*PI*440*t), if(lt(t,7), 0, if(lt(t,11), \
0.05*sin(2*PI*440*t), if(lt(t,14), 0, 0.1*(2*random(0)-1)))))':s=44100:d=18:c=stereo" -c:a pcm_s16le "$tmp/gaps.wav"
lame --quiet -b 128 -m s "$tmp/gaps.wav" gaps.mp3
for _ in $(seq 300); do
    printf '\xff\xff\x40\x00'  # no CRC; 128 kbit/s, 44.1 kHz, no padding; stereo: 136 bytes a frame
    head -c 132 /dev/zero
done > layer1.mp1
lame --quiet -p -m s -V 4 "$tmp/s44_8.wav" crc.mp3
lame --quiet -b 16 --resample 12 "$tmp/s44_8.wav" mpeg25.mp3

# A synthetic ID3v2.3 tag of 2 048 bytes (10-byte header, synchsafe size 2 038)
# in front, and a 128-byte ID3v1 block at the end.
id3v2() {
    printf 'ID3\x03\x00\x00\x00\x00\x0f\x76'
    head -c 2038 /dev/zero
}
id3v1() {
    printf 'TAG%-30s%-30s%-30s%-4s%-30s\xff' "kalvor test" "kalvor" "tests" "2026" "made at test time"
}
for f in cbr128.mp3 cbr128_plain.mp3 vbr.mp3 lsf.mp3 lsf_vbr.mp3 mono.mp3 mono_vbr.mp3 mp2_48k.mp2 ffmpeg.mp3; do
    base=${f%.*} ext=${f##*.}
    { id3v2; cat "$f"; id3v1; } > "${base}_tags.$ext"
done

# ---- hostile files ----
junk() {  # bytes: text with no 0xFF in it
    yes "kalvor junk before the audio" | head -c "$1" || true  # yes ends on a closed pipe
}
{ junk 200; printf '\xff\xf3\xd4\x44'; junk 1296; cat cbr128.mp3; } > junk_sync.mp3
{ printf '\xff\xfb\x00\x64'; tail -c +5 cbr128_plain.mp3; } > bad_first.mp3
{
    printf 'ID3\x03\x00\x00\x00\x00\x00\x1e'   # 30 bytes: one TIT2 frame
    printf 'TIT2\x00\x00\x00\x14\x00\x00\x00%-19s' "kalvor two tags"
    printf 'ID3\x03\x00\x00\x00\x00\x00\x19'   # 25 bytes: one UTF-16 TPE1 frame
    printf 'TPE1\x00\x00\x00\x0f\x00\x00\x01\xff\xfeh\x00e\x00l\x00l\x00o\x00\x00\x00'
    cat cbr128.mp3
} > two_id3v2.mp3
head -c "$(( $(stat -c %s cbr128_plain.mp3) ))" cbr128_plain.mp3 > ff_tail.mp3
head -c 102400 /dev/zero | tr '\0' '\377' >> ff_tail.mp3

# A VBRI header (Fraunhofer's) at 32 bytes after the header of vbr.mp3's first
# frame, the frame's other bytes zero: "VBRI", version 1, delay, quality, the
# byte count, the frame count (this frame included), then a table of 100
# two-byte entries (scale 1, one entry per frames/100 frames) of equal sizes.
be() {  # value bytes: big-endian
    local i
    for (( i = $2 - 1; i >= 0; i-- )); do printf "\\$(printf '%03o' $(( ($1 >> (8 * i)) & 255 )))"; done
}
u32at() { od -An -tu1 -j "$2" -N4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'; }
b3=$(od -An -tu1 -j2 -N1 vbr.mp3 | tr -d ' ')
rates=(0 32 40 48 56 64 80 96 112 128 160 192 224 256 320 0)  # MPEG-1 Layer III, kbit/s
vlen=$(( 144 * ${rates[b3 >> 4]} * 1000 / 44100 + ((b3 >> 1) & 1) ))
[ "$vlen" -gt 300 ] && [ "$(head -c 40 vbr.mp3 | tail -c 4)" = Xing ] ||
    { echo "make-test-audio: vbr.mp3 does not start with a Xing frame" >&2; exit 1; }
vframes=$(u32at vbr.mp3 44)
vbytes=$(stat -c %s vbr.mp3)
{
    head -c 4 vbr.mp3
    head -c 32 /dev/zero
    printf 'VBRI'; be 1 2; be 1105 2; be 75 2; be "$vbytes" 4; be $(( vframes + 1 )) 4
    be 100 2; be 1 2; be 2 2; be $(( vframes / 100 )) 2
    for _ in $(seq 100); do be $(( (vbytes - vlen) / 100 )) 2; done
    head -c $(( vlen - 4 - 32 - 26 - 200 )) /dev/zero
    tail -c +$(( vlen + 1 )) vbr.mp3
} > vbri.mp3

# A little-endian 32-bit number as printf escapes.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
# An APEv2 tag with header and footer holding the KEY=VALUE items given.
apev2() {
    local items="" size=32 count=0 kv key value
    for kv in "$@"; do
        key=${kv%%=*} value=${kv#*=}
        items+="$(le32 ${#value})$(le32 0)$key\\x00$value"
        size=$((size + 8 + ${#key} + 1 + ${#value})) count=$((count + 1))
    done
    printf "APETAGEX$(le32 2000)$(le32 $size)$(le32 $count)$(le32 $((0xA0000000)))\\0\\0\\0\\0\\0\\0\\0\\0"
    printf "$items"
    printf "APETAGEX$(le32 2000)$(le32 $size)$(le32 $count)$(le32 $((0x80000000)))\\0\\0\\0\\0\\0\\0\\0\\0"
}
mkdir -p tagged
meta=(-metadata title="My Title" -metadata artist="My Artist" -metadata album="My Album")
ffmp3() {  # output, then ffmpeg output options
    local out=$1
    shift
    ffmpeg -v error -y -i "$tmp/s44_20.wav" -c:a libmp3lame -b:a 128k "$@" "tagged/$out"
}
lame --quiet -V 2 --add-id3v2 --tt "My Title" --ta "My Artist" --tl "My Album" "$tmp/s44_20.wav" tagged/lame.mp3
ffmp3 ff23v1.mp3 "${meta[@]}" -id3v2_version 3 -write_id3v1 1
ffmp3 ff24v1.mp3 "${meta[@]}" -metadata TLEN=20000 -id3v2_version 4 -write_id3v1 1
ffmp3 ff24.mp3 "${meta[@]}" -metadata TLEN=20000 -id3v2_version 4
ffmp3 none.mp3 -id3v2_version 0
{ cat tagged/none.mp3; apev2 "Title=My Title" "Artist=My Artist" "Album=My Album"; } > tagged/ape.mp3
ffmpeg -v error -y -f lavfi -i testsrc=size=320x240 -frames:v 1 tagged/cover.jpg
ffmpeg -v error -y -i "$tmp/s44_20.wav" -i tagged/cover.jpg -map 0 -map 1 -c:a libmp3lame -b:a 128k -c:v copy \
    "${meta[@]}" -id3v2_version 3 -metadata:s:v title="Album cover" -metadata:s:v comment="Cover (front)" \
    tagged/cover.mp3

touch "$stamp"

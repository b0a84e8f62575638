#!/usr/bin/env bash
# Builds the libFuzzer programs of fuzz/ with clang into build/fuzz and runs
# each for SECONDS (default 10), or FUZZ_RUNS executions when that is set:
#
#   bash tools/fuzz.sh [SECONDS] [TARGET...]        e.g. bash tools/fuzz.sh 600 stream_analysis
#   FUZZ_RUNS=10000000 bash tools/fuzz.sh 0 xing_header
#   FUZZ_JOBS=2 FUZZ_RUNS=10000000 bash tools/fuzz.sh 0 tag_blocks
#   bash tools/fuzz.sh brief                        what tools/test.sh runs
#
# Seeds are cut from the test audio (tools/make-test-audio.sh), hostile files
# among them, and fuzz/regressions/<program> holds every input that once
# failed. What the fuzzer finds is kept in build/fuzz/corpus and grows from
# run to run. A crash, leak or time-out leaves its input in
# build/fuzz/artifacts and makes the script fail.
#
# FUZZ_JOBS=N runs a program in N worker processes at once (libFuzzer's fork
# mode): their executions add up in one run, and as each worker is started
# afresh for a short stretch, a long run does not slow down as a single
# process does (its sanitizer's stores only grow).
#
# "brief" runs a fixed number of executions from a fixed random seed, without
# the kept corpus: every machine runs the same inputs, so a test run fails the
# same way everywhere or nowhere.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-10}
shift || true
dir=${FUZZ_BUILD_DIR:-$top/build/fuzz}

# Each target with the largest input it is given and the executions of a
# brief run (a few seconds on a slow machine). Add a line for a new one.
declare -A limits=(
  [stream_analysis]="16384 8000"
  [xing_header]="4096 6000"
  [wav_header]="4096 12000"
  [time_text]="64 400000"
  [document_edits]="24576 500"
  [tag_blocks]="16384 10000"
  [layer3_repack]="24576 2000"
)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=($(printf '%s\n' "${!limits[@]}" | sort))

launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$top")} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$top" -B "$dir" -DKALVOR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]/%/_fuzz}" >/dev/null

# ---- seeds ----
audio=$dir/testaudio
bash "$top/tools/make-test-audio.sh" "$audio"
seeds=$dir/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{stream_analysis,xing_header,wav_header,time_text,document_edits,tag_blocks,layer3_repack}
for f in "$audio"/*.mp3 "$audio"/*.mp2; do
  b=$(basename "$f")
  head -c 6000 "$f" >"$seeds/stream_analysis/head-$b"
  tail -c 3000 "$f" >"$seeds/stream_analysis/tail-$b"
  head -c 4096 "$f" >"$seeds/xing_header/head-$b"
done
# Documents: a few edit scripts over the first 20 kB of some files (steps of
# three bytes: what, a, b; see fuzz/document_edits_fuzz.cpp).
scripts=(
  '\003\000\100\200\002\000\000\006\000\000'          # select, delete, undo
  '\004\000\040\140\003\000\000\000\300\300\005\000\000'  # select, cut, select a point, paste
  '\003\001\000\000\004\000\000\010\000\000'          # select all, copy, paste from the file
  '\002\000\020\360\007\000\000'                    # select, write
)
for f in cbr128.mp3 vbr.mp3 vbri.mp3 junk_sync.mp3 mono.mp3 mp2_48k.mp2 ff_tail.mp3; do
  n=0
  for s in "${scripts[@]}"; do
    { printf "$s"; head -c 20000 "$audio/$f"; } >"$seeds/document_edits/$((n++))-$f"
  done
done
# Repacked outputs: three ranges (choices 4) over the first 20 kB of Layer
# III files whose frames use the reservoir, with and without CRC, MPEG-2 too.
for f in vbr.mp3 cbr128.mp3 crc.mp3 lsf_vbr.mp3 mono.mp3; do
  [ -f "$audio/$f" ] || continue
  { printf '\004\020\000\100\000\140\000\260\000\200\000\360\000'; head -c 20000 "$audio/$f"; } >"$seeds/layer3_repack/$f"
done
# Tag blocks: the choices byte, how far before the file's end its first frame
# starts (0: no byte is audio), then the start or the end of a tagged file.
for f in "$audio"/tagged/*.mp3 "$audio"/two_id3v2.mp3 "$audio"/cbr128_tags.mp3; do
  b=$(basename "$f")
  { printf '\000\000\000'; head -c 12000 "$f"; } >"$seeds/tag_blocks/head-$b"
  { printf '\001\377\377'; tail -c 3000 "$f"; } >"$seeds/tag_blocks/tail-$b"
done
# Audio followed by a run of 0xFF bytes.
head -c 8000 < <(tail -c 106000 "$audio/ff_tail.mp3") >"$seeds/stream_analysis/ff-run"
head -c 4096 "$audio/tone.wav" >"$seeds/wav_header/tone.wav"
i=0
for t in 90 1.5 "1'30" "001'30.500" 1:30.5 1:30 -1.5 "12:34:56.789" "1\"2" .5 12. "" 2147483.647; do
  printf '\000\000\000\000\352\140%s' "$t" >"$seeds/time_text/$((i++))"
done

# ---- runs ----
# ASan keeps every allocation's stack in a store that only grows; through the
# libraries' frames (TagLib's, built without frame pointers) nearly every stack
# is new, so over a long run each allocation gets slower and the memory climbs
# toward the limit. Two frames still say where a freed block was allocated;
# a finding is replayed with the full stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2}
# A run that was stopped leaves its scratch folder (fuzz/fuzz_support.cpp) in
# memory; those of programs no longer running go.
for scratch in /dev/shm/kalvor-fuzz-*; do
  [ -d "$scratch" ] && ! kill -0 "${scratch##*-}" 2>/dev/null && rm -rf "$scratch"
done
status=0
mkdir -p "$dir/artifacts"
for t in "${targets[@]}"; do
  read -r max_len brief_runs <<<"${limits[$t]}"
  corpus=$dir/corpus/$t
  limit=(-max_total_time="$secs")
  [ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
  # A single process states its count at the end; a forked run, as it goes
  # (its workers' own counts are in the log too).
  count=('stat::number_of_executed_units: *[0-9]*')
  if [ -n "${FUZZ_JOBS:-}" ]; then
    # Workers go on past a time-out or running out of memory unless told not to.
    limit+=(-fork="$FUZZ_JOBS" -ignore_timeouts=0 -ignore_ooms=0)
    count=('^#[0-9]*:' -e 'fuzzed for [0-9]*')
  fi
  if [ "$secs" = brief ]; then
    corpus=$dir/brief/$t
    rm -rf "$corpus"
    limit=(-runs="$brief_runs" -seed=1)
    count=('stat::number_of_executed_units: *[0-9]*')
  fi
  mkdir -p "$corpus" "$top/fuzz/regressions/$t"
  log=$dir/$t.log
  start=$(date +%s)
  if "$dir/fuzz/${t}_fuzz" "${limit[@]}" -max_len="$max_len" -timeout=25 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$dir/artifacts/$t-" "$corpus" "$seeds/$t" "$top/fuzz/regressions/$t" >"$log" 2>&1; then
    result=ok
  else
    result="FAILED (see $log)"
    grep -v -e '^#[0-9]' -e '^INFO' "$log" | tail -n 25 >&2
    status=1
  fi
  runs=$(grep -o -e "${count[@]}" "$log" | tail -n 1 | grep -o '[0-9]*' || echo "?")
  echo "fuzz $t: $runs executions in $(($(date +%s) - start)) s: $result"
done
exit $status

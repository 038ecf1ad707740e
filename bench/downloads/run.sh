#!/usr/bin/env bash
# 4 parallel 64 MiB downloads through the client's download engine against 4
# parallel curls of the same files from the same local service, in one run.
# Prints each side's aggregate throughput and their ratio (ours / curl).
set -euo pipefail
: "${KELVORA_BUILD:?}" "${KELVORA_SERVICE_HOST:?}"
SIZE=${DOWNLOAD_BENCH_SIZE:-$((64 * 1024 * 1024))}
ROUNDS=${DOWNLOAD_BENCH_ROUNDS:-3}
IDS="9101 9102 9103 9104"
HOST=$KELVORA_SERVICE_HOST
EXE="$KELVORA_BUILD/bench/downloads/download_bench.exe"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

for id in $IDS; do
  curl -s -o /dev/null "http://$HOST/_files/$id?size=$SIZE"
  curl -s -o /dev/null "http://$HOST/files/$id.bin"   # the service builds each file once
done

now() { date +%s.%N; }
best_curl=0; best_ours=0
for round in $(seq "$ROUNDS"); do
  rm -f "$WORK"/*.bin
  t0=$(now)
  for id in $IDS; do curl -s -o "$WORK/curl-$id.bin" "http://$HOST/file/$id" -L & done
  wait
  t1=$(now)
  curl_rate=$(python3 -c "print(round(4*$SIZE/1048576/($t1-$t0),1))")

  mkdir -p "$WORK/ours"; rm -f "$WORK/ours"/*.bin
  out=$("$KELVORA_BUILD/wine-run.sh" "$EXE" "$HOST" "Z:${WORK//\//\\}\\ours" "$SIZE" $IDS | tr -d '\r')
  ours_rate=$(echo "$out" | sed -n 's/^vantrel_aggregate_mib_s: //p')
  for id in $IDS; do
    cmp -s "$WORK/curl-$id.bin" "$WORK/ours/$id.bin" || { echo "download_mismatch: $id"; exit 1; }
  done
  echo "round_${round}_curl_aggregate_mib_s: $curl_rate"
  echo "round_${round}_vantrel_aggregate_mib_s: $ours_rate"
  best_curl=$(python3 -c "print(max($best_curl, $curl_rate))")
  best_ours=$(python3 -c "print(max($best_ours, $ours_rate))")
done
# The same four files read with plain WinINet in the engine's 8 KiB reads:
# what Wine's own HTTP stack allows at that read size, as a second peer.
mkdir -p "$WORK/raw"
raw=$(DOWNLOAD_BENCH_RAW=8192 "$KELVORA_BUILD/wine-run.sh" "$EXE" "$HOST" "Z:${WORK//\//\\}\\raw" "$SIZE" $IDS | tr -d '\r')
raw_rate=$(echo "$raw" | sed -n 's/^raw_aggregate_mib_s: //p')

echo "file_mib: $((SIZE / 1048576))"
echo "parallel_downloads: 4"
echo "curl_aggregate_mib_s: $best_curl"
echo "vantrel_aggregate_mib_s: $best_ours"
echo "wininet_8k_reads_aggregate_mib_s: $raw_rate"
echo "ratio_vantrel_to_curl: $(python3 -c "print(round($best_ours/$best_curl,3))")"
echo "ratio_vantrel_to_wininet_8k_reads: $(python3 -c "print(round($best_ours/$raw_rate,3))")"

#!/usr/bin/env bash
# Our transfer speed against curl, both fetching from the same local service
# in the same run:
#   HttpDownloadFile of a 256 MiB file against curl of that file (aim: >= 0.9)
#   HttpFetchFile of a 1 MiB file against HttpDownloadMem of it (aim: <= 1.2)
# Needs KELVORA_BUILD and KELVORA_SERVICE_HOST (bench/run.sh sets them).
# BENCH_HTTP_MIB changes the size of the big file.
set -euo pipefail
BUILD=${KELVORA_BUILD:?}
HOST=${KELVORA_SERVICE_HOST:?}
MIB=${BENCH_HTTP_MIB:-256}
BIG=$((MIB * 1024 * 1024))
RUN="$BUILD/wine-run.sh"
EXE="$BUILD/bench/http/http_bench.exe"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

curl -s -o /dev/null "http://$HOST/_files/bench-big?size=$BIG"
curl -s -o /dev/null "http://$HOST/_files/bench-small?size=1048576"
# The service builds a file's bytes on first use; keep that out of the timings.
curl -s -o /dev/null "http://$HOST/files/bench-big.bin"

curl_s=$(curl -s -o "$TMP/curl.bin" -w '%{time_total}' "http://$HOST/files/bench-big.bin")
out=$("$RUN" "$EXE" download "$HOST" /file/bench-big "Z:${TMP//\//\\}\\ours.bin" | tr -d '\r')
echo "$out"
ours_s=$(echo "$out" | sed -n 's/^download_seconds: //p')
cmp -s "$TMP/curl.bin" "$TMP/ours.bin" && echo "download_identical: 1" || echo "download_identical: 0"
python3 - "$BIG" "$curl_s" "$ours_s" <<'PY'
import sys
size, curl_s, ours_s = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3])
mib = size / 1048576
print("curl_seconds: %.3f" % curl_s)
print("curl_mib_per_s: %.1f" % (mib / curl_s))
print("download_mib_per_s: %.1f" % (mib / ours_s))
print("download_vs_curl_throughput_ratio: %.2f (aim >= 0.90)" % (curl_s / ours_s))
PY

out=$("$RUN" "$EXE" small "$HOST" /files/bench-small.bin 60 | tr -d '\r')
echo "$out"
python3 - <<PY
vals = dict(l.split(": ", 1) for l in """$out""".splitlines() if ": " in l)
f, m = float(vals["fetch_file_ms"]), float(vals["download_mem_ms"])
print("fetch_file_vs_download_mem_time_ratio: %.2f (aim <= 1.20)" % (f / m))
PY

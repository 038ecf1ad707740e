#!/usr/bin/env bash
# One catalogue page's data (category list, one ranking page, its 20 records)
# loaded by the client's code under Wine, against curl making the same
# requests over one connection to the same local service.
set -euo pipefail
: "${KELVORA_BUILD:?}" "${KELVORA_SERVICE_HOST:?}"
ROUNDS=${CATALOGUE_BENCH_ROUNDS:-20}
CATEGORY=2
BASE="http://$KELVORA_SERVICE_HOST"

out=$(VANTREL_CATALOGUE_HOST="$KELVORA_SERVICE_HOST" \
      "$KELVORA_BUILD/wine-run.sh" "$KELVORA_BUILD/bench/catalogue/catalogue_bench.exe" "$ROUNDS" "$CATEGORY" | tr -d '\r')
echo "$out"
ours=$(echo "$out" | awk -F': ' '/^catalogue_page_median_ms/ {print $2}')

# The same 22 requests, one curl process and one connection per round.
ids=$(curl -s "$BASE/rank/${CATEGORY}_1_20" | python3 -c 'import json,sys; print(" ".join(e["soft_id"] for e in json.load(sys.stdin)["soft_info"]))')
urls=("$BASE/class" "$BASE/rank/${CATEGORY}_1_20")
for id in $ids; do urls+=("$BASE/soft/$id"); done
times=()
for i in $(seq 0 "$ROUNDS"); do
  t0=$(date +%s%N)
  curl -s "${urls[@]}" >/dev/null
  t1=$(date +%s%N)
  [ "$i" -gt 0 ] && times+=($(( (t1 - t0) / 1000 )))
done
curl_ms=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int(NR/2)+1]/1000}')
echo "curl_page_median_ms: $curl_ms"
python3 -c "print('catalogue_page_vs_curl_ratio: %.2f' % ($ours / $curl_ms))"

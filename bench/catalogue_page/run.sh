#!/usr/bin/env bash
# A catalogue page's first showing with empty caches, painted, in the real
# main window (a fresh program folder per round), against curl making the
# same requests (category list, ranking page, 20 records, 20 row icons and
# the sub-category icons) over one connection to the same local service.
set -euo pipefail
: "${KELVORA_BUILD:?}" "${KELVORA_SERVICE_HOST:?}"
ROUNDS=${CATALOGUE_PAGE_BENCH_ROUNDS:-7}
CATEGORY=2
BASE="http://$KELVORA_SERVICE_HOST"
export VANTREL_CATALOGUE_HOST="$KELVORA_SERVICE_HOST" VANTREL_LOGIN_HOST="$KELVORA_SERVICE_HOST" \
       VANTREL_USER_HOST="$KELVORA_SERVICE_HOST" VANTREL_REPORT_HOST="$KELVORA_SERVICE_HOST"

median() { sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]}'; }

ours=()
rows=()
STAGES=$(mktemp -d)
trap 'rm -rf "$STAGES"' EXIT
for i in $(seq 1 "$ROUNDS"); do
  folder=$(mktemp -d)
  cp -r "$KELVORA_BUILD/dist/." "$folder/"
  curl -s -o /dev/null "$BASE/_ctl/reset"
  out=$("$KELVORA_BUILD/wine-run.sh" "$KELVORA_BUILD/bench/catalogue_page/catalogue_page_bench.exe" \
        "$("$KELVORA_BUILD/wine-run.sh" winepath -w "$folder" 2>/dev/null | tr -d '\r')" | tr -d '\r')
  rm -rf "$folder"
  ms=$(echo "$out" | awk -F': ' '/^catalogue_page_first_load_ms/ {print $2}')
  [ -n "$ms" ] || { echo "catalogue_page_bench failed: $out" >&2; exit 1; }
  mkdir -p "$STAGES/$i"
  echo "$out" > "$STAGES/$i/out.txt"
  curl -s -o "$STAGES/$i/log.json" "$BASE/_ctl/log"
  ours+=("$ms")
  rows+=("$(echo "$out" | awk -F': ' '/^catalogue_page_rows_shown_ms/ {print $2}')")
done
ours_ms=$(printf '%s\n' "${ours[@]}" | median)
echo "catalogue_page_rows_shown_median_ms: $(printf '%s\n' "${rows[@]}" | median)"
echo "catalogue_page_first_load_median_ms: $ours_ms"
python3 "$(dirname "$0")/stages.py" "$STAGES"/*

ids=$(curl -s "$BASE/rank/${CATEGORY}_1_20" | python3 -c 'import json,sys; print(" ".join(e["soft_id"] for e in json.load(sys.stdin)["soft_info"]))')
subs=$(curl -s "$BASE/class" | python3 -c "import json,sys; print(' '.join(c['class_id'] for c in json.load(sys.stdin) if c['pclass_id'] == '$CATEGORY'))")
urls=("$BASE/class" "$BASE/rank/${CATEGORY}_1_20")
for id in $ids; do urls+=("$BASE/soft/$id"); done
for id in $ids; do urls+=("$BASE/icon/$id"); done
for id in $subs; do urls+=("$BASE/class_icon/$id"); done
times=()
for i in $(seq 0 "$ROUNDS"); do
  t0=$(date +%s%N)
  curl -s "${urls[@]}" >/dev/null
  t1=$(date +%s%N)
  [ "$i" -gt 0 ] && times+=($(( (t1 - t0) / 1000 )))
done
curl_ms=$(printf '%s\n' "${times[@]}" | median | awk '{printf "%.2f", $1 / 1000}')
echo "curl_same_requests_median_ms: $curl_ms (${#urls[@]} requests)"
python3 -c "print('catalogue_page_vs_curl_ratio: %.2f' % ($ours_ms / $curl_ms))"

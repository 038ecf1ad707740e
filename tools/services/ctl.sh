#!/usr/bin/env bash
# Starts or stops the local services in a state folder.
#   ctl.sh start <state-dir>   (writes <state-dir>/port and server.pid)
#   ctl.sh stop <state-dir>
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
cmd=$1; dir=$2
mkdir -p "$dir"
case "$cmd" in
start)
  if [ -f "$dir/server.pid" ] && kill -0 "$(cat "$dir/server.pid")" 2>/dev/null; then
    exit 0
  fi
  rm -f "$dir/port"
  nohup python3 "$HERE/server.py" --port-file "$dir/port" --log-file "$dir/requests.log" \
    >"$dir/server.out" 2>&1 &
  echo $! > "$dir/server.pid"
  for _ in $(seq 100); do [ -f "$dir/port" ] && break; sleep 0.05; done
  [ -f "$dir/port" ] || { echo "services did not start"; cat "$dir/server.out"; exit 1; }
  echo "services: 127.0.0.1:$(cat "$dir/port")"
  ;;
stop)
  if [ -f "$dir/server.pid" ]; then
    kill "$(cat "$dir/server.pid")" 2>/dev/null || true
    rm -f "$dir/server.pid"
  fi
  ;;
esac

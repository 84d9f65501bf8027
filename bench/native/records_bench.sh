#!/usr/bin/env bash
# Stores to eight virtual modules at once with production records (SQLite, and a local
# PostgreSQL server) beside the same store without records, measured in the same run.
#   records_bench.sh BREVANT_CLI VMODULE
set -euo pipefail
cli=$1 vmodule=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/brevant-records-bench.XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  "$here/../../tests/cli/pg_cluster.sh" stop "$work/pg"
  rm -rf "$work"
}
trap cleanup EXIT
ports=()
for i in 1 2 3 4 5 6 7 8; do
  "$vmodule" --link "$work/m$i" --state "$work/m$i.state" --quiet 2>/dev/null &
  pids+=($!)
  ports+=(--port "$work/m$i")
done
for _ in $(seq 50); do [ -e "$work/m8" ] && break; sleep 0.1; done
"$cli" new --geometry 2x20 --line '1=Brevant' -o "$work/s.kss"
uri=$("$here/../../tests/cli/pg_cluster.sh" start "$work/pg")

# The median of 5 runs, in milliseconds.
median_ms() {
  local times=()
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$cli" store "$work/s.kss" "${ports[@]}" --line '2=SN {serial}' "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
without=$(median_ms --serial-from 1)
sqlite=$(median_ms --records "$work/line.db")
postgres=$(median_ms --records "$uri")
printf '%-16s %-7s %10s ms %10s ms %8s  %s\n' "records sqlite" native "$sqlite" "$without" \
  "$(awk -v a="$sqlite" -v b="$without" 'BEGIN { printf "%.3f", a / b }')" "8 modules at once; baseline without records; aim <= 1.05"
printf '%-16s %-7s %10s ms %10s ms %8s  %s\n' "records postgres" native "$postgres" "$without" \
  "$(awk -v a="$postgres" -v b="$without" 'BEGIN { printf "%.3f", a / b }')" "8 modules at once; baseline without records; aim <= 1.05"

#!/usr/bin/env bash
# run_with_virtual_printer.sh TOOL PROGRAM [ARGS...]
#
# Starts the virtual printer TOOL on 127.0.0.1 (free ports, answering discovery too), runs PROGRAM with
# "--data-port D --status-port S --discovery-port Q" appended, stops the printer and checks that it
# received a print job; $PRELIX10_VIRTUAL_PRINTER_OPTIONS adds options of the tool. Exit status: the program's, or 1 when the printer saw no job; 77 when no network
# namespace can be made.
#
# Both run in a network namespace of their own with only loopback up (unshare), so that a program that
# opens a LAN printer by address, and so broadcasts on every local network, reaches nothing else.
set -euo pipefail
if [ -z "${PRELIX10_IN_NETNS:-}" ]; then
  unshare -rn true 2>/dev/null || { echo "cannot make a network namespace (unshare -rn)" >&2; exit 77; }
  export PRELIX10_IN_NETNS=1
  exec unshare -rn bash -c 'ip link set lo up && exec bash "$0" "$@"' "$0" "$@"
fi
tool=$1
shift
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The discovery reply carries the data port in a field that only holds values below 32768, so the data
# port is picked there (ephemeral ports lie above); a port already taken makes the tool exit, and another
# is tried.
for _ in $(seq 20); do
  # shellcheck disable=SC2086 # the extra options are words on purpose
  "$tool" ${PRELIX10_VIRTUAL_PRINTER_OPTIONS:-} --data-port $((20000 + RANDOM % 12000)) --discovery-port 0 --seconds 110 >"$work/out" 2>"$work/err" &
  pid=$!
  for _ in $(seq 100); do
    [ -s "$work/out" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$work/out" ] && break
  wait "$pid" 2>/dev/null || true
  pid=
done
[ -n "$pid" ] || { cat "$work/err" >&2; exit 1; }
read -r _ data _ status _ discovery <"$work/out" || { echo "the virtual printer did not start" >&2; exit 1; }
echo "virtual printer: data $data, status $status, discovery $discovery"

rc=0
"$@" --data-port "$data" --status-port "$status" --discovery-port "$discovery" || rc=$?

kill -TERM "$pid"
wait "$pid" || true
pid=
summary=$(tail -n 1 "$work/out")
echo "virtual printer: $summary"
[ "$rc" -eq 0 ] || exit "$rc"
jobs=$(sed -n 's/.* \([0-9][0-9]*\) jobs counted/\1/p' <<<"$summary")
[ "${jobs:-0}" -ge 1 ] || { echo "the printer received no job" >&2; exit 1; }

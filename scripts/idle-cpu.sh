#!/usr/bin/env bash
# Measures the processor time the application takes while idle under a private X server:
#   scripts/idle-cpu.sh [--device] [SECONDS]
# With --device a simulated phone (../shared/fakedevice, or $FAKEDEVICE) is connected first.
# Everything runs with a private HOME, adb server port and display; nothing outside loopback.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
device=0
if [ "${1:-}" = "--device" ]; then device=1; shift; fi
seconds="${1:-30}"
app="${KESTREL_BIN:-$here/build/kestrel}"
fakedevice="${FAKEDEVICE:-$here/../../shared/fakedevice/fakedevice.py}"
[ -f "$fakedevice" ] || fakedevice=/work/shared/fakedevice/fakedevice.py

for tool in Xvfb xdpyinfo xwininfo adb; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (Debian: apt-get install xvfb x11-utils adb)" >&2; exit 1; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -n "${ANDROID_ADB_SERVER_PORT:-}" ] && adb kill-server >/dev/null 2>&1 || true
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home"
mkdir -p "$HOME"
export ANDROID_ADB_SERVER_PORT=$((20000 + RANDOM % 5000))
export ADB_LOCAL_TRANSPORT_MAX_PORT=5553

display=90
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"
until xdpyinfo >/dev/null 2>&1; do sleep 0.1; done

if [ "$device" = 1 ]; then
  port=$((26000 + RANDOM % 2000))
  python3 "$fakedevice" --make-state "$work/phone" >/dev/null
  python3 "$fakedevice" --port "$port" --state "$work/phone" --max-seconds $((seconds + 120)) \
    --ready-file "$work/ready" 2>/dev/null &
  pids+=($!)
  until [ -s "$work/ready" ]; do sleep 0.1; done
  adb start-server >/dev/null 2>&1
  adb connect "127.0.0.1:$port" >/dev/null
  until adb devices | grep -q "127.0.0.1:$port[[:space:]]*device"; do sleep 0.2; done
fi

QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!
pids=("$app_pid" "${pids[@]}")
until xwininfo -root -tree 2>/dev/null | grep -q '"Larkspur"'; do
  kill -0 "$app_pid" 2>/dev/null || { echo "the application ended:" >&2; cat "$work/app.log" >&2; exit 1; }
  sleep 0.1
done
# Start-up work (the first refresh, the device probe) settles before the idle span.
sleep "${SETTLE_SECONDS:-8}"

if command -v perf >/dev/null 2>&1 && perf stat -e task-clock -p "$app_pid" -- true >/dev/null 2>&1; then
  # Exact processor time of every thread of the process.
  ms="$(perf stat --no-inherit -x, -e task-clock -p "$app_pid" -- sleep "$seconds" 2>&1 >/dev/null | awk -F, '/task-clock/ { print $1 }')"
else
  # Scheduler ticks: coarser, but always there.
  ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
  before="$(ticks)"
  sleep "$seconds"
  ms="$(awk -v d=$(( $(ticks) - before )) -v hz="$(getconf CLK_TCK)" 'BEGIN { print 1000 * d / hz }')"
fi
awk -v ms="$ms" -v s="$seconds" -v dev="$device" 'BEGIN {
  printf "%s: %.2f %% of a core over %d s (%.0f ms)\n", dev ? "device connected" : "no device", ms / 10 / s, s, ms }'

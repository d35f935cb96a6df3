#!/usr/bin/env bash
# Start-up time (process start to main window mapped) and idle memory of the
# program with a filled data folder, on a private Xvfb, in two situations:
#   device:    the virtual mouse with its cable plugged (the device is present)
#   no device: the virtual mouse with no link plugged
# The program runs from a copy of the demo folder in a temporary folder whose
# Data/ holds PROFILES profiles made by ms1ctl. The simulator is started
# before the runs, so its own start is not counted.
# Targets: median start-up under 300 ms, idle RSS under 60 MB.
#
# Usage: bench/startup.sh [build dir] [runs] [profiles]
set -euo pipefail
build=${1:-build/default}
runs=${2:-11}
profiles=${3:-20}
demo="$build/demo"
ctl="$build/cli/ms1ctl"
for needed in "$demo/ms1-config" "$ctl"; do
  [ -x "$needed" ] || { echo "no $needed (build first)" >&2; exit 1; }
done

work=$(mktemp -d)
cleanup() {
  "$ctl" sim stop >/dev/null 2>&1 || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

folder="$work/ms1"
cp -r "$demo" "$folder"
rm -rf "$folder/Data"
for i in $(seq "$profiles"); do
  "$ctl" profiles add "Profile $i" --data "$folder/Data" >/dev/null
done

mkfifo "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$work/display"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$work"
export MS1_VMOUSE_DIR="$work/vmouse" MS1_VMOUSE_IDLE_MS=0
mkdir -p "$MS1_VMOUSE_DIR"
title='^MS_1 Gaming Mouse$'

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# One situation: `runs` starts, each measured to the window mapped, then 1 s
# idle for the memory reading.
measure() {
  local label=$1 plugged=$2
  "$ctl" sim stop >/dev/null 2>&1 || true
  MS1_VMOUSE_PLUGGED=$plugged "$ctl" sim state >/dev/null  # starts the simulator
  local times=() rss=()
  for _ in $(seq "$runs"); do
    local start end pid
    start=$(date +%s%N)
    "$folder/ms1-config" >/dev/null 2>&1 &
    pid=$!
    # Poll finely: xdotool's own --sync waits in steps of half a second.
    until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do sleep 0.005; done
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
    sleep 1  # idle
    rss+=($(awk '/VmRSS/ {print $2}' "/proc/$pid/status"))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  done
  echo "$label: start-up to window shown: median $(median "${times[@]}") ms over $runs runs (all: ${times[*]})"
  echo "$label: idle RSS: median $(( $(median "${rss[@]}") / 1024 )) MB (target: 300 ms, 60 MB)"
}

echo "data folder: $profiles profiles"
measure "device" wired
measure "no device" ""

#!/usr/bin/env bash
# The steady cost of the charging display: the program from the demo folder on
# the virtual mouse with its cable plugged (so the power ring sweeps), on a
# private Xvfb with a window manager (so that minimising is real), left alone
# for SECONDS twice, once with the window shown and once minimised. Measured:
#   CPU time of the program and of the X server (utime + stime, /proc/PID/stat)
#   the program's wake-ups (voluntary + involuntary context switches of its
#   main thread, /proc/PID/status)
# Targets, per minute: shown, at most 0.3 s of CPU for the program and the X
# server together; minimised, no wake-ups at all.
#
# Usage: bench/charge_idle.sh [build dir] [seconds]
set -euo pipefail
build=${1:-build/default}
seconds=${2:-60}
demo="$build/demo"
ctl="$build/cli/ms1ctl"
sim="$build/cli/ms1sim"  # the virtual mouse's client, a build-tree tool
for needed in "$demo/ms1-config" "$demo/ms1-virtual-mouse" "$ctl"; do
  [ -x "$needed" ] || { echo "no $needed (build first)" >&2; exit 1; }
done
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
cleanup() {
  [ -n "${program:-}" ] && kill "$program" 2>/dev/null
  "$sim" stop >/dev/null 2>&1 || true
  [ -n "${window_manager:-}" ] && kill "$window_manager" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

folder="$work/ms1"
cp -r "$demo" "$folder"
rm -rf "$folder/Data"

# Xvfb picks a free display and writes its number, then the newline: `read`
# from the FIFO takes both before the pipe closes.
mkfifo "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$work/display"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$work"
XDG_CONFIG_HOME="$work" XDG_CACHE_HOME="$work" openbox >/dev/null 2>&1 &
window_manager=$!

# Polls (0.1 s steps) until the command succeeds; fails after 20 s.
await() {
  for _ in $(seq 200); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "timed out waiting for: $*" >&2
  return 1
}
await sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

export MS1_VMOUSE_DIR="$work/vmouse" MS1_VMOUSE_SIM="$demo/ms1-virtual-mouse" MS1_VMOUSE_IDLE_MS=0
mkdir -p "$MS1_VMOUSE_DIR"
MS1_VMOUSE_PLUGGED=wired "$sim" state >/dev/null  # starts the simulator, cable plugged

"$folder/ms1-config" >/dev/null 2>&1 &
program=$!
title='^MS_1 Gaming Mouse$'
await xdotool search --onlyvisible --name "$title"
window=$(xdotool search --onlyvisible --name "$title" | head -n 1)

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }  # utime + stime
wakeups() {
  awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n}' "/proc/$1/status"
}

# One phase: settle, then `seconds` of measuring; prints its line and leaves
# the per-minute figures in the globals below.
measure() {
  local label=$1
  sleep 2  # settle: the window's own reaction to the change is not counted
  local program_before xvfb_before wakeups_before
  program_before=$(cpu_ticks "$program")
  xvfb_before=$(cpu_ticks "$xvfb")
  wakeups_before=$(wakeups "$program")
  sleep "$seconds"
  program_cpu=$(awk -v t="$(( $(cpu_ticks "$program") - program_before ))" -v hz="$ticks_per_second" \
    -v s="$seconds" 'BEGIN {printf "%.3f", t / hz * 60 / s}')
  xvfb_cpu=$(awk -v t="$(( $(cpu_ticks "$xvfb") - xvfb_before ))" -v hz="$ticks_per_second" \
    -v s="$seconds" 'BEGIN {printf "%.3f", t / hz * 60 / s}')
  program_wakeups=$(awk -v n="$(( $(wakeups "$program") - wakeups_before ))" -v s="$seconds" \
    'BEGIN {printf "%d", n * 60 / s}')
  together=$(awk -v a="$program_cpu" -v b="$xvfb_cpu" 'BEGIN {printf "%.3f", a + b}')
  echo "$label: per minute: program $program_cpu s CPU, Xvfb $xvfb_cpu s CPU," \
    "together $together s; program wake-ups $program_wakeups"
}

verdict() {  # label, ok
  if [ "$2" = 1 ]; then echo "  $1: met"; else echo "  $1: MISSED"; failed=1; fi
}
failed=0

echo "charging display, cable plugged, measured over $seconds s each"
measure "shown    "
verdict "shown: at most 0.3 s CPU per minute, program and X server together" \
  "$(awk -v t="$together" 'BEGIN {print (t <= 0.3) ? 1 : 0}')"

xdotool windowminimize "$window"
await sh -c "! xdotool search --onlyvisible --name '$title'"
measure "minimised"
verdict "minimised: no wake-ups" "$([ "$program_wakeups" -eq 0 ] && echo 1 || echo 0)"
exit "$failed"

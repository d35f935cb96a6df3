#!/usr/bin/env bash
# Start-up time (process start to main window mapped) and idle memory of the
# program, on a private Xvfb. Usage: bench/startup.sh [build dir] [runs]
set -euo pipefail
build=${1:-build/default}
runs=${2:-11}
program="$build/app/ms1-config"
[ -x "$program" ] || { echo "no program at $program (build first)" >&2; exit 1; }

work=$(mktemp -d)
mkfifo "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$work/display"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$work"
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
title='^MS_1 Gaming Mouse$'

times=()
rss=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$program" >/dev/null 2>&1 &
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

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "start-up to window shown: median $(median "${times[@]}") ms over $runs runs (all: ${times[*]})"
echo "idle RSS: median $(( $(median "${rss[@]}") / 1024 )) MB"

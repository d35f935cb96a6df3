#!/usr/bin/env bash
# Start-up time (process start to main window mapped) and idle memory of the
# program with a filled data folder, on a private Xvfb, in two situations:
#   device:    the virtual mouse with its cable plugged (the device is present)
#   no device: the virtual mouse with no link plugged
# The program runs from a copy of the demo folder in a temporary folder whose
# Data/ holds PROFILES profiles made by ms1ctl. The simulator is started
# before the runs, so its own start is not counted.
#
# The reference is a bare Qt Widgets window (a label and a button, the bench
# target ms1_bare_window), started alternately with the program in the same
# loop, so that both see the same machine load. Targets: the program's median
# start-up at most twice the bare window's, its idle RSS at most 40 MB.
#
# The program speaks English, or the language MS1_LANGUAGE names (e.g. de,
# zh_CN), whatever the desktop's locale.
#
# Usage: [MS1_LANGUAGE=de] bench/startup.sh [build dir] [runs] [profiles]
set -euo pipefail
build=${1:-build/default}
runs=${2:-11}
profiles=${3:-20}
demo="$build/demo"
ctl="$build/cli/ms1ctl"
sim="$build/cli/ms1sim"  # the virtual mouse's client, a build-tree tool
bare="$build/bench/ms1_bare_window"
timer="$build/bench/ms1_window_start"
for needed in "$demo/ms1-config" "$ctl" "$bare" "$timer"; do
  [ -x "$needed" ] || { echo "no $needed (build first)" >&2; exit 1; }
done
export MS1_LANGUAGE=${MS1_LANGUAGE:-en}
texts="$demo/res/lan_$MS1_LANGUAGE.xml"
[ "$MS1_LANGUAGE" = en ] && texts="$demo/res/lan.xml"
title=$(sed -n 's:.*key="mouse_name_text">\(.*\)</Text>.*:\1:p' "$texts")
[ -n "$title" ] || { echo "no window title in $texts" >&2; exit 1; }
idle_seconds=2
max_ratio=2
max_rss_mb=40

work=$(mktemp -d)
cleanup() {
  "$sim" stop >/dev/null 2>&1 || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

folder="$work/ms1"
cp -r "$demo" "$folder"
rm -rf "$folder/Data"
for i in $(seq "$profiles"); do
  "$ctl" profiles add "Bench $i" --data "$folder/Data" >/dev/null
done

mkfifo "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$work/display"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: XDG_RUNTIME_DIR="$work"
export MS1_VMOUSE_DIR="$work/vmouse" MS1_VMOUSE_IDLE_MS=0
mkdir -p "$MS1_VMOUSE_DIR"

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
load() { cut -d' ' -f1-3 /proc/loadavg; }

# Starts a program and leaves its start-up to the window titled `title` (ms),
# and its RSS and PSS after the idle time (kB), in started_ms, rss_kb, pss_kb.
# The timer waits on the X server's map notifications: a poller would take
# processor time from the program it times.
start_one() {
  local title=$1; shift
  read -r started_ms rss_kb pss_kb < <(timeout 30 "$timer" "$idle_seconds" "$title" "$@" 2>/dev/null) ||
    { echo "no window \"$title\" from $1" >&2; exit 1; }
}

failed=0
# One situation: `runs` rounds of the bare window then the program.
measure() {
  local label=$1 plugged=$2
  "$sim" stop >/dev/null 2>&1 || true
  MS1_VMOUSE_PLUGGED=$plugged "$sim" state >/dev/null  # starts the simulator
  local bare_ms=() own_ms=() bare_rss=() own_rss=() bare_pss=() own_pss=()
  local load_before
  load_before=$(load)
  for _ in $(seq "$runs"); do
    start_one 'bare Qt window' "$bare"
    bare_ms+=("$started_ms"); bare_rss+=("$rss_kb"); bare_pss+=("$pss_kb")
    start_one "$title" "$folder/ms1-config"
    own_ms+=("$started_ms"); own_rss+=("$rss_kb"); own_pss+=("$pss_kb")
  done
  local bare_median own_median own_rss_mb
  bare_median=$(median "${bare_ms[@]}")
  own_median=$(median "${own_ms[@]}")
  own_rss_mb=$(awk -v kb="$(median "${own_rss[@]}")" 'BEGIN {printf "%.1f", kb / 1024}')
  local ratio
  ratio=$(awk -v a="$own_median" -v b="$bare_median" 'BEGIN {printf "%.2f", a / (b > 0 ? b : 1)}')
  echo "$label: load average before $load_before, after $(load)"
  echo "$label: bare window start-up: median $bare_median ms (all: ${bare_ms[*]})"
  echo "$label: program start-up:     median $own_median ms (all: ${own_ms[*]})"
  awk -v r="$(median "${bare_rss[@]}")" -v p="$(median "${bare_pss[@]}")" \
    'BEGIN {printf "'"$label"': bare window idle: RSS %.1f MB, PSS %.1f MB\n", r / 1024, p / 1024}'
  awk -v r="$(median "${own_rss[@]}")" -v p="$(median "${own_pss[@]}")" \
    'BEGIN {printf "'"$label"': program idle:     RSS %.1f MB, PSS %.1f MB\n", r / 1024, p / 1024}'
  local verdict=met
  if awk -v r="$ratio" -v m="$own_rss_mb" -v mr="$max_ratio" -v mm="$max_rss_mb" \
      'BEGIN {exit !(r > mr || m > mm)}'; then
    verdict="NOT met"
    failed=1
  fi
  echo "$label: ratio $ratio (target <= $max_ratio), RSS $own_rss_mb MB (target <= $max_rss_mb MB): $verdict"
}

echo "language: $MS1_LANGUAGE; data folder: $profiles profiles; $runs rounds; memory read after ${idle_seconds} s idle"
measure "device" wired
measure "no device" ""
exit "$failed"

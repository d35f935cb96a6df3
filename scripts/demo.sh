#!/usr/bin/env bash
# Runs the desktop program from the demo folder (build/<preset>/demo/), whose
# driver files are the built-in virtual mouse's, with the mouse's cable
# plugged. It stays in the foreground until the window is closed (its exit
# button or the tray menu's "exit"); then the simulator is stopped.
#
# Without a desktop (no DISPLAY or WAYLAND_DISPLAY) there is no window to
# show: the script says so and runs the command-line demo instead (a default
# profile sent to the virtual mouse by ms1ctl), so `make demo` still shows
# something on a headless machine.
#
# Usage: scripts/demo.sh [build dir]
set -euo pipefail
build=${1:-build/default}
demo="$build/demo"
ctl="$build/cli/ms1ctl"
sim="$build/cli/ms1sim"  # the virtual mouse's client, a build-tree tool
for needed in "$demo/ms1-config" "$demo/ms1-virtual-mouse" "$ctl" "$sim"; do
  [ -x "$needed" ] || { echo "demo: $needed is missing; build first (make build)" >&2; exit 1; }
done

work=$(mktemp -d)
# A simulator of our own, apart from any other instance (tests, an earlier demo).
export MS1_VMOUSE_DIR="$work/vmouse" MS1_VMOUSE_PLUGGED=wired
mkdir -p "$MS1_VMOUSE_DIR"
trap '"$sim" stop >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

command_line_demo() {
  "$ctl" new-profile "Demo" -o "$work/demo.pro" >/dev/null
  echo "Full apply of a default profile to the virtual mouse (link, result, report):"
  "$ctl" apply "$work/demo.pro" --drivers "$demo"
  echo
  echo "The virtual mouse now holds:"
  "$sim" state
}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo: no desktop session here (neither DISPLAY nor WAYLAND_DISPLAY is set)," >&2
  echo "      so the window cannot be shown; running the command-line demo instead." >&2
  echo "      Run 'make demo' from a terminal of a desktop session to see the window." >&2
  echo >&2
  command_line_demo
  exit 0
fi

echo "Starting $demo/ms1-config on the virtual mouse (cable plugged)."
echo "Close it with its exit button or the tray menu's \"exit\"."
echo "Meanwhile, from another terminal: MS1_VMOUSE_DIR=$MS1_VMOUSE_DIR $sim state"
status=0
"$demo/ms1-config" || status=$?
if [ "$status" -eq 1 ]; then
  echo "demo: another copy of ms1-config runs in this session; it was brought forward." >&2
  echo "      End it first to run the demo." >&2
fi
exit "$status"

#!/usr/bin/env bash
# The demo over Bluetooth LE only: the virtual mouse with nothing but its
# Bluetooth LE link plugged, behind a fake BlueZ on a private system bus, and
# the desktop program (or, without a desktop, ms1ctl with --link ble) pointed
# at that bus. No adapter and no real BlueZ are needed or touched.
#
# Usage: scripts/demo-ble.sh [build dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/default}
demo="$build/demo"
ctl="$build/cli/ms1ctl"
sim="$build/cli/ms1sim"  # the virtual mouse's client, a build-tree tool
for needed in "$demo/ms1-config" "$demo/ms1-virtual-mouse" "$ctl" "$sim" /usr/bin/dbus-daemon; do
  [ -x "$needed" ] || { echo "demo-ble: $needed is missing; build first (make build)" >&2; exit 1; }
done

work=$(mktemp -d)
export MS1_VMOUSE_DIR="$work/vmouse" MS1_VMOUSE_PLUGGED=ble
mkdir -p "$MS1_VMOUSE_DIR"
bus_pid="" fake_pid=""
cleanup() {
  [ -n "$fake_pid" ] && kill "$fake_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  "$sim" stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" state >/dev/null  # starts the virtual mouse, Bluetooth LE plugged

# The bus hands its address over on a pipe: no socket name is fixed anywhere.
exec {bus_out}< <(exec dbus-daemon --config-file="$here/../libs/virtualmouse/fake-system-bus.conf" \
                    --nofork --print-address=1 2>/dev/null)
bus_pid=$!
read -r address <&"$bus_out"
export DBUS_SYSTEM_BUS_ADDRESS="$address"
exec {fake_out}< <(exec /usr/bin/python3 "$here/../libs/virtualmouse/fake_bluez.py" --ready-fd=1)
fake_pid=$!
read -r ready <&"$fake_out" || true
[ "$ready" = ready ] || { echo "demo-ble: the fake BlueZ did not start" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "demo-ble: no desktop session here; running the command-line demo instead." >&2
  "$ctl" new-profile "Demo" -o "$work/demo.pro" >/dev/null
  echo "Full apply of a default profile over Bluetooth LE (link, result, report):"
  "$ctl" apply "$work/demo.pro" --drivers "$demo" --link ble
  echo
  echo "The virtual mouse now holds:"
  "$sim" state
  exit 0
fi

echo "Starting $demo/ms1-config on the virtual mouse over Bluetooth LE only."
echo "Meanwhile, from another terminal: MS1_VMOUSE_DIR=$MS1_VMOUSE_DIR $sim state"
echo "(sim press dpi 3, sim battery 6, sim unplug ble, ... steer the mouse)"
status=0
"$demo/ms1-config" || status=$?
exit "$status"

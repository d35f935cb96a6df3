#!/usr/bin/env bash
# Creates a default profile, shows it, and sends a full apply of it to the
# built-in virtual mouse through the same driver libraries and transport the
# program uses (with the mouse's real pauses), then shows what the mouse holds.
set -euo pipefail
build=${1:-build/default}
work=$(mktemp -d)
export MS1_VMOUSE_DIR="$work/vmouse" MS1_VMOUSE_HEARTBEAT_MS=0
mkdir -p "$MS1_VMOUSE_DIR"
ctl="$build/cli/ms1ctl"
trap '"$ctl" sim stop >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

"$ctl" new-profile "Demo" -o "$work/demo.pro"
"$ctl" show "$work/demo.pro"
echo
echo "Full apply to the virtual mouse (link, result, report):"
"$ctl" apply "$work/demo.pro" --drivers "$build/virtual"
echo
echo "The virtual mouse now holds:"
"$ctl" sim state

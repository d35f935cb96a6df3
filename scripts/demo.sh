#!/usr/bin/env bash
# Shows what one forced apply of a default profile sends to the mouse.
set -euo pipefail
build=${1:-build/default}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/cli/ms1ctl" new-profile "Demo" -o "$work/demo.pro"
"$build/cli/ms1ctl" show "$work/demo.pro"
echo
echo "Reports of a full apply:"
"$build/cli/ms1ctl" reports "$work/demo.pro"

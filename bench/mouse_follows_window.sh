#!/usr/bin/env bash
# Runs the randomised check that the mouse and the store follow the window
# (tests/device/mouse_follows_window_test.cpp) for as many sequences as asked,
# in the default build, and prints how long it took. A failure names the seed
# that reproduces it: MS1_PROPERTY_SEED=<seed> MS1_PROPERTY_SEQUENCES=1.
#
# Usage: bench/mouse_follows_window.sh [sequences] [first seed]   (default 10000, 1)
set -euo pipefail
sequences=${1:-10000}
seed=${2:-1}
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default -j2 --target ms1_device_tests >/dev/null

start=$(date +%s)
MS1_PROPERTY_SEQUENCES=$sequences MS1_PROPERTY_SEED=$seed \
  build/default/tests/device/ms1_device_tests \
  --gtest_filter='MouseFollowsWindowTest.*' 2>&1 | grep -v '^Wireless Send\|^apply: '
echo "$sequences sequences from seed $seed in $(( $(date +%s) - start )) s"

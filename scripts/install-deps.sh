#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: does nothing when all packages are already present.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ make pkg-config clang-format ccache
  # the fuzz targets (libFuzzer)
  clang
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # command-line tool
  libcli11-dev nlohmann-json3-dev
  # mouse access and hot-plug; BlueZ over D-Bus (sd-bus) for Bluetooth LE
  libhidapi-dev libudev-dev libsystemd-dev
  # window
  qt6-base-dev qt6-tools-dev libqt6opengl6-dev qt6-svg-dev qt6-qpa-plugins libqt6test6 libqt6svg6
  # keyboard layouts and global input capture
  libxkbcommon-dev libxkbcommon-x11-dev xkb-data libxcb-record0-dev libxcb-xkb-dev
  # injected keys for the input hook benchmark
  libxcb-xtest0-dev
  # the window in Chinese (a font with CJK glyphs) and Qt's own dialog texts translated
  fonts-wqy-microhei qt6-translations-l10n
  # real-window, tray and D-Bus tests (openbox: a window manager, so that minimising is real)
  xvfb xauth xdotool trayer openbox x11-utils imagemagick x11-xkb-utils dbus-daemon python3-dbus
  # the program on Wayland: Qt's Wayland platform, and weston's headless backend for its tests
  qt6-wayland weston
  # install and package checks; busctl for `ms1ctl doctor` (BlueZ)
  appstream desktop-file-utils dpkg-dev fakeroot lintian systemd
  # the fake BlueZ of the Bluetooth LE tests and demo (GLib main loop)
  python3-gi
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

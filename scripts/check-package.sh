#!/usr/bin/env bash
# Builds the Debian package from the install rules (CPack) and checks it: the
# files land where the layout says, the shared library dependencies were
# computed, the maintainer scripts are there, the unpacked programs run; then
# prints what lintian still says (not fatal: see the README).
#   scripts/check-package.sh [build dir]
set -euo pipefail
build=${1:-build/default}
cd "$(dirname "$0")/.."

rm -f "$build"/ms1-config_*.deb
nice -n 10 cmake --build "$build" --target package >"$build/package.log" 2>&1 ||
  { cat "$build/package.log"; exit 1; }
deb=$(ls "$build"/ms1-config_*.deb)
echo "package: $deb"

fail() { echo "check-package: $*" >&2; exit 1; }
listing=$(dpkg-deb -c "$deb")
id=io.ms1config.Ms1Config
for path in usr/bin/ms1-config usr/bin/ms1ctl usr/lib/ms1-config/ms1-config \
  usr/lib/ms1-config/ms1ctl usr/lib/ms1-config/hiddriver_1.so usr/lib/ms1-config/hiddriver_2.so \
  usr/lib/ms1-config/Hook.so usr/lib/ms1-config/res/lan.xml usr/lib/ms1-config/res/lan_de.xml \
  usr/lib/ms1-config/res/lan_zh_CN.xml usr/lib/ms1-config/ms1-config.installed \
  usr/lib/udev/rules.d/70-ms1-config.rules usr/lib/udev/ms1-hid-vendor usr/share/applications/$id.desktop \
  usr/share/metainfo/$id.metainfo.xml usr/share/dbus-1/interfaces/io.ms1config.Ms1Config1.xml \
  usr/share/icons/hicolor/scalable/apps/$id.svg \
  usr/share/icons/hicolor/48x48/apps/$id.png usr/share/man/man1/ms1ctl.1.gz \
  usr/share/man/man1/ms1-config.1.gz usr/share/doc/ms1-config/changelog.gz \
  usr/share/bash-completion/completions/ms1ctl usr/share/doc/ms1-config/copyright; do
  grep -q " \./$path\( \|$\)" <<<"$listing" || fail "$path is not in the package"
done

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6svg6 libhidapi-hidraw0 libudev1 libxcb-record0; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for package in fonts-noto-cjk qt6-translations-l10n; do
  grep -q "$package" <<<"$recommends" || fail "Recommends lacks $package: $recommends"
done
for script in postinst postrm; do
  dpkg-deb -I "$deb" "$script" | grep -q "udevadm control --reload-rules" || fail "no $script"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
[ "$(readlink -f "$root/usr/bin/ms1ctl")" = "$root/usr/lib/ms1-config/ms1ctl" ] ||
  fail "usr/bin/ms1ctl does not lead into the program folder"
"$root/usr/bin/ms1ctl" new-profile Packaged -o "$root/packaged.pro" >/dev/null ||
  fail "the packaged ms1ctl does not run"
if "$root/usr/bin/ms1ctl" --help | grep -qw sim || [ -e "$root/usr/lib/ms1-config/ms1sim" ]; then
  fail "the package offers a client of the virtual mouse it does not carry"
fi
echo "files, dependencies ($depends), scripts and programs: ok"

if command -v lintian >/dev/null; then
  echo "lintian:"
  lintian --tag-display-limit 0 "$deb" 2>/dev/null | sed 's/^/  /' || true
fi

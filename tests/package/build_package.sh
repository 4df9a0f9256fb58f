#!/usr/bin/env bash
# Builds the Debian package from the build folder, as a user would with
# `cpack -G DEB`, and unpacks it into a throw-away root beside it.
#   build_package.sh <build folder> <output folder>
set -euo pipefail
build=$1 out=$2
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" ||
    { cat "$out/cpack.log" >&2; exit 1; }
deb=$(echo "$out"/termdeposit_*.deb)
[ -f "$deb" ] || { echo "FAIL: no package in $out" >&2; exit 1; }
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
dpkg-deb -x "$deb" "$out/root"

#!/usr/bin/env bash
# Checks the package with Debian's own tools: lintian on the .deb,
# appstreamcli on its AppStream file, desktop-file-validate on its menu entry,
# and the desktop databases that file managers read, built from its files.
# A missing tool is named and the test is reported as skipped (77) once the
# others have passed.
#   check_package.sh <output folder of build_package.sh>
set -euo pipefail
out=$1
deb=$(echo "$out"/termdeposit_*.deb)
share=$out/root/usr/share
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
skipped=()
fail() { echo "FAIL: $*" >&2; exit 1; }
have() { command -v "$1" >/dev/null || { skipped+=("$1 (Debian package $2)"); return 1; }; }

if have lintian lintian; then
    echo "== lintian"
    lintian --fail-on error,warning --pedantic --display-info "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian reports errors or warnings"; }
    grep -v '^running with root privileges' "$work/lintian.log" || true
fi

if have appstreamcli appstream; then
    echo "== appstreamcli"
    metainfo=$(echo "$share"/metainfo/*.metainfo.xml)
    appstreamcli validate --no-net --pedantic "$metainfo" || fail "the AppStream file is not valid"
    # The tree check also finds the menu entry and the icon the file names.
    appstreamcli validate-tree --no-net "$out/root" || fail "the installed tree is not valid for AppStream"
fi

if have desktop-file-validate desktop-file-utils; then
    echo "== desktop-file-validate"
    desktop-file-validate "$share/applications/termdeposit.desktop" || fail "the menu entry is not valid"
    cp -r "$share/applications" "$work/"
    update-desktop-database "$work/applications"
    grep -qx 'application/x-termdeposit=termdeposit.desktop;' "$work/applications/mimeinfo.cache" ||
        fail "the menu entry is not offered for deposit files"
fi

if have update-mime-database shared-mime-info; then
    echo "== shared-mime-info"
    cp -r "$share/mime" "$work/"
    # Searched as the desktop searches, so the tool does not warn that it is not.
    XDG_DATA_DIRS=$work update-mime-database "$work/mime"
    grep -q '^[0-9]*:application/x-termdeposit:\*\.tmd$' "$work/mime/globs2" ||
        fail "*.tmd is not the deposit file type"
    grep -qx 'application/x-termdeposit:termdeposit' "$work/mime/icons" ||
        fail "deposit files do not show the program's icon"
fi

if [ ${#skipped[@]} -gt 0 ]; then
    echo "SKIP: not installed: ${skipped[*]}"
    exit 77
fi
echo "PASS"

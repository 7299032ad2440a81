#!/usr/bin/env bash
# Builds the .deb from a built build folder and checks it the way an installed Drovix is used:
# unpacked into a temporary root, the programs answer --version and --help without a display
# and without touching a file, the desktop entry, the AppStream file and the systemd units
# validate, the manual pages render cleanly, and the package depends on Qt 6's runtime
# packages, not the -dev ones.
# Usage: scripts/package-check.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh packaging
build="$(cd "${1:-build}" && pwd)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "package-check: $*" >&2
    exit 1
}

version="$("$build/drovix" --version | sed -n 's/^drovix //p')"
[ -n "$version" ] || fail "the built drovix tells no version"
deb="$build/drovix_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log"
    fail "cpack failed"
}
[ -f "$deb" ] || fail "cpack wrote no $deb"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/drovix usr/bin/drovix-window usr/bin/drovix-routersim \
    usr/share/applications/drovix.desktop \
    usr/share/icons/hicolor/scalable/apps/drovix.svg usr/share/icons/hicolor/128x128/apps/drovix.png \
    usr/share/metainfo/io.github.drovix.Drovix.metainfo.xml \
    usr/share/man/man1/drovix.1.gz usr/share/man/man1/drovix-routersim.1.gz \
    usr/lib/systemd/user/drovix.service usr/lib/systemd/user/drovix.timer \
    usr/lib/systemd/user/drovix-listen.service \
    usr/share/doc/drovix/user-guide.md usr/share/doc/drovix/images/standard-logs.png; do
    [ -e "$root/$f" ] || fail "the package lacks /$f"
done
if dpkg-deb -c "$deb" | grep -q -e 'drovix-grab' -e '/test_'; then fail "the package holds a tool or test"; fi

depends="$(dpkg-deb -f "$deb" Depends)"
case "$depends" in *-dev*) fail "depends on a development package: $depends" ;; esac
for p in libqt6core6 libqt6dbus6 libqt6network6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    grep -q "$p (" <<<"$depends" || fail "Depends lacks $p: $depends"
done

# The unpacked programs, with no display and an empty home: the answers must leave it empty.
home="$work/home"
mkdir -p "$home"
run() { env -i PATH=/usr/bin:/bin HOME="$home" "$@"; }
[ "$(run "$root/usr/bin/drovix" --version)" = "drovix $version" ] || fail "unpacked drovix --version"
[ "$(run "$root/usr/bin/drovix-window" --version)" = "drovix $version" ] || fail "unpacked drovix-window --version"
# The window's libraries are the window program's alone: a run without a display loads none.
if ldd "$root/usr/bin/drovix" | grep -q -e libQt6Widgets -e libQt6Gui; then fail "drovix itself links the window's libraries"; fi
run "$root/usr/bin/drovix" --help >"$work/help.txt" || fail "unpacked drovix --help failed"
grep -q '^Usage: drovix' "$work/help.txt" || fail "unpacked drovix --help tells no usage"
run "$root/usr/bin/drovix-routersim" --help >"$work/sim-help.txt" || fail "unpacked drovix-routersim --help failed"
grep -q '^Usage: drovix-routersim' "$work/sim-help.txt" || fail "drovix-routersim --help tells no usage"
status=0
run "$root/usr/bin/drovix" --no-such-option 2>/dev/null || status=$?
[ "$status" -eq 64 ] || fail "an unknown option gave status $status"
[ -z "$(ls -A "$home")" ] || fail "--help or --version wrote into the home folder: $(ls -A "$home")"

desktop-file-validate "$root/usr/share/applications/drovix.desktop" || fail "desktop entry"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/io.github.drovix.Drovix.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log"
    fail "AppStream metainfo"
}
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/io.github.drovix.Drovix.metainfo.xml" ||
    fail "the metainfo file has no release $version"
for page in drovix drovix-routersim; do
    warnings="$(zcat "$root/usr/share/man/man1/$page.1.gz" | groff -man -ww -z 2>&1)"
    [ -z "$warnings" ] || fail "$page.1: $warnings"
    zcat "$root/usr/share/man/man1/$page.1.gz" | head -n1 | grep -q "\"Drovix $version\"" ||
        fail "$page.1 names another version than $version"
done

# systemd looks for "drovix" in /usr/bin, where the package is not installed: the units are
# checked with their command pointed at the unpacked one. Any remark (an unknown key) fails. A
# scheduled run skipped because the window is open (status 3) is no failure of the service; any
# other status is, and so is a run that never ends.
if command -v systemd-analyze >/dev/null; then
    units="$work/units"
    mkdir -p "$units"
    for unit in "$root"/usr/lib/systemd/user/*; do
        sed "s|^ExecStart=drovix|ExecStart=$root/usr/bin/drovix|" "$unit" >"$units/$(basename "$unit")"
    done
    grep -q "^ExecStart=$root/usr/bin/drovix /auto$" "$units/drovix.service" ||
        fail "drovix.service does not run drovix /auto"
    remarks="$(systemd-analyze verify --man=no "$units"/* 2>&1)" || fail "systemd units: $remarks"
    [ -z "$remarks" ] || fail "systemd units: $remarks"
    [ "$(sed -n 's/^SuccessExitStatus=//p' "$units/drovix.service")" = 3 ] ||
        fail "drovix.service must count status 3 (already running), and only it, as success"
    grep -q '^TimeoutStartSec=[1-9]' "$units/drovix.service" ||
        fail "drovix.service sets no time limit: one hung run would keep the timer from starting any other"
else
    echo "package-check: systemd-analyze not found, the systemd units are not verified" >&2
fi

echo "package-check: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) passed; Depends: $depends"

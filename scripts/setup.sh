#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run Drovix (strace: the crash
# test kills the program at chosen system calls; dbus: the notification test's private session
# bus). Quiet and quick when everything is already there.
# Usage: scripts/setup.sh [packaging|fuzz|screenshots]
# "packaging" adds what scripts/package-check.sh uses to check the .deb; "fuzz" adds clang,
# whose libFuzzer scripts/fuzz.sh builds with; "screenshots" adds the private X display, the
# notification daemon and the screen grab by which scripts/screenshots.sh pictures a
# notification.
set -euo pipefail

packages=(g++ cmake make qt6-base-dev libgtest-dev strace dbus)
if [ "${1:-}" = packaging ]; then
    # dpkg-deb comes with dpkg; cpack writes the .deb itself. groff-base checks the manual pages.
    packages+=(desktop-file-utils appstream groff-base)
elif [ "${1:-}" = fuzz ]; then
    packages+=(clang)
elif [ "${1:-}" = screenshots ]; then
    # xwd (x11-apps) grabs the display, ImageMagick crops it; the fonts are the daemon's text.
    packages+=(xvfb dunst x11-apps imagemagick fonts-dejavu-core)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

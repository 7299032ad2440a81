#!/usr/bin/env bash
# Renders the checked-in PNG icon from the SVG one; run it after changing packaging/drovix.svg.
# The PNG is kept in the repository so that builds and CI need no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v rsvg-convert >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin >/dev/null
fi
rsvg-convert -w 128 -h 128 packaging/drovix.svg -o packaging/drovix.png

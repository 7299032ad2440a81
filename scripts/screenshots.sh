#!/usr/bin/env bash
# Remakes the user guide's pictures (docs/images) from the real window: starts the router
# simulator on 127.0.0.1, lays out a fresh demo folder for each picture, and has drovix-grab
# draw Drovix's window offscreen after the steps a person would take.
# Usage: scripts/screenshots.sh [build-folder [NAME...]]: with names, only those pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build="${1:-build}"
only="${*:2}"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target drovix-grab drovix-routersim >/dev/null

out=docs/images
mkdir -p "$out"
work="$(mktemp -d)"
export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME="$work/config"   # the demo's saved passwords stay out of your own store

. scripts/demo-env.sh
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# shot NAME PASSWORD [drovix-grab steps...]: one picture from a fresh folder and password store,
# so that each starts as a person's first start would. An empty PASSWORD means none saved yet.
# mode=syslog sets the folder up for the System Log; compare=0 turns the comparison off.
shot() {
    local name="$1" password="$2"
    shift 2
    [ -z "$only" ] || [[ " $only " == *" $name "* ]] || return 0
    local home="$work/$name"
    rm -rf "$XDG_CONFIG_HOME"
    mkdir -p "$home"
    demo_fill_folder "$home" "$router" "$password" "${mode:-}"
    [ "${compare:-1}" = 1 ] || sed -i 's/^COMPSB=1/COMPSB=0/' "$home/Drovix.ini"
    # lastrun=1: an unattended run ended here earlier, as its record tells the status line.
    [ "${lastrun:-0}" = 0 ] || printf 'TIME=2026-12-07 09:50:00\r\nSTATUS=0\r\nSUMMARY=%s\r\n' \
        "Drovix: incoming 3 listed, 1 flagged; outgoing 2 listed, 1 flagged; merged 0 lines; exported 0 lines" \
        >"$home/DrovixLastRun.txt"
    DROVIX_HOME="$home" "$build/drovix-grab" "$@" "$out/$name.png"
    echo "$out/$name.png"
}

# The standard router: Incoming and Outgoing tables.
demo_start_sim "$work" --no-syslog
shot first-start ""                                  # no password yet: the options panel opens
shot standard-logs demo-pass                         # the first refresh, compared with Stillbeacon's logs
shot options demo-pass --click BOptions --hover CompSB   # the options panel and its help pane
# The status line after a refresh and "Save highlighted", with an earlier unattended run's record.
lastrun=1 shot status-line demo-pass --click BSaveHilited
# Nothing listens on the discard port of the loopback: the router cannot be reached.
router=127.0.0.1:9 shot test-connection "" --message --click BTestConnection
router=127.0.0.1:9 shot cant-contact demo-pass --message
kill "$sim_pid"
sim_pid=""

# A router with a System Log: the list after a refresh, matched with Stillbeacon's day file.
demo_start_sim "$work"
mode=syslog
shot system-log demo-pass
shot system-log-merged demo-pass --click BSaveHilited   # "Update SB logs", then the refresh it starts
shot system-log-menu demo-pass --menu SysLog:3:4          # a record's popup menu on its remote address
# The order is held while records wait for Stillbeacon's logs, so this one is not compared.
compare=0 shot system-log-sorted demo-pass --header SysLog:4   # sorted by remote address, by number
shot window-minimum demo-pass --size 400x300              # the smallest the window gets
shot window-maximized demo-pass --maximize
# With a dark desktop theme: the list, and the options panel with its help pane.
shot dark-theme-before demo-pass --dark
shot dark-theme-options-before demo-pass --dark --click BOptions --hover CSaveSysLog
compare=0 shot sort-arrow-before demo-pass --header SysLog:0     # sorted by date
shot filter-box-before demo-pass
# The same three as they are now: dark text on every coloured cell and on the help pane; the sort
# arrow on the sorted column with the day separators between their days; the list filtered.
shot dark-theme demo-pass --dark
shot dark-theme-options demo-pass --dark --click BOptions --hover CSaveSysLog
compare=0 shot sort-arrow demo-pass --header SysLog:0   # oldest first: the arrow turns round
shot filter-box demo-pass --type SysFilter:dropped

#!/usr/bin/env bash
# Remakes the user guide's pictures (docs/images) from the real window: starts the router
# simulator on 127.0.0.1, lays out a fresh demo folder for each picture, and has drovix-grab
# draw Drovix's window offscreen after the steps a person would take.
# Usage: scripts/screenshots.sh [build-folder [NAME...]]: with names, only those pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
only="${*:2}"
# wanted NAME: whether this run remakes the picture NAME (every picture when none is named).
wanted() { [ -z "$only" ] || [[ " $only " == *" $1 "* ]]; }
# The notification pictures need a desktop of their own and the real drovix executable.
targets=(drovix-grab drovix-routersim)
if wanted notification || wanted notification-failed; then
    scripts/setup.sh screenshots
    targets+=(drovix)
else
    scripts/setup.sh
fi
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

out=docs/images
mkdir -p "$out"
work="$(mktemp -d)"
export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME="$work/config"   # the demo's saved passwords stay out of your own store

. scripts/demo-env.sh
sim_pid=""
desktop_pids=()
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    for pid in "${desktop_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# shot NAME PASSWORD [drovix-grab steps...]: one picture from a fresh folder and password store,
# so that each starts as a person's first start would. An empty PASSWORD means none saved yet.
# mode=syslog sets the folder up for the System Log; compare=0 turns the comparison off.
shot() {
    local name="$1" password="$2"
    shift 2
    wanted "$name" || return 0
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

# A desktop of its own for the notification pictures: a private X display on a free display
# number, a private session bus, and dunst showing on that display what arrives on that bus.
# Sets display and bus; cleanup stops all three.
desktop_start() {
    Xvfb -displayfd 3 -screen 0 800x300x24 -wr -nolisten tcp 3>"$work/display" 2>"$work/xvfb.out" &
    desktop_pids+=($!)
    for _ in $(seq 50); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || {
        echo "Xvfb did not start:"
        cat "$work/xvfb.out"
        return 1
    }
    display=":$(cat "$work/display")"
    bus="$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/dbus.pid")"
    desktop_pids+=("$(cat "$work/dbus.pid")")
    # Notifications stay until the picture is taken; Drovix sends no icon a bare desktop has.
    cat >"$work/dunstrc" <<'EOF'
[global]
    follow = none
    width = 480
    origin = top-right
    offset = 16x16
    font = DejaVu Sans 11
    frame_width = 2
    padding = 12
    horizontal_padding = 14
    icon_position = off
    markup = no
    format = "<b>%s</b>\n%b"
[urgency_normal]
    timeout = 0
EOF
    DISPLAY="$display" DBUS_SESSION_BUS_ADDRESS="$bus" dunst -config "$work/dunstrc" >"$work/dunst.out" 2>&1 &
    desktop_pids+=($!)
    for _ in $(seq 50); do
        DBUS_SESSION_BUS_ADDRESS="$bus" dunstctl count displayed >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "dunst did not start:"
    cat "$work/dunst.out"
    return 1
}

# notification_shot NAME ROUTER: the notification that the real "drovix /auto" sends from a fresh
# System Log folder, cropped from the private display. The run has no display of its own, as
# under a scheduler, so it takes the headless face and only the bus reaches the desktop.
notification_shot() {
    local name="$1" router="$2" status=0 shown=0
    wanted "$name" || return 0
    local home="$work/$name"
    rm -rf "$XDG_CONFIG_HOME"
    mkdir -p "$home"
    demo_fill_folder "$home" "$router" demo-pass syslog
    DROVIX_HOME="$home" DBUS_SESSION_BUS_ADDRESS="$bus" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        "$build/drovix" /auto >"$work/$name.out" 2>&1 || status=$?
    for _ in $(seq 50); do
        shown="$(DBUS_SESSION_BUS_ADDRESS="$bus" dunstctl count displayed)"
        [ "$shown" -gt 0 ] && break
        sleep 0.1
    done
    [ "$shown" -gt 0 ] || {
        echo "drovix /auto (exit status $status) sent no notification:"
        cat "$work/$name.out"
        return 1
    }
    sleep 0.5   # drawn
    DISPLAY="$display" xwd -root -silent >"$work/root.xwd"
    convert "$work/root.xwd" -trim +repage -bordercolor white -border 12 "$out/$name.png"
    DBUS_SESSION_BUS_ADDRESS="$bus" dunstctl close-all
    echo "$out/$name.png (drovix /auto exit status $status)"
}

if wanted notification || wanted notification-failed; then
    desktop_start
    # The run merges the System Log's records that Stillbeacon's day file lacks.
    notification_shot notification "$router"
    # Nothing listens on the discard port of the loopback: the run fails and says why.
    notification_shot notification-failed 127.0.0.1:9
fi

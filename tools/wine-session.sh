#!/usr/bin/env bash
# A private Wine session for the tests and `make run`:
#   - its own prefix under build/wine (never the user's ~/.wine), made once;
#   - a persistent wineserver, so each program starts in a fraction of a second;
#   - without a DISPLAY, a private Xvfb on a display number it picks itself.
# It ends only what it started: the wineserver of this prefix and the Xvfb by its PID.
#
#   wine-session.sh start            make the prefix, start the server and display
#   wine-session.sh run PROGRAM ...  start if needed, then run PROGRAM under Wine
#   wine-session.sh display          print the DISPLAY the session's programs use
#   wine-session.sh stop             end the server and the private display
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${MORVALEN_WINE_STATE:-$here/../build/wine}
mkdir -p "$state"
state=$(cd "$state" && pwd)

export WINEPREFIX=$state/prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The settings of the prefix:
#   - no crash debugger: while one is registered (AeDebug "Debugger", there by default), a
#     crashed program ends with exit status 0 under Wine. Without it Wine still runs
#     winedbg --auto, whose crash dialog would wait on the display for a click: with the
#     dialog off, the crash's report goes to the program's output and it ends at once
#     with the crash's code (5 for an access violation);
#   - Wine reports Windows 10, the system our users have, not its default Windows 7;
#   - unmanaged windows: without a window manager Wine otherwise waits 2 s on each hide;
#   - a caret that does not blink, so screenshots of a field repeat.
SETTINGS='REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=-

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"CursorBlinkRate"="-1"
'

# The prefix is made once; its settings are written again whenever they change here.
make_prefix() {
    local stamp=$WINEPREFIX/.morvalen-settings
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(printf '%s' "$SETTINGS")" ] && return 0
    if [ -f "$stamp" ]; then
        wineserver -k 2> /dev/null || true  # our own server, with the old settings
    else
        rm -rf "$WINEPREFIX"
        wineboot -i >> "$state/wine.log" 2>&1 9>&-
    fi
    printf '%s' "$SETTINGS" > "$state/settings.reg"
    wine regedit /S "$state/settings.reg" >> "$state/wine.log" 2>&1 9>&-
    wineserver -w  # let the server write the registry to disk and leave
    printf '%s' "$SETTINGS" > "$stamp"
}

private_display_alive() {
    [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

start_display() {
    private_display_alive && return 0
    if [ -n "${DISPLAY:-}" ]; then
        echo "$DISPLAY" > "$state/display"
        return 0
    fi
    # The server picks a free display itself and writes its number once it is ready.
    rm -f "$state/display-number"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$state/display-number" \
        < /dev/null > "$state/xvfb.log" 2>&1 9>&- &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 200); do
        if [ -s "$state/display-number" ]; then
            echo ":$(cat "$state/display-number")" > "$state/display"
            return 0
        fi
        sleep 0.05
    done
    echo "wine-session: Xvfb did not start; see $state/xvfb.log" >&2
    return 1
}

# The lock serialises parallel test runs; every process started under it gets fd 9
# closed, or a long-lived server would hold the lock for ever.
start() {
    exec 9> "$state/lock"
    flock 9
    make_prefix
    start_display
    # The first program of a server starts the desktop process, which keeps its display.
    DISPLAY=$(cat "$state/display")
    export DISPLAY
    # `wineserver -p` answers 0 when it started a server, 2 when one already runs. A new
    # server gets its services (services.exe, winedevice.exe) at once, from a program whose
    # output goes to a file: started by a test, they would hold ctest's pipe open for ever.
    if wineserver -p < /dev/null >> "$state/wineserver.log" 2>&1 9>&-; then
        wine wineboot < /dev/null >> "$state/wine.log" 2>&1 9>&-
    fi
    exec 9>&-
}

stop() {
    exec 9> "$state/lock"
    flock 9
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    if private_display_alive; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    fi
    rm -f "$state/xvfb.pid" "$state/display" "$state/display-number"
    exec 9>&-
}

case "${1:-}" in
start) start ;;
stop) stop ;;
display) start; cat "$state/display" ;;
run)
    shift
    start
    exec wine "$@"
    ;;
*)
    echo "usage: $0 start|run PROGRAM [ARGS...]|display|stop" >&2
    exit 2
    ;;
esac

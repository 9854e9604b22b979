#!/usr/bin/env bash
# The checkout's private Wine sessions. Each has its own prefix, wineserver and records under
# build/wine/NAME, and runs its programs as our users' Brazilian Windows does (code page 1252,
# Portuguese (Brazil), Sao Paulo time), whatever the developer's own language and zone:
#   tests  the Windows tests; always on a private Xvfb, never the developer's desktop;
#   run    `make run`; on the desktop ($DISPLAY) if there is one, else on a private Xvfb.
# A session starts with its first program and ends once no program uses it: a watcher ends
# its wineserver with every Wine process of its prefix, and its Xvfb by PID, however the
# programs ended (passed, failed, Ctrl-C, killed on a timeout). It signals nothing else.
#
#   wine-session.sh run PROGRAM [ARGS...]  run PROGRAM under Wine; its exit status is PROGRAM's
#   wine-session.sh display PID            print the session's DISPLAY, held while PID lives
#   wine-session.sh stop                   end the session now, unless a program still uses it
# MORVALEN_WINE_SESSION names the session: tests (the default) or run.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
session=${MORVALEN_WINE_SESSION:-tests}
case $session in
tests | run) ;;
*) echo "wine-session: no session '$session': tests or run" >&2; exit 2 ;;
esac
mkdir -p "$here/../build/wine/$session"
state=$(cd "$here/../build/wine/$session" && pwd)

# The 64-bit loader itself: it hands 32-bit programs to Wine's 32-bit loader, which the
# `wine` command would start even for a 64-bit program, and which runs only where the
# kernel runs 32-bit x86 programs.
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=wine
export WINEPREFIX=$state/prefix WINEARCH=win64 WINEDEBUG=-all WINELOADER=$loader
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"  # no installers, no menu entries
# Only Wine's processes get these: the language and zone of a Brazilian Windows (Wine takes
# them from the names alone, generated or not), and a home and a temporary folder (where the
# wineserver keeps its socket) of their own, so that nothing of Wine's lands outside build/.
# The desktop's X authority stays reachable.
brazil=(env LC_ALL=pt_BR.UTF-8 TZ=America/Sao_Paulo HOME="$state/home" TMPDIR="$state/tmp"
    XDG_CONFIG_HOME="$state/home/.config" XDG_DATA_HOME="$state/home/.local/share"
    XDG_CACHE_HOME="$state/home/.cache" XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}")

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

# A process as "PID BOOT START": its start in clock ticks since this boot, so that a
# record never names another process, not even after a reboot. Empty if it is gone, or
# ended and waiting for its parent to take notice (a zombie).
identity() {
    local stat
    stat=$(cat "/proc/$1/stat" 2> /dev/null) || return 0
    read -r -a fields <<< "${stat##*) }"  # the fields after the command's name, from the 3rd
    [ "${fields[0]}" != Z ] || return 0
    echo "$1 $(cat /proc/sys/kernel/random/boot_id) ${fields[19]}"
}
record() { identity "$2" > "$state/$1"; }
recorded_alive() {  # NAME: the recorded process still runs; its PID on standard output
    local line
    line=$(cat "$state/$1" 2> /dev/null) || return 1
    [ -n "$line" ] && [ "$(identity "${line%% *}")" = "$line" ] && echo "${line%% *}"
}
users_alive() {  # forgets the users that have ended
    local user alive=1
    for user in "$state"/users/*; do
        [ -e "$user" ] || continue
        if recorded_alive "users/${user##*/}" > /dev/null; then alive=0; else rm -f "$user"; fi
    done
    return $alive
}

lock() { exec 9> "$state/lock"; flock 9; }
unlock() { exec 9>&-; }

# The prefix is made anew whenever its settings change here, and when 32-bit Windows
# programs can now run but the prefix was made before (it would lack syswow64).
make_prefix() {
    local stamp wants
    wants=$(printf '%s\n32-bit: ' "$SETTINGS"; /usr/lib/wine/wine --version > /dev/null 2>&1 &&
        echo yes || echo no)
    stamp=$(cat "$WINEPREFIX/.morvalen-settings" 2> /dev/null) || true
    [ "$stamp" = "$wants" ] && return 0
    rm -rf "$WINEPREFIX"
    "${brazil[@]}" "$loader" wineboot -i >> "$state/wine.log" 2>&1 9>&-
    printf '%s' "$SETTINGS" > "$state/settings.reg"
    "${brazil[@]}" "$loader" regedit /S "$state/settings.reg" >> "$state/wine.log" 2>&1 9>&-
    "${brazil[@]}" wineserver -w  # the registry on disk, the server gone
    printf '%s' "$wants" > "$WINEPREFIX/.morvalen-settings"
}

# The display the session's programs use: the desktop for the run session when there is
# one, else a private Xvfb on a display number it picks itself.
start_display() {
    if [ "$session" = run ] && [ -n "${DISPLAY:-}" ]; then
        echo "$DISPLAY" > "$state/display"
        return 0
    fi
    rm -f "$state/display-number"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$state/display-number" \
        < /dev/null > "$state/xvfb.log" 2>&1 9>&- &
    record xvfb $!
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

# Ends the wineserver of this prefix with all its processes, the Xvfb it started, and the
# records. Under the lock.
end_session() {
    local xvfb
    if [ -d "$WINEPREFIX" ]; then
        "${brazil[@]}" wineserver -k 2> /dev/null || true
        "${brazil[@]}" wineserver -w
    fi
    if xvfb=$(recorded_alive xvfb); then
        kill "$xvfb"
    fi
    rm -f "$state"/{watcher,xvfb,display,display-number} "$state"/users/*
}

# Under the lock: the session runs, with `user` (a PID) counted among its programs.
begin() {
    local wanted=private
    [ "$session" = tests ] || wanted=${DISPLAY:-private}
    mkdir -p "$state/users" "$state/home" "$state/tmp"
    lock
    local running=no
    recorded_alive watcher > /dev/null && running=yes
    # A program on the session's own display (the tour's) asks for nothing else.
    if [ $running = yes ] && [ "$(cat "$state/wanted")" != "$wanted" ] &&
        [ "${DISPLAY:-}" != "$(cat "$state/display")" ]; then
        if users_alive; then
            echo "wine-session: the $session session is in use on another display" >&2
            exit 1
        fi
        running=no
    fi
    if [ $running = no ]; then
        end_session  # the idle session on another display, or what a killed watcher left
        echo "$wanted" > "$state/wanted"
        setsid "$here/wine-session.sh" watch < /dev/null > "$state/watcher.log" 2>&1 9>&- &
        record watcher $!
        make_prefix
        start_display
        # A persistent server, ended by the watcher; its services start at once, from a
        # program whose output goes to a file: started by a test, they would hold ctest's
        # pipe open for ever.
        "${brazil[@]}" wineserver -p < /dev/null >> "$state/wineserver.log" 2>&1 9>&-
        DISPLAY=$(cat "$state/display") "${brazil[@]}" "$loader" wineboot < /dev/null \
            >> "$state/wine.log" 2>&1 9>&-
    fi
    record "users/$1" "$1"
    unlock
}

# The watcher: ends the session once no program has used it for 2 s, or when the
# session it watches has been ended and another begun.
watch() {
    local idle=0
    lock  # its own record is written once the session has begun
    unlock
    while sleep 0.2; do
        [ "$(recorded_alive watcher)" = $$ ] || exit 0
        if users_alive; then idle=0; else idle=$((idle + 1)); fi
        [ $idle -ge 10 ] || continue
        lock
        users_alive || { end_session; exit 0; }
        unlock
        idle=0
    done
}

case "${1:-}" in
run)
    shift
    begin $$
    # Not exec'd: a Wine program outlives the SIGINT of a Ctrl-C, so it is ended here.
    DISPLAY=$(cat "$state/display") "${brazil[@]}" "$loader" "$@" &
    program=$!
    trap 'kill "$program" 2> /dev/null; exit 130' INT
    trap 'kill "$program" 2> /dev/null; exit 143' TERM HUP
    wait "$program"
    ;;
display)
    [ -n "${2:-}" ] || { echo "usage: $0 display PID" >&2; exit 2; }
    begin "$2"
    cat "$state/display"
    ;;
stop)
    lock
    users_alive || end_session
    unlock
    ;;
watch) watch ;;
*)
    echo "usage: $0 run PROGRAM [ARGS...] | display PID | stop" >&2
    exit 2
    ;;
esac

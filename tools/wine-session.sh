#!/usr/bin/env bash
# The checkout's private Wine sessions. Each has its own prefix and wineserver under
# build/wine/NAME, and runs its programs as our users' Brazilian Windows does (code page 1252,
# Portuguese (Brazil), Sao Paulo time), whatever the developer's own language and zone:
#   tests  the Windows tests; on a private Xvfb, never the developer's desktop;
#   run    `make run`; on the desktop ($DISPLAY) if there is one, else on a private Xvfb.
# A session starts with its first program and ends at most 2 s after its last has ended, however
# it ended (passed, failed, Ctrl-C, killed): wineserver -k ends every Wine process of the
# session's prefix, and the private Xvfb goes with it.
#   wine-session.sh run PROGRAM [ARGS...]   run PROGRAM under Wine; the exit status is PROGRAM's
#   wine-session.sh with COMMAND [ARGS...]  run COMMAND on the session's display, the session
#                                           held while it runs (the tour)
#   wine-session.sh stop                    end the session now, unless a program uses it
# MORVALEN_WINE_SESSION names the session: tests (the default) or run.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
session=${MORVALEN_WINE_SESSION:-tests}
[ "$session" = tests ] || [ "$session" = run ] ||
    { echo "wine-session: no session '$session': tests or run" >&2; exit 2; }
mkdir -p "$here/../build/wine/$session/home"
state=$(cd "$here/../build/wine/$session" && pwd)

# The 64-bit loader itself: it hands 32-bit programs to Wine's 32-bit loader, which the
# `wine` command would start even for a 64-bit program, and which runs only where the
# kernel runs 32-bit x86 programs.
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=wine
export WINEPREFIX=$state/prefix WINEARCH=win64 WINEDEBUG=-all WINELOADER=$loader
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"  # no installers, no menu entries
# Only Wine's processes get these: the language and zone of a Brazilian Windows (Wine takes
# them from the names alone, generated or not), and a home of their own, so that Wine writes
# nothing into the developer's. From the developer's environment they lose TMPDIR, with which
# Wine 10's wineboot aborts ("double free or corruption"; the wineserver then keeps its socket
# and lock in a folder of each prefix's own under /tmp, named in the prefix's file
# "wineserver"), and WINESERVER and WINEDLLPATH, which would hand them another Wine's parts.
brazil=(env -u TMPDIR -u WINESERVER -u WINEDLLPATH LC_ALL=pt_BR.UTF-8 TZ=America/Sao_Paulo
    HOME="$state/home" XDG_CONFIG_HOME="$state/home/.config"
    XDG_DATA_HOME="$state/home/.local/share" XDG_CACHE_HOME="$state/home/.cache")
# The desktop's X authority stays reachable under the home of Wine's own.
export XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}

# The settings of the prefix: no post-mortem debugger (AeDebug "Debugger", for 64-bit and 32-bit
# programs) to attach to a crashed test program, nor a crash dialog to wait on the display for a
# click: a crash ends the program by itself, with the crash's code (5 for an access violation)
# and its report in its output; Windows 10, our users' system, not Wine's 7; unmanaged windows
# (with no window manager Wine waits 2 s on each hide); a caret that does not blink, for pictures.
SETTINGS='REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=-

[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug]
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

# Three locks, taken with flock, which the kernel lets go of however their holder ends:
#   join      (fd 8) held while a program joins the session, and while the keeper ends it;
#   programs  (fd 9) shared by the wrapper of every program while the program runs;
#   keeper    (fd 7) held by the session's keeper for as long as the session runs.
# No Wine process inherits them (7>&- 8>&- 9>&-).
open_locks() { exec 8> "$state/join" 9> "$state/programs"; }
session_runs() { ! flock -s -n "$state/keeper" true; }  # only the keeper holds it whole
# Ends the session's wineserver, if one runs, with every Wine process of the prefix.
end_server() { "${brazil[@]}" wineserver -k 2> /dev/null && "${brazil[@]}" wineserver -w || true; }

# Made anew whenever its settings change here, and when 32-bit Windows programs can now run
# but the prefix was made before (it would lack syswow64). Made with no display at all, so
# that Wine's "updating" window shows nowhere. Marked made only once every step has passed and
# the registry on disk holds the settings; a prefix that failed is made again next time.
make_prefix() {
    local wants runs=yes
    "$here/runs-32bit-x86.sh" || { [ $? = 1 ] && runs=no; } || return 1
    wants=$(printf '%s\n32-bit: %s' "$SETTINGS" "$runs")
    [ "$(cat "$WINEPREFIX/.morvalen-settings" 2> /dev/null)" != "$wants" ] || return 0
    rm -rf "$WINEPREFIX"
    printf '%s' "$SETTINGS" > "$state/settings.reg"
    (
        unset DISPLAY WAYLAND_DISPLAY
        "${brazil[@]}" "$loader" wineboot -i &&
            "${brazil[@]}" "$loader" regedit /S "$state/settings.reg" &&
            "${brazil[@]}" wineserver -w  # the registry on disk, the server gone
    ) >> "$state/wine.log" 2>&1 7>&- 8>&- 9>&- &&
        while read -r value; do  # each value in the registry on disk, each one deleted gone
            [[ $value != \"* ]] || { [[ $value == *=- ]] && ! grep -q -F "${value%-}" \
                "$WINEPREFIX/system.reg"; } || grep -q -x -F "$value" "$WINEPREFIX"/*.reg ||
                { echo "wine-session: not in the prefix's registry: $value" >&2; return 1; }
        done <<< "$SETTINGS" && printf '%s' "$wants" > "$WINEPREFIX/.morvalen-settings"
}

# The keeper of a session, detached from the wrapper that starts it, on the session's display
# (under xvfb-run for a private one, whose Xvfb ends with the keeper). It starts the wineserver
# and Wine's services, says "ready" on its standard output (the only channel both xvfb-runs hand
# a command: Debian 13's closes every other), and ends the session when a look every 2 s finds no
# program running or joining: wineserver's own persistence (-p N) cannot know that a program is
# joining, and the display would end with a server that ended just as a program started on it.
# It never ends a session while a program runs: Wine ends a program whose server is killed with
# status 0, which would pass for success.
#   keep DISPLAY_WANTED TOKEN
keep() {
    trap '' PIPE  # a wrapper that gave up waiting for "ready" does not end the session
    exec 7> "$state/keeper" && flock 7
    open_locks
    echo "$1 $DISPLAY $2 $XAUTHORITY" > "$state/display"
    brazil+=("MORVALEN_WINE_TOKEN=$2")
    # The services start here, with their output in the log: started by a test, they would
    # hold ctest's pipe open for as long as they run.
    if ! "${brazil[@]}" wineserver -p < /dev/null >&2 7>&- 8>&- 9>&- ||
        ! "${brazil[@]}" "$loader" wineboot < /dev/null >&2 7>&- 8>&- 9>&-; then
        echo "wine-session: the wineserver or Wine's services did not start" >&2
        end_server
        exit 1
    fi
    echo ready || true
    exec >&2
    while flock -x 9 && flock -u 9 && sleep 2 && flock 8; do  # none runs, nor 2 s later, nor joins
        flock -n -x 9 && break
        flock -u 8
    done
    # The prefix's server, unless the folder went and another session has begun in its place
    # (its own keeper lock, then): once its folder is gone, -k cannot find the server (its
    # manual: it is found through the prefix's device and inode), but every Wine process of the
    # session carries the token, and goes.
    [ ! "$state/keeper" -ef "/proc/$$/fd/7" ] || end_server
    # shellcheck disable=SC2046
    kill -KILL $(grep -l -s -z -x "MORVALEN_WINE_TOKEN=$2" /proc/[0-9]*/environ | cut -d/ -f3) \
        2> /dev/null || true
    exec 7>&-  # over before the next program may join
}

# Joins the session, starting it if need be; the wrapper then counts as one of its programs
# (a shared lock on "programs") until it ends. Sets display, xauthority and token to the
# session's.
join() {
    local wanted=private had ready=
    [ "$session" = tests ] || wanted=${DISPLAY:-private}
    open_locks
    while flock 8 && session_runs; do
        read -r had display token xauthority < "$state/display"
        # A program on the session's own display (the tour's) asks for nothing else.
        if [ "$had" = "$wanted" ] || [ "${DISPLAY:-}" = "$display" ]; then
            flock -s 9
            flock -u 8
            return 0
        fi
        flock -u 8  # on another display: once its programs end, it ends within 2 s
        flock -s -w 10 "$state/keeper" true ||
            { echo "wine-session: the $session session is in use on $display" >&2; exit 1; }
    done
    # What a keeper that was killed left: its wineserver, ended only where no program runs.
    flock -n -x 9 || { echo "wine-session: the $session session lost its keeper" >&2; exit 1; }
    end_server
    flock -s 9
    make_prefix || { echo "wine-session: no prefix made; $state/wine.log ends:" >&2
        tail -n 5 "$state/wine.log" >&2; exit 1; }
    # Xvfb's own log and X authority stay with xvfb-run (/dev/null, a folder of its own under
    # /tmp): in build/, Debian 12's xvfb-run could not end its Xvfb once build/ was deleted.
    local keeper=("$here/wine-session.sh" keep "$wanted" "$(cat /proc/sys/kernel/random/uuid)")
    [ "$wanted" != private ] || keeper=(xvfb-run -a -s "-screen 0 1024x768x24" "${keeper[@]}")
    # Out of this process's tree too (started by a child that returns at once): ctest ends a
    # timed-out test's whole tree, and the session is not the test's.
    read -r -t 60 ready < <(setsid "${keeper[@]}" < /dev/null 2>> "$state/wine.log" \
        8>&- 9>&- &) || true
    [ "$ready" = ready ] || { echo "wine-session: no session; $state/wine.log ends:" >&2
        tail -n 5 "$state/wine.log" >&2; exit 1; }
    flock -u 8
    read -r had display token xauthority < "$state/display"
}

case "${1:-}" in
run | with)
    join
    [ "$1" = with ] && shift ||
        set -- "${brazil[@]}" "MORVALEN_WINE_TOKEN=$token" "$loader" "${@:2}"
    # Not exec'd: a Wine program outlives the SIGINT of a Ctrl-C, so it is ended here.
    DISPLAY=$display XAUTHORITY=$xauthority "$@" 8>&- 9>&- &
    program=$!
    trap 'kill "$program" 2> /dev/null; exit 130' INT
    trap 'kill "$program" 2> /dev/null; exit 143' TERM HUP
    wait "$program"
    ;;
keep) keep "$2" "$3" ;;
stop)
    open_locks && flock 8
    flock -w 1 -x 9 || { echo "wine-session: the $session session is in use" >&2; exit 1; }
    end_server  # a keeper's, or what a killed one left
    exec 8>&- 9>&-
    flock -s -w 10 "$state/keeper" true ||  # the keeper, and its display, end within 2 s
        { echo "wine-session: the $session session's keeper did not end" >&2; exit 1; }
    ;;
*) echo "usage: $0 run PROGRAM [ARGS...] | with COMMAND [ARGS...] | stop" >&2 && exit 2 ;;
esac

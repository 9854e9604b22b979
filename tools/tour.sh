#!/usr/bin/env bash
# A short tour of the program, as a person takes it, with the real mouse and keyboard on the
# display of the Wine session it runs in (`wine-session.sh with tour.sh ...`), which `make run`
# takes when there is no desktop. Each screenshot of the window, taken once the result row the
# step changes shows it, goes to OUTPUT_DIR: opened.png as it opens, calculated.png after "Calcular"
# with the first selections, chosen.png after 16 cameras are picked in the dropped list and
# Calcular, typed.png after "60" days are typed and Calcular. Then "Sair"; the exit status is
# the program's.
#   tour.sh EXE OUTPUT_DIR
set -euo pipefail
exe=$1 out=$2
session=$(dirname "${BASH_SOURCE[0]}")/wine-session.sh
mkdir -p "$out" && rm -f "$out"/*.png
"$session" run "$exe" & program=$!
trap 'kill "$program" 2> /dev/null || true' EXIT  # never left behind, whatever happens
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Corvane - Morvalen$' |
    head -n 1) || true  # a search that timed out leaves the name empty, said just below
[ -n "$window" ] || { echo "tour: the window never appeared" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"

# Once the result row at window height $2 (245 x 15 inside the frame) shows something new: as
# the window opens, "RESULTADO" in the middle row; after Calcular, the total, its last line.
shot() {
    local row
    for _ in $(seq 100); do
        xwd -root -silent | /usr/bin/convert xwd:- -crop "450x360+$X+$Y" +repage \
            -define png:exclude-chunks=date,time "$out/$1.png"  # no time stamps: the same bytes
        row=$(/usr/bin/convert "$out/$1.png" -crop "245x15+102+$2" +repage -format '%k %#' info:)
        [ "${row%% *}" = 1 ] || [ "$row" = "${last:-}" ] || { last=$row; return 0; }
        sleep 0.1
    done
    echo "tour: $1 never showed what was asked for" >&2
    exit 1
}
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; }  # window coordinates

shot opened 258
click 180 322  # "Calcular": 140, 310, 80 x 25
shot calculated 278
click 320 124  # open the cameras list: 293, 115, 57 wide
xdotool key --delay 20 $(printf 'Up %.0s' $(seq 16)) Return  # 16 times Up, then Enter
click 180 322
shot chosen 278
xdotool windowfocus --sync "$window"
click 340 206  # the day field, right of its text: 293, 196, 56 x 20
xdotool key End BackSpace BackSpace
xdotool type 60
click 180 322
shot typed 278
click 270 322  # "Sair": 230, 310, 80 x 25
timeout 10 tail --pid="$program" -s 0.1 -f /dev/null ||
    { echo "tour: the program did not end after Sair" >&2; exit 1; }
wait "$program"

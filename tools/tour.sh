#!/usr/bin/env bash
# A short tour of the program, as a person takes it, with the real mouse and keyboard on
# the display of the Wine session it runs in (`wine-session.sh with tour.sh ...`): `make
# run` takes it when there is no desktop, and so does the smoke test. Screenshots of the
# window go to OUTPUT_DIR:
#   opened.png      as the window opens
#   calculated.png  after a click on "Calcular" with the first selections (32 cameras, 30 days)
#   chosen.png      after 16 cameras are picked in the dropped list (16 times Up, Enter), and
#                   Calcular
#   typed.png       after the day field's "30" is erased and "60" typed, and Calcular: the
#                   total of 32 cameras for 30 days again, for 16 cameras for 60 days
# then a click on "Sair". The exit status is the program's.
#
#   tour.sh EXE OUTPUT_DIR
set -euo pipefail
exe=$1 out=$2
session=$(dirname "${BASH_SOURCE[0]}")/wine-session.sh
mkdir -p "$out"
rm -f "$out"/*.png
"$session" run "$exe" &
program=$!
trap 'kill "$program" 2> /dev/null || true' EXIT  # never left behind, whatever happens
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Corvane - Morvalen$' |
    head -n 1) || true  # a search that timed out leaves the name empty, said just below
[ -n "$window" ] || { echo "tour: the window never appeared" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"

shot() {
    sleep 0.3  # the program has drawn what the last click asked for
    xwd -root -silent | /usr/bin/convert xwd:- -crop "450x360+$X+$Y" +repage \
        -define png:exclude-chunks=date,time "$out/$1.png"  # no time stamps: the same bytes
}
click() {  # window coordinates
    xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1
}

shot opened
click 180 322  # "Calcular": 140, 310, 80 x 25
shot calculated
click 320 124  # open the cameras list: 293, 115, 57 wide
xdotool key --delay 20 $(printf 'Up %.0s' $(seq 16)) Return  # 16 times Up, then Enter
click 180 322
shot chosen
xdotool windowfocus --sync "$window"
click 340 206  # the day field, right of its text: 293, 196, 56 x 20
xdotool key End BackSpace BackSpace
xdotool type 60
click 180 322
shot typed
click 270 322  # "Sair": 230, 310, 80 x 25
for _ in $(seq 100); do
    kill -0 "$program" 2> /dev/null || break
    sleep 0.1
done
if kill -0 "$program" 2> /dev/null; then
    echo "tour: the program did not end after Sair" >&2
    exit 1
fi
wait "$program"

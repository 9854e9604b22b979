#!/usr/bin/env bash
# The shipped program used as a person uses it: the real executable under Wine on the
# session's display (a private Xvfb under `make test`), the real mouse and keyboard
# (xdotool), and what the screen shows (screenshots, pixel regions).
#
#   e2e.sh EXE SESSION_SCRIPT OUTPUT_DIR
# Screenshots of each failed check stay in OUTPUT_DIR.
set -uo pipefail
exe=$1
session=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.rgb
DISPLAY=$("$session" display)
export DISPLAY
read -r screen_w screen_h < <(xdotool getdisplaygeometry)

passed=0
failed=0
program=

# A screenshot of the whole screen as raw RGB, for the checks; prints its path.
grab() {
    xwd -root -silent | /usr/bin/convert xwd:- -depth 8 "rgb:$out/screen.rgb"
    echo "$out/screen.rgb"
}

# "R G B" of one pixel of a screenshot.
pixel() {
    od -An -tu1 -j $((($3 * screen_w + $2) * 3)) -N3 "$1" | xargs
}

# A fingerprint of a rectangle of a screenshot, in window coordinates.
region() {
    /usr/bin/convert -size "${screen_w}x${screen_h}" -depth 8 "rgb:$1" \
        -crop "$4x$5+$((wx + $2))+$((wy + $3))" +repage rgb:- | md5sum | cut -d' ' -f1
}

# The same, of the screen as it is now, after the last input has settled.
shown() {
    sleep 0.3
    region "$(grab)" "$@"
}

check() {
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
        xwd -root -silent | /usr/bin/convert xwd:- "$out/failed-${name// /-}.png"
    fi
}

same() { [ "$1" = "$2" ]; }
differ() { [ "$1" != "$2" ]; }

start_program() {
    "$session" run "$exe" &
    program=$!
    win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Corvane - Morvalen$' | head -n 1)
    [ -n "$win" ] || { echo "FAILED: the window never appeared"; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$win")"
    wx=$X wy=$Y
    sleep 0.5
}

# Status of the program once it has ended, or "running" after 10 s.
exit_status() {
    for _ in $(seq 100); do
        if ! kill -0 "$program" 2> /dev/null; then
            wait "$program"
            echo $?
            return
        fi
        sleep 0.1
    done
    echo running
}

click() {  # window coordinates
    xdotool mousemove --sync $((wx + $1)) $((wy + $2)) click 1
    sleep 0.4
}

visible() { [ -n "$(xdotool search --onlyvisible --name '^Corvane - Morvalen$')" ]; }
hidden() { ! visible; }

box() {  # waits for a message box whose title starts with $1
    timeout 10 xdotool search --sync --onlyvisible --name "^$1" | head -n 1
}

clear_days() {  # the caret is in the day field
    xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
}

answer() {  # focuses the box, then presses keys in it
    local b=$1
    shift
    xdotool windowfocus --sync "$b"
    xdotool key "$@"
    sleep 0.5
}

FRAME="102 232 245 65"   # inside the results frame
TOP_ROW="102 238 245 15" # the per-day row
FIELD="295 198 52 16"    # inside the day field

# --- The window, its place and its picture ---------------------------------------------
start_program
# SM_CXFULLSCREEN is the screen's width here: no task bar, no caption.
check "centred by its formula" same "$wx $wy" "$((screen_w / 2 - 225)) $((screen_h / 2 - 180))"
s=$(grab)
check "frame line top left" same "$(pixel "$s" "$wx" "$wy")" "159 159 159"
check "frame line bottom right" same "$(pixel "$s" $((wx + 449)) $((wy + 359)))" "159 159 159"
check "frame line left side" same "$(pixel "$s" "$wx" $((wy + 180)))" "156 156 156"
check "frame line right side" same "$(pixel "$s" $((wx + 449)) $((wy + 180)))" "156 156 156"
check "header under the frame line" same "$(pixel "$s" $((wx + 440)) $((wy + 1)))" "211 211 211"
check "green stripe" same "$(pixel "$s" $((wx + 10)) $((wy + 350)))" "138 192 52"
check "nothing of ours outside" differ "$(pixel "$s" $((wx - 1)) $((wy - 1)))" "159 159 159"
before=$(region "$s" $FRAME)
top_before=$(region "$s" $TOP_ROW)

# --- Calcular, then other items picked with the mouse ----------------------------------
click 180 322
s=$(grab)
first=$(region "$s" $FRAME)
check "Calcular fills the frame" differ "$first" "$before"
# The window as a person sees it after the first Calcular (the README shows this one).
/usr/bin/convert -size "${screen_w}x${screen_h}" -depth 8 "rgb:$s" \
    -crop "450x360+$wx+$wy" +repage "$out/window-calculated.png"
check "the per-day row gets a line" differ "$(region "$s" $TOP_ROW)" "$top_before"

click 320 124             # open the cameras list
click 310 160             # an item in the dropped list, another than 32
click 320 178             # open the hours list
click 310 214             # another item
click 180 322
s=$(grab)
second=$(region "$s" $FRAME)
check "other items change the result" differ "$second" "$first"

# --- Typing into the day field ---------------------------------------------------------
xdotool windowfocus --sync "$win"
click 321 206
clear_days
empty=$(shown $FIELD)
xdotool type --delay 50 "abc"
check "letters are refused" same "$(shown $FIELD)" "$empty"
xdotool type --delay 50 "12"
check "digits are taken" differ "$(shown $FIELD)" "$empty"
xdotool type --delay 50 "3456"
full=$(shown $FIELD)
xdotool type --delay 50 "7"
check "no seventh digit" same "$(shown $FIELD)" "$full"

# --- 366 days: the error box, the window away meanwhile, the results kept --------------
clear_days
xdotool type --delay 50 "366"
sleep 0.3
click 180 322
b=$(box "Falha na opera")
check "366 brings the error box" test -n "$b"
check "the window is away meanwhile" hidden
[ -n "$b" ] && answer "$b" Return
check "OK brings the window back" visible
check "with the earlier results" same "$(shown $FRAME)" "$second"

# --- Alt+F4: No keeps the window as it was, Yes ends with 0 ----------------------------
whole=$(shown 0 0 450 360)
xdotool windowfocus --sync "$win"
xdotool key alt+F4
b=$(box "CONFIRMA")
check "Alt+F4 asks first" test -n "$b"
check "the window is away while it asks" hidden
[ -n "$b" ] && answer "$b" Tab space   # from Yes over to No
check "No brings the window back" visible
check "unchanged" same "$(shown 0 0 450 360)" "$whole"
xdotool windowfocus --sync "$win"
xdotool key alt+F4
b=$(box "CONFIRMA")
[ -n "$b" ] && answer "$b" Return      # Yes is the default button
check "Yes ends the program with status 0" same "$(exit_status)" 0

# --- Sair ends at once with 0 ----------------------------------------------------------
start_program
click 270 322
check "Sair ends the program with status 0" same "$(exit_status)" 0

[ "$(exit_status)" = running ] && kill "$program"
rm -f "$out"/*.rgb
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

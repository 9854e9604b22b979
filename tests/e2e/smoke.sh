#!/usr/bin/env bash
# The shipped program's own message loop with real input: the tour `make run` takes (a
# Calcular, a pick from a dropped list, a typed digit, Sair) must end with status 0, and the
# digit typed into the day field must change the total: the loop turns keys into characters.
#   smoke.sh TOOLS_DIR EXE OUTPUT_DIR
set -uo pipefail
"$1/wine-session.sh" with "$1/tour.sh" "$2" "$3" ||
    { echo "FAILED: the tour, or the program's exit status"; exit 1; }
total() { /usr/bin/convert "$2/$1.png" -crop 245x15+102+278 +repage rgb:- | md5sum; }
[ "$(total chosen "$3")" != "$(total typed "$3")" ] ||
    { echo "FAILED: a digit typed into the day field changes nothing"; exit 1; }

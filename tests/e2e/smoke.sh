#!/usr/bin/env bash
# The shipped program's own message loop with real input: the tour `make run` takes must end
# with status 0 after Sair, and the item picked from a dropped list and the digit typed into
# the day field must each change their result row. The window tests own the texts.
#   smoke.sh TOUR EXE OUTPUT_DIR
set -uo pipefail
"$1" "$2" "$3" || { echo "FAILED: the tour, or the program's exit status"; exit 1; }
row() {  # a result row of a screenshot, by its centre line
    /usr/bin/convert "$3/$1.png" -crop "245x15+102+$(($2 - 7))" +repage rgb:- | md5sum
}
[ "$(row calculated 265 "$3")" != "$(row chosen 265 "$3")" ] ||
    { echo "FAILED: an item picked from the dropped list changes nothing"; exit 1; }
[ "$(row chosen 285 "$3")" != "$(row typed 285 "$3")" ] ||
    { echo "FAILED: a digit typed into the day field changes nothing"; exit 1; }

#!/usr/bin/env bash
# The shipped program's own loop with real input: `make run`'s tour (Calcular, a list pick, a
# typed digit, Sair) ends with status 0, and the digit changes the total (keys become characters).
#   smoke.sh TOOLS_DIR EXE OUTPUT_DIR
set -uo pipefail
fail() { echo "FAILED: $1"; exit 1; }
"$1/wine-session.sh" with "$1/tour.sh" "$2" "$3" || fail "the tour, or the program's exit status"
total() { /usr/bin/convert "$2/$1.png" -crop 245x15+102+278 +repage rgb:- | md5sum; }
[ "$(total chosen "$3")" != "$(total typed "$3")" ] || fail "a typed digit left the total as it was"

#!/usr/bin/env bash
# The shipped program's own message loop with real input: the tour `make run` takes (a
# Calcular, a pick from a dropped list, a typed digit, Sair) must end with status 0. The
# window tests own what the window shows and reads.
#   smoke.sh TOUR EXE OUTPUT_DIR
set -uo pipefail
"$1" "$2" "$3" || { echo "FAILED: the tour, or the program's exit status"; exit 1; }

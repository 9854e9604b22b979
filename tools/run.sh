#!/usr/bin/env bash
# Opens the program under Wine. On a desktop it simply runs on the current display; with
# no display it takes the tour (tools/tour.sh) on a private Xvfb, leaves its screenshots
# in build/run and ends what it started.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$here/../build/windows/morvalen.exe
trap '"$here/wine-session.sh" stop' EXIT  # the session's wineserver would stay for good
if [ -n "${DISPLAY:-}" ]; then
    "$here/wine-session.sh" run "$exe"
else
    "$here/tour.sh" "$exe" "$here/../build/run"
    echo "No display: the program ran on a private Xvfb. Screenshots in build/run:"
    echo "  opened.png, calculated.png, chosen.png (other cameras), typed.png (305 days)"
fi

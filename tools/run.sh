#!/usr/bin/env bash
# Opens the program under Wine, in a session of its own (the tests have theirs). On a
# desktop it runs on the current display; with no display it takes the tour
# (tools/tour.sh) on a private Xvfb and leaves its screenshots in build/run. The session
# ends with the program.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$here/../build/windows/morvalen.exe
export MORVALEN_WINE_SESSION=run
trap '"$here/wine-session.sh" stop' EXIT  # nothing of the session left once this returns
if [ -n "${DISPLAY:-}" ]; then
    "$here/wine-session.sh" run "$exe"
else
    "$here/wine-session.sh" with "$here/tour.sh" "$exe" "$here/../build/run"
    echo "No display: the program ran on a private Xvfb. Screenshots in build/run:"
    echo "  opened.png, calculated.png, chosen.png (16 cameras), typed.png (and 60 days)"
fi

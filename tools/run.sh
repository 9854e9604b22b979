#!/usr/bin/env bash
# Opens the program under Wine, in a session of its own (the tests have theirs), on the desktop;
# with no display it takes the tour (tools/tour.sh) on a private Xvfb and leaves its screenshots
# in build/run. The session ends with the program.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$here/../build/windows/morvalen.exe
export MORVALEN_WINE_SESSION=run
trap '"$here/wine-session.sh" stop' EXIT  # nothing of the session left once this returns
if [ -n "${DISPLAY:-}" ]; then
    "$here/wine-session.sh" run "$exe"
else
    "$here/wine-session.sh" with "$here/tour.sh" "$exe" "$here/../build/run"
    echo "No display: the tour ran on a private Xvfb; its screenshots are in build/run"
fi

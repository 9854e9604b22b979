#!/usr/bin/env bash
# The project's files, one path a line from the top: git's tracked files in a clone, and
# in a copy without .git (a downloaded archive) every file but the build trees.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
[ "$(git rev-parse --show-toplevel 2> /dev/null)" != "$PWD" ] || exec git ls-files
find . \( -path ./build -o -path ./.git \) -prune -o -type f -print | sed 's|^\./||' | LC_ALL=C sort

#!/usr/bin/env bash
# The size of the tests beside the code: non-blank lines of the project's sources and
# scripts (.cpp .h .rc .sh .py .cmake, CMakeLists.txt), tests/ against everything else.
set -euo pipefail
export LC_ALL=C  # [[:space:]] and the files' bytes read the same in every language
cd "$(dirname "${BASH_SOURCE[0]}")/.."
sources=$(tools/sources.sh | grep -E '(\.(cpp|h|rc|sh|py|cmake)|(^|/)CMakeLists\.txt)$')
count() { tr '\n' '\0' | xargs -0 -r cat | grep -c -v '^[[:space:]]*$'; }
tests=$(grep '^tests/' <<< "$sources" | count)
code=$(grep -v '^tests/' <<< "$sources" | count)
echo "tests $tests, code $code, ratio $((100 * tests / code)) %"

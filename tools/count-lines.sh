#!/usr/bin/env bash
# The size of the tests beside the code: non-blank lines of the tracked sources and
# scripts (.cpp .h .rc .sh .py .cmake, CMakeLists.txt), tests/ against everything else.
set -euo pipefail
export LC_ALL=C  # [[:space:]] and the files' bytes read the same in every language
cd "$(dirname "${BASH_SOURCE[0]}")/.."
count() {
    git ls-files -- "$@" | grep -E '(\.(cpp|h|rc|sh|py|cmake)|(^|/)CMakeLists\.txt)$' |
        xargs -r cat | grep -c -v '^[[:space:]]*$'
}
tests=$(count tests)
code=$(count . ':!tests')
echo "tests $tests, code $code, ratio $((100 * tests / code)) %"

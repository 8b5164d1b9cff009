#!/usr/bin/env bash
# The direction of the core's folders: base/ is the floor and uses no other folder of the
# core; app/ is the top, and no folder but app/ itself includes anything of it.
set -euo pipefail
core=$(cd "$(dirname "$0")/../src/core" && pwd)
status=0
if grep -rn --include='*.cpp' --include='*.h' '#include "app/' "$core" | grep -v "^$core/app/"; then
    echo "== above: files outside src/core/app/ that include app/" >&2
    status=1
fi
if grep -rn --include='*.cpp' --include='*.h' -E '#include "(app|types|scan|results|fileops|infowin|listings)/' "$core/base"; then
    echo "== above: files in src/core/base/ that include another folder of the core" >&2
    status=1
fi
exit $status

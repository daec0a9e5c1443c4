#!/usr/bin/env bash
# The main job: builds the extensions and the anehost tool on the stand-ins and
# runs the bundled example sessions; their pictures land in out/examples.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default

bash scripts/run-examples.sh build/default out/examples
# The same sessions as ActionScript applications; their pictures must match.
bash scripts/as3.sh examples build/default out/examples

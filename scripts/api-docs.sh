#!/usr/bin/env bash
# Rewrites the ActionScript references in docs/ and the ActionScript library's
# signature table from the extensions' function tables (through anehost).
#   scripts/api-docs.sh [BUILD_DIR]   (default build/default, built first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
host="$build/bin/anehost"
[ -x "$host" ] || { echo "api-docs: $host is missing; build first" >&2; exit 2; }
"$host" --reference Brisora > docs/brisora-api.md
"$host" --reference Tamvex > docs/tamvex-api.md
"$host" --signatures-json > as3/signatures.json
node as3/generate.js
echo "api-docs: wrote docs/brisora-api.md, docs/tamvex-api.md, as3/signatures.json and the ActionScript library"

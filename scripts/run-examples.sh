#!/usr/bin/env bash
# Runs the example sessions with anehost on the simulated SDKs, keeps each
# transcript beside its pictures, and says where they are.
#   scripts/run-examples.sh BUILD_DIR [OUT_DIR]   (OUT_DIR defaults to BUILD_DIR/examples)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: scripts/run-examples.sh BUILD_DIR [OUT_DIR]}
out=${2:-$build/examples}
mkdir -p "$out" && out=$(cd "$out" && pwd)
host="$build/bin/anehost"
if [ ! -x "$host" ]; then
  echo "run-examples: $host is missing; build first (cmake --build $build)" >&2
  exit 2
fi

status=0
for name in brisora-room tamvex-room tamvex-check; do
  dir="$out/$name"
  rm -rf "$dir" && mkdir -p "$dir"
  echo "=== $name: anehost --out $dir examples/$name.txt"
  "$host" --out "$dir" "$root/examples/$name.txt" | tee "$dir/transcript.txt"
  rc=${PIPESTATUS[0]}
  if [ "$rc" -ne 0 ]; then
    echo "=== $name: FAILED (exit status $rc)"
    status=1
  fi
done

echo
echo "Pictures of the example sessions (transcripts beside them):"
for name in brisora-room tamvex-room tamvex-check; do
  for picture in "$out/$name"/*.png; do
    [ -e "$picture" ] && echo "  $picture"
  done
done
exit $status

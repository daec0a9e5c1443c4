#!/usr/bin/env bash
# The ActionScript side: the compiler set-up, the example applications and the
# ActionScript tests, against the extensions of a Linux build.
#   scripts/as3.sh setup                  Node, npm and Java from Debian when missing; Apache Royale's
#                                         compiler and node-addon-api from npm into a cache folder
#                                         (AIRRTC_AS3_CACHE, default ~/.cache/airrtc-as3), reused when there
#   scripts/as3.sh examples BUILD OUT     compiles and runs both example applications; their pictures go to
#                                         OUT/as3/NAME and are compared with the anehost pictures in OUT/NAME
#   scripts/as3.sh test BUILD             the generated library is current; compiles and runs the ActionScript
#                                         tests, and shows that a deliberately wrong expectation fails them; the
#                                         result lines come from BUILD/as3/tests/results.txt, the extensions'
#                                         console output is in BUILD/as3/tests/output.txt
# Each compile prints the compiler warnings that remain.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${AIRRTC_AS3_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/airrtc-as3}
royale_version=0.9.12
addon_version=8.9.2
asnodec=$cache/npm/node_modules/@apache-royale/royale-js/royale-asjs/js/bin/asnodec

setup() {
  local missing=()
  command -v node >/dev/null || missing+=(nodejs)
  command -v npm >/dev/null || missing+=(npm)
  command -v java >/dev/null || missing+=(openjdk-17-jre-headless)
  if [ ! -f /usr/include/node/node_api.h ] && [ ! -f /usr/local/include/node/node_api.h ]; then missing+=(libnode-dev); fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "as3 setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  local stamp=$cache/npm/.installed-$royale_version-$addon_version
  if [ -f "$stamp" ] && [ -x "$asnodec" ]; then return; fi
  echo "as3 setup: @apache-royale/royale-js@$royale_version and node-addon-api@$addon_version into $cache/npm"
  mkdir -p "$cache/npm"
  npm install --prefix "$cache/npm" --no-audit --no-fund --no-package-lock --loglevel=error \
    "@apache-royale/royale-js@$royale_version" "node-addon-api@$addon_version" >/dev/null
  touch "$stamp"
}

# Closure, which optimizes the compiled JavaScript, checks Royale's own Node externs (externs/*.js of
# its node library) against its browser externs and finds ~60 faults in them on every compile. Those
# of the warning classes a path can hide are hidden for the framework's externs alone; the ones
# Royale raises from errors to warnings (a name declared in both sets of externs, "module" in
# https.js) cannot be hidden without turning their checks off for our code too, so they stay and
# are shown with the rest.
closure_options=(-js-compiler-option+=--hide_warnings_for=externs/)

# warnings LOG: the compiler's warnings, one line each: Closure's ("file:line: WARNING - text")
# and Royale's ("file(line): col: N Warning: text").
warnings() {
  grep -aE '^WARNING: .*: WARNING - | Warning: ' "$1" | sed -E 's/^WARNING: //' || true
}

# compile OUT_DIR MAIN.as SOURCE_DIR...: ActionScript to JavaScript for Node (OUT_DIR/bin/js-release);
# prints the warnings that remain.
compile() {
  local out=$1 main=$2
  shift 2
  local paths=(-source-path+="$root/as3/src" -source-path+="$root/as3/air" -source-path+="$root/as3/testing")
  for dir in "$@"; do paths+=(-source-path+="$dir"); done
  rm -rf "$out" && mkdir -p "$out"
  if ! (cd "$out" && "$asnodec" "${paths[@]}" "${closure_options[@]}" -output=. "$main" >compile.log 2>&1) ||
     ! grep -q "successfully compiled" "$out/compile.log"; then
    echo "as3: $(basename "$main") did not compile:" >&2
    grep -E "Error|error" "$out/compile.log" | grep -v "0 error" >&2 || tail -20 "$out/compile.log" >&2
    exit 1
  fi
  local found
  found=$(warnings "$out/compile.log")
  if [ -z "$found" ]; then
    echo "as3: $(basename "$main"): no compiler warnings"
  else
    echo "as3: $(basename "$main"): $(printf '%s\n' "$found" | wc -l) compiler warning(s) ($out/compile.log):"
    printf '%s\n' "$found" | sed 's/^/as3:   /'
  fi
}

need_build() {
  if [ ! -x "$1/bin/node" ] || [ ! -f "$1/bin/air_runtime.node" ]; then
    echo "as3: $1/bin/node or air_runtime.node is missing: build first (after bash scripts/as3.sh setup)" >&2
    exit 2
  fi
}

examples() {
  local build=$1 out=$2
  need_build "$build"
  build=$(cd "$build" && pwd)
  mkdir -p "$out" && out=$(cd "$out" && pwd)
  local started=$SECONDS status=0
  compile "$build/as3/examples" "$root/examples/as3/ExamplesMain.as" "$root/examples/as3"
  echo "as3: compiled the example applications in $((SECONDS - started)) s"
  for name in brisora-room tamvex-room; do
    local dir=$out/as3/$name
    rm -rf "$dir" && mkdir -p "$dir"
    echo "=== $name (ActionScript): node examples/as3 $name"
    if ! "$build/bin/node" "$build/as3/examples/bin/js-release/index.js" "$name" "$dir" > "$dir/output.txt" 2>&1; then
      cat "$dir/output.txt"
      echo "=== $name (ActionScript): FAILED"
      status=1
      continue
    fi
    grep '^\[' "$dir/output.txt" || true
    local pictures=()
    for p in "$out/$name"/*.png; do pictures+=("$(basename "$p")"); done
    if [ ${#pictures[@]} -eq 0 ]; then
      echo "=== $name: no anehost pictures in $out/$name to compare with"
      status=1
      continue
    fi
    node "$root/as3/compare-pictures.js" "$out/$name" "$dir" "${pictures[@]}" || status=1
  done
  echo "as3: the ActionScript examples took $((SECONDS - started)) s; pictures in $out/as3"
  return $status
}

test_leg() {
  local build=$1
  need_build "$build"
  build=$(cd "$build" && pwd)
  local started=$SECONDS
  node "$root/as3/generate.js" --check --require-docs --anehost "$build/bin/anehost"
  compile "$build/as3/tests" "$root/as3/tests/TestsMain.as" "$root/as3/tests"
  echo "as3: compiled the ActionScript tests in $((SECONDS - started)) s"
  local program=$build/as3/tests/bin/js-release/index.js
  # The tests run the garbage collector (gc(), node --expose-gc) to see dropped contexts finalized.
  # A wrong expectation must fail the run: run once with one, and expect the failure.
  local dir=$build/as3/tests
  if "$build/bin/node" --expose-gc "$program" --with-deliberate-failure --results "$dir/deliberate-results.txt" \
       > "$dir/deliberate.txt" 2>&1; then
    echo "as3: a deliberately wrong expectation did not fail the tests" >&2
    cat "$dir/deliberate.txt" >&2
    exit 1
  fi
  if ! grep -q '^FAILED  a deliberately wrong expectation$' "$dir/deliberate-results.txt"; then
    echo "as3: the run with a deliberately wrong expectation failed, but not on it:" >&2
    cat "$dir/deliberate-results.txt" >&2
    tail -20 "$dir/deliberate.txt" >&2
    exit 1
  fi
  echo "as3: a deliberately wrong expectation fails the run, as it must (its output: $dir/deliberate.txt)"
  # The run that counts. The extensions' console lines go to output.txt, the result lines of the
  # tests to results.txt, a file of their own, so that no console line runs into one of them.
  local rc=0
  : > "$dir/results.txt"
  "$build/bin/node" --expose-gc "$program" --results "$dir/results.txt" > "$dir/output.txt" 2>&1 || rc=$?
  grep -av '^as3: [0-9]* passed' "$dir/results.txt" || true
  echo "as3: the ActionScript leg took $((SECONDS - started)) s (console output in $dir/output.txt)"
  local summary
  summary=$(grep -aE '^as3: [0-9]+ passed, [0-9]+ failed$' "$dir/results.txt" || true)
  if [ -z "$summary" ]; then
    echo "as3: the tests ended without a summary"
    rc=1
  else
    # Every test counted in the summary has its result line.
    local counted lines
    counted=$(echo "$summary" | sed -E 's/^as3: ([0-9]+) passed, ([0-9]+) failed$/\1 + \2/')
    lines=$(grep -acE '^(ok      |FAILED  )' "$dir/results.txt" || true)
    if [ "$((counted))" -ne "$lines" ]; then
      echo "as3: $lines result line(s) for the $((counted)) test(s) of the summary"
      rc=1
    fi
    echo "$summary"
  fi
  [ $rc -eq 0 ] || { tail -20 "$dir/output.txt"; exit 1; }
}

case "${1:-}" in
  setup) setup ;;
  examples) examples "${2:?BUILD_DIR}" "${3:?OUT_DIR}" ;;
  test) test_leg "${2:?BUILD_DIR}" ;;
  *) echo "usage: scripts/as3.sh setup | examples BUILD_DIR OUT_DIR | test BUILD_DIR" >&2; exit 2 ;;
esac

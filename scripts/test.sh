#!/usr/bin/env bash
# The whole test run: the Linux build on the stand-ins, the same tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, the stress tests under
# ThreadSanitizer, then the 32-bit Windows DLLs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

leg() { echo; echo "=== $* ==="; }

leg "Linux build"
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

leg "ActionScript tests"
bash scripts/as3.sh test build/default

leg "AddressSanitizer + UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1 ctest --preset asan

leg "Fuzz targets, smoke run on the seed corpus"
bash scripts/fuzz.sh --smoke 30

leg "ThreadSanitizer stress tests"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --preset tsan -R 'Stress'

leg "Windows (i686, mingw-w64) under Wine"
bash scripts/test-windows.sh

echo
echo "All test legs passed."

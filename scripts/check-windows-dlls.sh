#!/usr/bin/env bash
# Checks the two DLLs we ship, as cross-built for 32-bit Windows:
#   - each exports exactly its two entry points, undecorated (no leading
#     underscore, no @N stdcall suffix), and nothing else;
#   - each imports only Windows system DLLs, "Adobe AIR.dll" and, for
#     Brisora, iLiveSDK.dll (liteav.dll is loaded at run time, never imported;
#     no libstdc++, libgcc or libwinpthread DLL that a user's machine lacks).
#
# Usage: check-windows-dlls.sh BINDIR    (the folder holding Brisora.dll and Tamvex.dll)
# Exit status 0 when every check passes; prints one line per finding.
set -euo pipefail

bindir=${1:?usage: check-windows-dlls.sh BINDIR}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

# DLLs that every 32-bit Windows installation has.
system_dlls="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll shlwapi.dll ole32.dll
oleaut32.dll msvcrt.dll ws2_32.dll winmm.dll version.dll ntdll.dll bcrypt.dll crypt32.dll"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

check() { # dll allowed-extra-imports entry-points...
  local dll=$1 extra=$2; shift 2
  local path="$bindir/$dll"
  if [ ! -f "$path" ]; then
    fail "$dll: not found in $bindir"
    return
  fi
  local dump
  dump=$("$objdump" -p "$path")

  if ! grep -q 'i386' <<<"$("$objdump" -f "$path")"; then
    fail "$dll: not a 32-bit (i386) image"
  fi

  # The export table: lines "[ordinal] name" after "[Ordinal/Name Pointer] Table".
  local exports
  exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {t=1; next} t && /^[[:space:]]*\[ *[0-9]+\]/ {print $NF; next} t && NF==0 {t=0}' <<<"$dump" | sort)
  local wanted
  wanted=$(printf '%s\n' "$@" | sort)
  if [ "$exports" != "$wanted" ]; then
    local count shown
    count=$(wc -w <<<"$exports")
    shown=$(echo $exports | tr ' ' '\n' | head -n 8 | paste -sd' ' -)
    fail "$dll: exports $count names [$shown$([ "$count" -gt 8 ] && echo ' ...')], expected exactly [$(echo $wanted)]"
  else
    echo "ok: $dll exports $(echo $exports)"
  fi

  local name lower
  while IFS= read -r name; do
    lower=$(tr '[:upper:]' '[:lower:]' <<<"$name")
    if grep -qw -- "$lower" <<<"$system_dlls"; then continue; fi
    if [ "$name" = "Adobe AIR.dll" ]; then continue; fi
    if [ -n "$extra" ] && [ "$name" = "$extra" ]; then continue; fi
    fail "$dll: imports $name, which a user's machine may not have"
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
  echo "ok: $dll imports $(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | paste -sd, -)"

  if ! grep -q 'DLL Name: Adobe AIR.dll' <<<"$dump"; then
    fail "$dll: does not import the runtime from \"Adobe AIR.dll\""
  fi
}

check Brisora.dll iLiveSDK.dll ANEWinExtInitializer ANEWinExtFinalizer
check Tamvex.dll "" ANEWinRTCExtInitializer ANEWinRTCExtFinalizer

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all DLL checks passed"

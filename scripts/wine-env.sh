# Sourced by the scripts that run the Windows build: start_wine PREFIX makes
# Wine headless in a prefix of its own (32-bit, no Mono or Gecko prompts) and
# starts its server now, stopped when the script exits. Started first, so that
# ctest and the benchmark do not wait for Wine's background processes after
# each program; kept off our output, or a reader of that output (a pipe, CI's
# log) would wait for the server. One may already run for the prefix.
start_wine() {
  export WINEPREFIX="$1"
  export WINEARCH=win32
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1 || true
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  wine cmd /c exit >/dev/null 2>&1 || true
}

# Shared by the shell tests that drive Windows programs under Wine (sourced;
# run under scripts/with-wine: WINEPREFIX, VELDRA_WINE and DISPLAY are set).
#   wine_log FILE      where w() sends the programs' output
#   w PROGRAM ARGS     runs a Windows program; Wine's helper processes may
#                      inherit a pipe and hold it open, so output goes to the log
#   winpath UNIX_PATH  the path as Windows programs see it
#   check COND TEXT    evaluates COND, prints "ok: TEXT" or "FAILED: TEXT"
#   config_lines EXE CFGDRIVE  the lines of config.exe's adapter list (the
#                      program at EXE, driven by the unix path CFGDRIVE);
#                      closes it again
#   finish             prints the log after a failure and the closing count,
#                      and exits with the number of failed checks
wine=$VELDRA_WINE
test_log=/dev/null
test_passed=0
test_failed=0
wine_log() { test_log=$1; : >"$test_log"; }
w() { "$wine" "$@" </dev/null >>"$test_log" 2>&1; }
winpath() { "$wine" winepath -w "$1" </dev/null 2>/dev/null | tr -d '\r'; }
check() {
  if eval "$1"; then
    echo "ok: $2"
    test_passed=$((test_passed + 1))
  else
    echo "FAILED: $2"
    test_failed=$((test_failed + 1))
  fi
}
config_lines() {
  "$wine" "$1" </dev/null >>"$test_log" 2>&1 &
  local pid=$! drive
  drive=$(winpath "$2")
  # The first window of a fresh prefix can take longer than cfgdrive's wait.
  local lines="" try
  for try in 1 2 3; do
    lines=$("$wine" "$drive" lines "Modbus Plus Driver Configuration" 103 </dev/null 2>>"$test_log" | tr -d '\r')
    [ -n "$lines" ] && break
  done
  echo "$lines"
  w "$drive" close "Modbus Plus Driver Configuration"
  wait $pid || true
}
finish() {
  [ $test_failed = 0 ] || { echo "--- log"; cat "$test_log"; }
  echo "$test_passed passed, $test_failed failed"
  exit $test_failed
}

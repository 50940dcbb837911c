# Shared by the Wine helper scripts: finds the Wine binaries.
# shellcheck shell=bash

# The loader for a build's architecture: "win32" wants the 32-bit loader
# (Debian's wine32), anything else the 64-bit one. Inside scripts/with-wine,
# VELDRA_WINE already names the loader for the build being run.
veldra_wine() {
  if [ -z "${1:-}" ] && [ -n "${VELDRA_WINE:-}" ]; then echo "$VELDRA_WINE"; return; fi
  if [ "${1:-}" = win32 ]; then
    if [ -x /usr/lib/wine/wine ]; then echo /usr/lib/wine/wine; else command -v wine; fi
  elif [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64
  elif command -v wine64 >/dev/null; then command -v wine64
  else command -v wine; fi
}
veldra_wineserver() {
  if [ -x /usr/lib/wine/wineserver ]; then echo /usr/lib/wine/wineserver
  else command -v wineserver; fi
}
# The architecture a configured build tree was made for (win64 or win32).
veldra_build_arch() {
  local arch
  arch=$(sed -n 's/^VELDRA_ARCH:[A-Z]*=//p' "$1/CMakeCache.txt" 2>/dev/null)
  echo "${arch:-win64}"
}
# True when this machine can run the 32-bit Wine loader at all.
veldra_runs_win32() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
# Why veldra_runs_win32 said no, for the one line that says what did not run.
veldra_no_win32_reason() {
  if [ -x /usr/lib/wine/wine ]; then
    echo "this machine cannot execute 32-bit code"
  else
    echo "wine32 is not installed (scripts/bootstrap says why)"
  fi
}

# Shared by the Wine helper scripts: finds the Wine binaries.
# shellcheck shell=bash
veldra_wine() {
  if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64
  elif command -v wine64 >/dev/null; then command -v wine64
  else command -v wine; fi
}
veldra_wineserver() {
  if [ -x /usr/lib/wine/wineserver ]; then echo /usr/lib/wine/wineserver
  else command -v wineserver; fi
}

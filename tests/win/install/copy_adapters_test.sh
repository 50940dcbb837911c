#!/usr/bin/env bash
# usage: copy_adapters_test.sh PACKAGE_DIR CFGDRIVE_EXE WORK_DIR
#
# The guide's "copying one machine's adapters to others", as an administrator
# does it: export the driver's service key on this machine (the test
# prefix), then on a new machine (a fresh prefix of the same width) run
# install.cmd /quiet, import the file, and the installed config.exe lists
# the adapters. Runs under scripts/with-wine (WINEPREFIX, VELDRA_WINE, DISPLAY).
set -uo pipefail
package=$1 cfgdrive=$2 work=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../../scripts/wine-common.sh
. "$here/../../../scripts/wine-common.sh"
# shellcheck source=../../support/wine_test.sh
. "$here/../../support/wine_test.sh"
wineserver=$(veldra_wineserver)
service='HKLM\SYSTEM\CurrentControlSet\Services\VELDRA'
mkdir -p "$work"
wine_log "$work/copy.log"
fresh="$work/fresh-prefix"
cleanup() { WINEPREFIX=$fresh "$wineserver" -k >/dev/null 2>&1 || true; rm -rf "$fresh"; }
trap cleanup EXIT

# The reference machine: two adapters, exported, then left as found.
file="$(winpath "$work")\\adapters.reg"
rm -f "$work/adapters.reg"
w reg add "$service\\Device2" /v AdapterNumber /t REG_DWORD /d 2 /f
w reg add "$service\\Device2" /v DeviceType /t REG_SZ /d "VA85 Family" /f
w reg add "$service\\LogicalDevice7" /v AdapterNumber /t REG_DWORD /d 7 /f
w reg add "$service\\LogicalDevice7" /v DeviceType /t REG_SZ /d "VA85 Family" /f
w reg export "$service" "$file"
w reg delete "$service" /f
check '[ -s "$work/adapters.reg" ]' "the service key is exported"

# The new machine.
cleanup
export WINEPREFIX=$fresh
w wineboot -i
"$wineserver" -w
status=0
"$wine" cmd /c "$(winpath "$package")\\install.cmd" /quiet </dev/null >>"$test_log" 2>&1 || status=$?
check '[ $status = $((3010 % 256)) ]' "install.cmd /quiet ends with 3010 (seen modulo 256: $status)"
w reg import "$file"
lines=$(config_lines 'C:\Program Files\ZOVORO\config.exe' "$cfgdrive")
echo "config.exe lists:"; echo "$lines"
check '[ "$(echo "$lines" | grep -c .)" = 2 ]' "two adapters are listed"
check 'echo "$lines" | grep -q 2 && echo "$lines" | grep -q 7' "adapters 2 and 7 are listed"
finish
